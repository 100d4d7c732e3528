#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

#include "platform/shell.h"
#include "support/tempdir.h"

using namespace zondari;
using zondari::test::TempDir;

namespace {

// Waits until `path` exists (a detached program writes it).
bool waitFor(const std::string& path)
{
    for (int i = 0; i < 100; ++i) {
        if (std::filesystem::exists(path) && std::filesystem::file_size(path) > 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace

TEST(CommandLine, QuotesGroupWordsAndAreDropped)
{
    EXPECT_EQ(splitCommandLine("start vortafon"), (std::vector<std::string>{"start", "vortafon"}));
    EXPECT_EQ(splitCommandLine("/p/start \"/p/my folder/zondari.htm\""),
              (std::vector<std::string>{"/p/start", "/p/my folder/zondari.htm"}));
    EXPECT_EQ(splitCommandLine("  a   \"\"  b "), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(startCommandLine("/my prog", "/my prog/zondari.htm"), "\"/my prog/start\" \"/my prog/zondari.htm\"");
    EXPECT_EQ(startCommandLine("/p/", "/p/default.htm"), "/p/start \"/p/default.htm\"");
}

TEST(FindProgram, ProgramFolderThenPathNeverTheCurrentFolder)
{
    TempDir prog, cwd;
    prog.write("start", "#!/bin/sh\n");
    std::filesystem::permissions(prog / "start", std::filesystem::perms::owner_all);
    cwd.write("evil", "#!/bin/sh\n");
    std::filesystem::permissions(cwd / "evil", std::filesystem::perms::owner_all);
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(cwd.path());
    EXPECT_EQ(findProgram("start", {prog.path()}), prog / "start");
    EXPECT_EQ(findProgram("evil", {prog.path()}), "");
    EXPECT_EQ(findProgram("./evil"), cwd / "evil");
    EXPECT_EQ(findProgram("sh"), "/usr/bin/sh");
    std::filesystem::current_path(old);
}

TEST(PosixShell, StartsDetachedAndReportsWhatCannotStart)
{
    TempDir dir;
    PosixShell shell({dir.path()});
    dir.write("rec", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/out\"\n");
    std::filesystem::permissions(dir / "rec", std::filesystem::perms::owner_all);
    ASSERT_TRUE(shell.run("rec \"a b\" c", 2));
    ASSERT_TRUE(waitFor(dir / "out"));
    EXPECT_EQ(test::readFile(dir / "out"), "a b c\n");

    const Status missing = shell.run("nonexistent-program-zondari x", 2);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, 53);

    dir.write("noexec.sh", "#!/nonexistent/interpreter\n");
    std::filesystem::permissions(dir / "noexec.sh", std::filesystem::perms::owner_all);
    EXPECT_FALSE(shell.run(dir / "noexec.sh", 2));
}
