#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>

#include "platform/files.h"
#include "platform/programfolder.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// Sets an environment variable, or unsets it, for as long as the object
// lives.
class Env {
public:
    Env(const char* name, const std::optional<std::string>& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~Env()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// An installation under a prefix of a temporary folder, as `cmake --install`
// lays it out, and a user's data folder.
struct Installed : ::testing::Test {
    void SetUp() override
    {
        bin = root.mkdir("usr/bin");
        for (const std::string& name : shippedFiles())
            if (name != "start")
                root.write("usr/share/zondari/" + name, "spedito: " + name);
        root.write("usr/libexec/zondari/start", "#!/bin/sh\n");
        ::chmod((root / "usr/libexec/zondari/start").c_str(), 0755);
    }

    TempDir root;
    TempDir data;
    std::string bin;
    Env noForced{"ZONDARI_PROGRAM_FOLDER", std::nullopt};
    Env xdg{"XDG_DATA_HOME", data.path()};
};

} // namespace

TEST_F(Installed, ProgramFolderIsTheUsersDataFolderFilledFromShareAndLibexec)
{
    // Here bin is writable, as in an installation in the user's own prefix:
    // still an installed program, whose folder is the user's.
    const auto folder = resolveProgramFolder(bin);
    ASSERT_TRUE(folder) << folder.error().description;
    EXPECT_EQ(*folder, data / "zondari");
    for (const std::string& name : shippedFiles()) {
        if (name == "start")
            continue;
        EXPECT_EQ(readFile(data / "zondari/" + name), "spedito: " + name) << name;
    }
    EXPECT_EQ(readFile(data / "zondari/start"), "#!/bin/sh\n");
    EXPECT_EQ(::access((data / "zondari/start").c_str(), X_OK), 0) << "the launcher must stay executable";
    // Nothing of the program's lands beside the executables.
    EXPECT_FALSE(fs::exists(bin + "/zondari.htm"));
    EXPECT_FALSE(fs::exists(bin + "/start"));
}

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

TEST_F(Installed, InstalledLayoutIsFoundFromTheExecutablesFolder)
{
    const InstalledLayout layout = installedLayout(bin);
    EXPECT_EQ(layout.assets, root / "usr/share/zondari");
    EXPECT_EQ(layout.launcher, root / "usr/libexec/zondari");
    EXPECT_EQ(installedLayout(root.path()).assets, "");
}
