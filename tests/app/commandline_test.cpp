// The programs' own command line: the version, and what zondari takes.

#include <gtest/gtest.h>
#include <string>

#include "support/cli.h"
#include "support/projectversion.h"
#include "support/tempdir.h"

using namespace zondari::test;

TEST(CommandLine, BothProgramsPrintTheAboutWindowsVersionWithoutADisplay)
{
    const std::string line = "Zondari - Versione " + projectVersion() + "\n";
    int status = -1;
    // No display and no platform: the version needs neither.
    EXPECT_EQ(output("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + shellQuoted(programBinary("zondari"))
                      + " --version",
                  &status),
        line);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output(shellQuoted(programBinary("zondari-cli")) + " --version", &status), line);
    EXPECT_EQ(status, 0);
}

TEST(CommandLine, ZondariTakesOneFileFolderOrAddressAndRefusesAnythingElse)
{
    TempDir scratch;
    const std::string zondari = "QT_QPA_PLATFORM=offscreen ZONDARI_PROGRAM_FOLDER=" + shellQuoted(scratch.path()) + " "
        + shellQuoted(programBinary("zondari"));
    int status = -1;
    const std::string help = output(zondari + " --help", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(help.rfind("Uso: zondari [FILE | CARTELLA | INDIRIZZO]\n", 0), 0u) << help;

    for (const char* wrong : {" --sconosciuta", " uno due"}) {
        output(zondari + wrong + " 2>" + shellQuoted(scratch / "err"), &status);
        EXPECT_EQ(status, 2) << wrong;
        EXPECT_NE(readFile(scratch / "err").find("zondari: argomento non valido"), std::string::npos) << wrong;
    }
}
