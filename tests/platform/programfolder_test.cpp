#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/programfolder.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// An installation under a prefix of a temporary folder, as `cmake --install`
// lays it out, and a user's data folder. (The installed tree itself is
// tried in install/install_test.cpp.)
struct Installed : ::testing::Test {
    void SetUp() override
    {
        bin = root.mkdir("usr/bin");
        for (const std::string& name : shippedFiles())
            if (name != "start")
                root.write("usr/share/zondari/" + name, "spedito: " + name);
        root.write("usr/libexec/zondari/start", "#!/bin/sh\n");
        ::unsetenv("ZONDARI_PROGRAM_FOLDER");
        ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

    TempDir root;
    TempDir data;
    std::string bin;
};

} // namespace

TEST_F(Installed, UsersFilesStayAndAnUpdatedShippedFileReplacesTheOldCopy)
{
    ASSERT_TRUE(resolveProgramFolder(bin));
    data.write("zondari/zondari.ini", "Utente=Anna\r\n");
    data.write("zondari/ZOND_Anna_CD_1.txt", "Titolo\r\n");
    // The copy is older than the newly installed help page.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(data / "zondari/zondari.htm", old);
    fs::last_write_time(data / "zondari/zondari.txt", old);
    fs::last_write_time(root / "usr/share/zondari/zondari.txt", old - std::chrono::hours(1));
    root.write("usr/share/zondari/zondari.htm", "nuova guida");
    data.write("zondari/zondari.txt", "testo dell'utente");
    fs::last_write_time(data / "zondari/zondari.txt", old);

    ASSERT_TRUE(resolveProgramFolder(bin));
    EXPECT_EQ(readFile(data / "zondari/zondari.htm"), "nuova guida");
    // Not newer where it is installed: the copy is left as it is.
    EXPECT_EQ(readFile(data / "zondari/zondari.txt"), "testo dell'utente");
    EXPECT_EQ(readFile(data / "zondari/zondari.ini"), "Utente=Anna\r\n");
    EXPECT_EQ(readFile(data / "zondari/ZOND_Anna_CD_1.txt"), "Titolo\r\n");
}

TEST_F(Installed, AWritableFolderWithTheFilesBesideTheProgramIsAPortableCopy)
{
    TempDir portable;
    portable.write("zondari.htm", "guida");
    const auto folder = resolveProgramFolder(portable.path());
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, portable.path());
    EXPECT_FALSE(fs::exists(data / "zondari"));
}

TEST_F(Installed, WithoutItsHelpPageAShareFolderIsNoInstallation)
{
    // A bin beside an unrelated share/zondari (or an empty one) is a
    // portable copy as before.
    fs::remove(root / "usr/share/zondari/zondari.htm");
    const auto folder = resolveProgramFolder(bin);
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, bin);
}
