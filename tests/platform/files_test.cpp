// (The settings' bytes, Windows-1252 when every character fits, else UTF-8:
// core/common/text_test, the windows' tests reading them back.)

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/tempdir.h"

using namespace zondari;
using zondari::test::ReadOnly;
using zondari::test::TempDir;

namespace {

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(DirSearch, NormalFilesSortedWithoutRegardToCase)
{
    TempDir dir;
    for (const char* n : {"b.mp3", "A.mp3", "a2.MP3", ".hidden.mp3", "C.wav"})
        dir.write(n);
    dir.mkdir("folder.mp3");
    std::filesystem::create_symlink(dir / "b.mp3", dir / "link.mp3");
    std::filesystem::create_symlink(dir.path(), dir / "loop");
    std::filesystem::create_symlink(dir / "gone.mp3", dir / "perso.mp3"); // passed over, or listed when asked
    EXPECT_EQ(
        *files::dirSearch(dir.path()), (std::vector<std::string>{"A.mp3", "a2.MP3", "b.mp3", "C.wav", "link.mp3"}));
    EXPECT_EQ(files::dirSearch(dir.path(), "p*", files::BrokenLinks::List)->at(0), "perso.mp3");
    EXPECT_FALSE(files::dirSearch("/nonexistent/folder"));
}

TEST(ReplaceFile, WhatTheProducerTakesBackIsGoneAndAFailureLeavesTheOldFileAlone)
{
    TempDir dir;
    dir.write("pagina.htm", "vecchia");
    ASSERT_TRUE(files::replaceFile(dir / "pagina.htm", [](ByteSink& sink) -> Status {
        (void)sink.write("prima parte, poi ripresa");
        (void)sink.truncate(6);
        return sink.write(" e fine");
    }));
    EXPECT_EQ(test::readFile(dir / "pagina.htm"), "prima  e fine");

    const Status failed = files::replaceFile(dir / "pagina.htm", [](ByteSink& sink) -> Status {
        (void)sink.write("a metà");
        return runtimeErrorFromErrno(EIO);
    });
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().number, 57);
    EXPECT_EQ(test::readFile(dir / "pagina.htm"), "prima  e fine");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"pagina.htm"});
}

TEST(ReplaceFile, ALinkKeepsPointingAtTheFileItNamesWhichIsReplaced)
{
    TempDir dir;
    const std::string real = dir.write("altrove/zondari.ini", "vecchio");
    std::filesystem::create_symlink(real, dir / "zondari.ini");
    ASSERT_TRUE(files::replaceFile(dir / "zondari.ini", "nuovo"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "zondari.ini"));
    EXPECT_EQ(test::readFile(real), "nuovo");
}

TEST(ReplaceFile, TemporaryFilesOfWritersNoLongerRunningGoAtTheNextWrite)
{
    TempDir dir;
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string d = std::to_string(dead), me = std::to_string(::getpid());
    // A writer in the middle of its write holds the lock on its temporary
    // file; the number in the name may be one that means nothing here (a
    // writer in another PID namespace).
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t running = ::fork();
    if (running == 0) {
        const int fd = ::open((dir / (".zondari-" + d + "-4.tmp")).c_str(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], "x", 1) != 1)
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const std::string r = std::to_string(running);
    // Left by killed writers: one of earlier versions' scans; one of an
    // earlier process that had this process's number; one whose number a
    // running process has now.
    for (const std::string& stale : {".zondari-" + d + "-1.tmp", ".zondari-catalogo-" + d + ".tmp",
             ".zondari-" + me + "-99999.tmp", ".zondari-" + r + "-5.tmp"})
        dir.write(stale, "a metà");
    // Being written (an earlier version's scan locked nothing: its process
    // runs), or not the program's own.
    const std::vector<std::string> kept = {".zondari-" + d + "-4.tmp", ".zondari-catalogo-" + r + ".tmp",
        ".zondari-x.tmp", ".zondari-" + d + ".tmp", "zondari-" + d + "-1.tmp"};
    for (const std::string& name : kept)
        dir.write(name, "");

    ASSERT_TRUE(files::replaceFile(dir / "zondari.ini", "nuovo"));
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);
    std::vector<std::string> expected = kept;
    expected.push_back("zondari.ini");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(dir.path()), expected);
}
