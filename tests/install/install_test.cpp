// `cmake --install` of the build tree into a temporary prefix, then the
// installed programs run as a user runs them: from bin, with the user's own
// data folder.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "support/cli.h"
#include "support/projectversion.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

const std::string kDesktopId = "it.zondari.Zondari";

// One installation for every test of this file.
struct Installation {
    TempDir prefix;
    int status = -1;
    std::string log = output(std::string(ZONDARI_CMAKE_COMMAND) + " --install " + shellQuoted(ZONDARI_BINARY_DIR)
            + " --prefix " + shellQuoted(prefix.path()) + " 2>&1",
        &status);
};

// Where `relative` is in the installation, which succeeded.
std::string at(const std::string& relative)
{
    static const Installation installed;
    EXPECT_EQ(installed.status, 0) << installed.log;
    return installed.prefix / relative;
}

// Runs an installed program as a user whose data folder is `home`: no
// program folder handed in, no session bus.
std::string runAsUser(const TempDir& home, const std::string& command, int* status)
{
    return output("env -u ZONDARI_PROGRAM_FOLDER HOME=" + shellQuoted(home.path())
            + " XDG_DATA_HOME=" + shellQuoted(home / "dati")
            + " DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent QT_QPA_PLATFORM=offscreen " + command,
        status);
}

} // namespace

TEST(Installation, PutsProgramsLauncherShippedFilesAndIconsInTheirPlaces)
{
    for (const char* program : {"bin/zondari", "bin/zondari-cli", "libexec/zondari/start"})
        EXPECT_EQ(::access(at(program).c_str(), X_OK), 0) << program;
    EXPECT_FALSE(fs::exists(at("bin/start"))); // never a bare "start" on PATH
    for (const char* asset :
        {"zondari.htm", "zondari.txt", "zondlogo.jpg", "chitarra_animata.gif", "cassarotante.gif", "cassasaltante.gif"})
        EXPECT_EQ(readFile(at(std::string("share/zondari/") + asset)),
            readFile(std::string(ZONDARI_SOURCE_DIR) + "/assets/" + asset))
            << asset;
    EXPECT_TRUE(fs::exists(at("share/doc/zondari/copyright")));
    EXPECT_TRUE(fs::exists(at("share/icons/hicolor/scalable/apps/" + kDesktopId + ".svg")));
    // The icon in every size the menus ask for.
    for (const std::string size : {"16", "22", "24", "32", "48", "64", "128", "256"}) {
        const std::string png = at("share/icons/hicolor/" + size + "x" + size + "/apps/" + kDesktopId + ".png");
        EXPECT_NE(output("file -b " + shellQuoted(png)).find("PNG image data, " + size + " x " + size + ","),
            std::string::npos)
            << png;
    }
}

TEST(Installation, DesktopEntryAndMetainfoPassTheirValidators)
{
    const std::string desktop = at("share/applications/" + kDesktopId + ".desktop");
    int status = -1;
    EXPECT_EQ(output("desktop-file-validate " + shellQuoted(desktop) + " 2>&1", &status), "");
    EXPECT_EQ(status, 0);
    const std::string entry = readFile(desktop);
    // The program it starts is the installed one, given the file or the
    // address (a catalogue entry's zondari: address too).
    for (const std::string& line : {std::string("Exec=zondari %u"), "Icon=" + kDesktopId,
             std::string("MimeType=audio/mpeg;audio/x-mpegurl;x-scheme-handler/zondari;")})
        EXPECT_NE(entry.find("\n" + line + "\n"), std::string::npos) << line;

    const std::string metainfo = at("share/metainfo/" + kDesktopId + ".metainfo.xml");
    const std::string checked = output("appstreamcli validate --no-net " + shellQuoted(metainfo) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << checked;
    const std::string xml = readFile(metainfo);
    for (const std::string& element : {"<release version=\"" + projectVersion() + "\"",
             "<launchable type=\"desktop-id\">" + kDesktopId + ".desktop<"})
        EXPECT_NE(xml.find(element), std::string::npos) << element;
}

TEST(Installation, ManualPagesRenderWithoutAWarning)
{
    for (const std::string page : {"zondari", "zondari-cli"}) {
        const std::string path = at("share/man/man1/" + page + ".1.gz");
        ASSERT_TRUE(fs::exists(path)) << path;
        TempDir scratch;
        int status = -1;
        // As lintian checks them: every groff warning shows.
        const std::string text = output("LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "
                + shellQuoted(path) + " 2>" + shellQuoted(scratch / "err") + " | col -b",
            &status);
        EXPECT_EQ(status, 0) << page;
        EXPECT_EQ(readFile(scratch / "err"), "") << page;
        EXPECT_NE(text.find(page + " - "), std::string::npos) << text;
        EXPECT_NE(text.find("Zondari " + projectVersion()), std::string::npos) << text;
    }
}

TEST(Installation, InstalledProgramsMakeTheUsersProgramFolderAndStartWithoutASessionBus)
{
    TempDir home, other;
    int status = -1;
    // The version, as the about window gives it, needs no display.
    for (const char* program : {"bin/zondari-cli", "bin/zondari"}) {
        EXPECT_EQ(runAsUser(home,
                      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + shellQuoted(at(program)) + " --version",
                      &status),
            "Zondari - Versione " + projectVersion() + "\n");
        EXPECT_EQ(status, 0) << program;
    }

    // The command line's catalogue list: none yet, but the folder is made.
    runAsUser(home, shellQuoted(at("bin/zondari-cli")) + " list 2>/dev/null", &status);
    EXPECT_EQ(status, 1);
    const std::string folder = home / "dati/zondari";
    EXPECT_EQ(readFile(folder + "/zondari.htm"), readFile(at("share/zondari/zondari.htm")));
    EXPECT_EQ(readFile(folder + "/zondlogo.jpg"), readFile(at("share/zondari/zondlogo.jpg")));
    // The launcher that was copied works: it names what it cannot find.
    std::string said = output(shellQuoted(folder + "/start") + " programma-che-non-esiste 2>&1", &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(said.find("programma-che-non-esiste"), std::string::npos) << said;

    // The windows, still running after three seconds (timeout ends them
    // with 124): Qt's offscreen platform has its own remarks; of the bus,
    // nothing.
    said = runAsUser(other, "timeout 3 " + shellQuoted(at("bin/zondari")) + " 2>&1", &status);
    EXPECT_EQ(status, 124) << said;
    std::transform(said.begin(), said.end(), said.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(said.find("bus"), std::string::npos) << said;
    EXPECT_TRUE(fs::exists(other / "dati/zondari/zondari.htm"));
    EXPECT_EQ(::access((other / "dati/zondari/start").c_str(), X_OK), 0);
}
