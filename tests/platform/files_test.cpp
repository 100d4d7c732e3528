#include <filesystem>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/tempdir.h"

using namespace zondari;
using zondari::test::ReadOnly;
using zondari::test::TempDir;

TEST(TextFiles, ReplaceWritesCrLfInSingleBytesOrUtf8AndLeavesNoTemporaryFile)
{
    TempDir dir;
    ASSERT_TRUE(files::replaceTextFile(dir / "a.ini", dir / "a.bak", {"Città", "x"}));
    EXPECT_EQ(test::readFile(dir / "a.ini"), "Citt\xE0\r\nx\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.bak"));
    EXPECT_EQ(*files::readTextLines(dir / "a.ini"), (std::vector<std::string>{"Città", "x"}));

    // Names that do not fit single bytes are written in UTF-8.
    ASSERT_TRUE(files::replaceTextFile(dir / "c.txt", dir / "c.tmp", {"日本の歌", "Città"}));
    EXPECT_EQ(test::readFile(dir / "c.txt"), "日本の歌\r\nCittà\r\n");
    EXPECT_EQ(*files::readTextLines(dir / "c.txt"), (std::vector<std::string>{"日本の歌", "Città"}));
}

TEST(TextFiles, FailedReplaceLeavesTheOldFileWhole)
{
    TempDir dir;
    dir.write("a.ini", "old\r\n");
    ReadOnly lock(dir.path());
    if (!lock.ok())
        GTEST_SKIP() << "no way to make a folder read-only here";
    const Status st = files::replaceTextFile(dir / "a.ini", dir / "a.bak", {"new"});
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().number, 75);
    EXPECT_EQ(test::readFile(dir / "a.ini"), "old\r\n");
}

TEST(TextFiles, FirstLineAloneAndMissingFileError)
{
    TempDir dir;
    dir.write("cat.txt", "Titolo\r\n/a.mp3\r\n");
    EXPECT_EQ(*files::readFirstLine(dir / "cat.txt"), "Titolo");
    dir.write("empty.txt");
    EXPECT_EQ(*files::readFirstLine(dir / "empty.txt"), "");
    const auto missing = files::readTextLines(dir / "none.txt");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, 53);
}

TEST(DirSearch, NormalFilesSortedWithoutRegardToCase)
{
    TempDir dir;
    for (const char* n : {"b.mp3", "A.mp3", "a2.MP3", ".hidden.mp3", "C.wav"})
        dir.write(n);
    dir.mkdir("folder.mp3");
    std::filesystem::create_symlink(dir / "b.mp3", dir / "link.mp3");
    std::filesystem::create_symlink(dir.path(), dir / "loop");
    EXPECT_EQ(*files::dirSearch(dir.path()),
              (std::vector<std::string>{"A.mp3", "a2.MP3", "b.mp3", "C.wav", "link.mp3"}));
    EXPECT_FALSE(files::dirSearch("/nonexistent/folder"));
}

TEST(DirSearch, PatternIgnoresLetterCase)
{
    TempDir dir;
    for (const char* n : {"ZOND_DEFAULT_X.txt", "zond_default_y.TXT", "ZOND_ANNA_Z.txt", "ZOND_DEFAULT.txt.bak"})
        dir.write(n);
    EXPECT_EQ(*files::dirSearch(dir.path(), "ZOND_DEFAULT*.txt"),
              (std::vector<std::string>{"ZOND_DEFAULT_X.txt", "zond_default_y.TXT"}));
    EXPECT_TRUE(files::matchesPattern("a.mp3", "?.MP3"));
    EXPECT_FALSE(files::matchesPattern("ab.mp3", "?.MP3"));
}

TEST(Paths, AbsoluteWithoutTrailingSlash)
{
    EXPECT_EQ(files::absolutePath("/a/b/../c/"), "/a/c");
    EXPECT_EQ(files::absolutePath("/"), "/");
    EXPECT_EQ(files::folderOf("/a/b.mp3"), "/a");
    EXPECT_EQ(files::folderOf("/b.mp3"), "/");
    EXPECT_EQ(files::nameOf("/a/b.mp3"), "b.mp3");
}
