#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

#include "platform/shell.h"
#include "support/tempdir.h"

using namespace zondari;
using zondari::test::TempDir;

TEST(CommandLine, TheLongFormNamesTheProgramFoldersLauncher)
{
    EXPECT_EQ(startLauncher("/my prog"), "/my prog/start");
    EXPECT_EQ(startLauncher("/p/"), "/p/start");
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
    // One line per argument, so that how they were split shows.
    dir.write("rec", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/out\"\n");
    std::filesystem::permissions(dir / "rec", std::filesystem::perms::owner_all);
    // A folder name holding a quote and spaces stays one argument: it can
    // never reach the program as a second path.
    ASSERT_TRUE(shell.start("rec", {"/cd/Best \" /etc/passwd \"of", "c"}));
    // The detached program writes it a moment later.
    for (int i = 0; i < 100 && test::readFile(dir / "out").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(test::readFile(dir / "out"), "/cd/Best \" /etc/passwd \"of\nc\n");

    const Status missing = shell.start("nonexistent-program-zondari", {"x"});
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, 53);

    dir.write("noexec.sh", "#!/nonexistent/interpreter\n");
    std::filesystem::permissions(dir / "noexec.sh", std::filesystem::perms::owner_all);
    EXPECT_FALSE(shell.start(dir / "noexec.sh", {}));
}
