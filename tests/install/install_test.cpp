// `cmake --install` of the build tree into a temporary prefix, then the
// installed programs run as a user runs them: from bin, with the user's own
// data folder.

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "support/cli.h"
#include "support/projectversion.h"
#include "support/tempdir.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

constexpr const char* kDesktopId = "it.zondari.Zondari";

// One installation for every test of this file.
class Installation : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix_ = new TempDir;
        log_ = new std::string(output(std::string(ZONDARI_CMAKE_COMMAND) + " --install "
                + shellQuoted(ZONDARI_BINARY_DIR) + " --prefix " + shellQuoted(prefix_->path()) + " 2>&1",
            &status_));
    }
    static void TearDownTestSuite()
    {
        delete prefix_;
        delete log_;
    }
    void SetUp() override { ASSERT_EQ(status_, 0) << *log_; }

    static std::string at(const std::string& relative) { return *prefix_ / relative; }

    // Runs an installed program as a user whose data folder is `home`: no
    // program folder handed in, no session bus.
    static std::string runAsUser(const TempDir& home, const std::string& command, int* status)
    {
        return output("env -u ZONDARI_PROGRAM_FOLDER HOME=" + shellQuoted(home.path())
                + " XDG_DATA_HOME=" + shellQuoted(home / "dati")
                + " DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent QT_QPA_PLATFORM=offscreen " + command,
            status);
    }

    static TempDir* prefix_;
    static std::string* log_;
    static int status_;
};

TempDir* Installation::prefix_ = nullptr;
std::string* Installation::log_ = nullptr;
int Installation::status_ = -1;

// Width and height of a PNG, from its header chunk.
std::pair<int, int> pngSize(const std::string& path)
{
    const std::string b = readFile(path);
    if (b.size() < 24 || b.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(b[at]) << 24) | (static_cast<unsigned char>(b[at + 1]) << 16)
            | (static_cast<unsigned char>(b[at + 2]) << 8) | static_cast<unsigned char>(b[at + 3]);
    };
    return {be32(16), be32(20)};
}

} // namespace

TEST_F(Installation, PutsProgramsLauncherAndShippedFilesInTheirPlaces)
{
    for (const char* program : {"bin/zondari", "bin/zondari-cli", "libexec/zondari/start"})
        EXPECT_EQ(::access(at(program).c_str(), X_OK), 0) << program;
    // Never a bare "start" on PATH.
    EXPECT_FALSE(fs::exists(at("bin/start")));
    for (const char* asset :
        {"zondari.htm", "zondari.txt", "zondlogo.jpg", "chitarra_animata.gif", "cassarotante.gif", "cassasaltante.gif"})
        EXPECT_EQ(readFile(at(std::string("share/zondari/") + asset)),
            readFile(std::string(ZONDARI_SOURCE_DIR) + "/assets/" + asset))
            << asset;
    EXPECT_TRUE(fs::exists(at("share/doc/zondari/copyright")));
}

TEST_F(Installation, DesktopEntryAndMetainfoPassTheirValidators)
{
    const std::string desktop = at(std::string("share/applications/") + kDesktopId + ".desktop");
    int status = -1;
    const std::string said = output("desktop-file-validate " + shellQuoted(desktop) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << said;
    EXPECT_EQ(said, "");

    const std::string entry = readFile(desktop);
    EXPECT_NE(entry.find("\nName=Zondari\n"), std::string::npos);
    EXPECT_NE(entry.find("\nComment=Lettore, catalogo e tag dei tuoi MP3\n"), std::string::npos);
    EXPECT_NE(entry.find("\nCategories=AudioVideo;Audio;Player;\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=audio/mpeg;audio/x-mpegurl;\n"), std::string::npos);
    // The program it starts is the installed one, given the file or folder.
    EXPECT_NE(entry.find("\nExec=zondari %f\n"), std::string::npos);
    EXPECT_NE(entry.find(std::string("\nIcon=") + kDesktopId + "\n"), std::string::npos);

    const std::string metainfo = at(std::string("share/metainfo/") + kDesktopId + ".metainfo.xml");
    const std::string checked = output("appstreamcli validate --no-net " + shellQuoted(metainfo) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << checked;
    const std::string xml = readFile(metainfo);
    EXPECT_NE(xml.find("<release version=\"" + projectVersion() + "\""), std::string::npos) << xml;
    EXPECT_NE(xml.find(std::string("<launchable type=\"desktop-id\">") + kDesktopId + ".desktop<"), std::string::npos);
    EXPECT_NE(xml.find("<screenshot type=\"default\">"), std::string::npos);
}

TEST_F(Installation, IconComesInEverySizeTheMenusAskFor)
{
    EXPECT_TRUE(fs::exists(at(std::string("share/icons/hicolor/scalable/apps/") + kDesktopId + ".svg")));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string dir = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(
            pngSize(at("share/icons/hicolor/" + dir + "/apps/" + kDesktopId + ".png")), std::make_pair(size, size))
            << dir;
    }
}

TEST_F(Installation, ManualPagesRenderWithoutAWarning)
{
    for (const char* page : {"zondari", "zondari-cli"}) {
        const std::string path = at(std::string("share/man/man1/") + page + ".1.gz");
        ASSERT_TRUE(fs::exists(path)) << path;
        TempDir scratch;
        int status = -1;
        // As lintian checks them: every groff warning shows.
        const std::string text = output("LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "
                + shellQuoted(path) + " 2>" + shellQuoted(scratch / "err") + " | col -b",
            &status);
        EXPECT_EQ(status, 0) << page;
        EXPECT_EQ(readFile(scratch / "err"), "") << page;
        EXPECT_NE(text.find(std::string(page) + " - "), std::string::npos) << text;
        EXPECT_NE(text.find("Zondari " + projectVersion()), std::string::npos) << text;
    }
}

TEST_F(Installation, InstalledProgramsMakeTheUsersProgramFolderWithTheLauncher)
{
    TempDir home;
    int status = -1;
    EXPECT_EQ(runAsUser(home, shellQuoted(at("bin/zondari-cli")) + " --version", &status),
        "Zondari - Versione " + projectVersion() + "\n");
    EXPECT_EQ(runAsUser(home, shellQuoted(at("bin/zondari")) + " --version", &status),
        "Zondari - Versione " + projectVersion() + "\n");

    // The command line's catalogue list: none yet, but the folder is made.
    runAsUser(home, shellQuoted(at("bin/zondari-cli")) + " list 2>/dev/null", &status);
    EXPECT_EQ(status, 1);
    const std::string folder = home / "dati/zondari";
    EXPECT_EQ(readFile(folder + "/zondari.htm"), readFile(at("share/zondari/zondari.htm")));
    EXPECT_EQ(readFile(folder + "/zondlogo.jpg"), readFile(at("share/zondari/zondlogo.jpg")));
    EXPECT_EQ(::access((folder + "/start").c_str(), X_OK), 0);
    // The launcher that was copied works: it names what it cannot find.
    const std::string said = output(shellQuoted(folder + "/start") + " programma-che-non-esiste 2>&1", &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(said.find("programma-che-non-esiste"), std::string::npos) << said;
}

TEST_F(Installation, InstalledWindowsStartOffscreenWithoutASessionBus)
{
    TempDir home;
    int status = -1;
    // Still running after three seconds: timeout ends it with 124.
    const std::string said = runAsUser(home, "timeout 3 " + shellQuoted(at("bin/zondari")) + " 2>&1", &status);
    EXPECT_EQ(status, 124) << said;
    // Qt's offscreen platform has its own remarks; of the bus, nothing.
    std::string lower = said;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower.find("bus"), std::string::npos) << said;
    EXPECT_TRUE(fs::exists(home / "dati/zondari/zondari.htm"));
    EXPECT_EQ(::access((home / "dati/zondari/start").c_str(), X_OK), 0);
}
