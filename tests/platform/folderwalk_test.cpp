#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <utility>

#include "core/catalogue/entry.h"
#include "core/catalogue/findsubfolders.h"
#include "platform/folderwalk.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::catalogue;
using namespace zondari::test;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> walk(const std::string& root, bool allFiles = false)
{
    DiskFolders disk;
    const ScanOutcome out = FindSubFolders(disk, root, allFiles);
    EXPECT_FALSE(out.failed) << out.error.description;
    return out.entries;
}

} // namespace

TEST(FolderWalk, EachFolderEntryIsFollowedByItsSubtreeThenTheFolderFilesComeSortedAndNoLinkIsFollowed)
{
    TempDir t;
    const std::string r = t.path();
    t.write("zeta.mp3");
    t.write("Alfa.MP3");
    t.write("beta.wma");
    t.write("note.txt");
    t.write("Rock/b.mp3");
    t.write("Rock/A.mp3");
    t.write("Rock/Live/x.mod");
    t.write("jazz/y.mp3");
    t.mkdir("Vuota");
    t.write("doc/leggimi.txt"); // no music: the folder's entry alone
    t.write(".nascosto.mp3"); // hidden names are left out
    t.write(".Trash-1000/a.mp3");
    // Links to folders are not followed (one loops back to the top), links
    // to files are files, broken ones are nothing.
    fs::create_directory_symlink(r, t / "Rock/loop");
    fs::create_directory_symlink(t / "jazz", t / "alias");
    fs::create_symlink(t / "zeta.mp3", t / "link.mp3");
    fs::create_symlink(t / "gone.mp3", t / "broken.mp3");
    const std::vector<std::string> expected = {
        "(" + r + "/doc)",
        "(" + r + "/jazz)",
        r + "/jazz/y.mp3",
        "(" + r + "/Rock)",
        "(" + r + "/Rock/Live)",
        r + "/Rock/Live/x.mod",
        r + "/Rock/A.mp3",
        r + "/Rock/b.mp3",
        "(" + r + "/Vuota)",
        r + "/Alfa.MP3",
        r + "/beta.wma",
        r + "/link.mp3",
        r + "/zeta.mp3",
    };
    EXPECT_EQ(walk(r), expected);
}

// (Names with quotes, markup, control characters and bytes that are not
// UTF-8, scanned through to the pages: cli/pocket_browser_qt_test,
// ui/catalogue/frmmp3print_test.)
TEST(FolderWalk, LongNamesAndDeepPathsAreWrittenWhole)
{
    TempDir t;
    // A path of about 4,000 characters, 200 folders deep, and a name of 255 bytes.
    std::string rel;
    for (int i = 0; i < 200; ++i)
        rel += std::string(19, char('a' + i % 26)) + "/";
    t.write(rel + "fondo.mp3");
    t.write(std::string(251, 'n') + ".mp3");
    const std::vector<std::string> got = walk(t.path());
    ASSERT_EQ(got.size(), 202u);
    EXPECT_EQ(got[200], t / rel + "fondo.mp3");
    EXPECT_GT(got[200].size(), 4000u);
    EXPECT_EQ(got[201], t / std::string(251, 'n') + ".mp3");
}

TEST(FolderWalk, SubfolderRemovedWhileTheWalkRunsIsPassedOverButTheChosenFolderMustBeThere)
{
    TempDir t;
    t.write("a/1.mp3");
    t.write("b/2.mp3");
    t.write("c/3.mp3");
    // Another program removes b just after its parent was listed.
    struct Racing : FolderSource {
        FolderListing list(const std::string& path) override
        {
            FolderListing l = disk.list(path);
            if (!victim.empty())
                std::filesystem::remove_all(std::exchange(victim, {}));
            return l;
        }
        DiskFolders disk;
        std::string victim;
    } source;
    source.victim = t / "b";
    ScanOutcome out = FindSubFolders(source, t.path(), false);
    EXPECT_FALSE(out.failed) << out.error.description;
    EXPECT_EQ(out.entries,
        (std::vector<std::string>{
            "(" + t / "a" + ")", t / "a/1.mp3", "(" + t / "b" + ")", "(" + t / "c" + ")", t / "c/3.mp3"}));

    // The folder chosen must be there (and a missing one is no empty one).
    DiskFolders disk;
    EXPECT_EQ(FindSubFolders(disk, t / "sparita", false).error.number, 53);
}

TEST(FolderWalk, ProgressCountsFoldersAndFilesAndStopEndsTheWalk)
{
    TempDir t;
    for (const char* folder : {"d0/", "d1/", "d2/", "d3/", "d4/"})
        for (const char* file : {"a.mp3", "b.mp3", "c.mp3"})
            t.write(std::string(folder) + file);
    t.write("d0/x.txt");
    DiskFolders disk;
    ScanProgress progress;
    const ScanOutcome out = FindSubFolders(disk, t.path(), false, &progress);
    EXPECT_EQ(progress.folders.load(), 6u); // the root and its five
    EXPECT_EQ(progress.files.load(), 15u);
    EXPECT_EQ(out.entries.size(), 20u);

    ScanProgress stopped;
    stopped.stop = true;
    const ScanOutcome none = FindSubFolders(disk, t.path(), false, &stopped);
    EXPECT_TRUE(none.stopped);
    EXPECT_TRUE(none.entries.empty());
}

TEST(FolderWalk, StaysOnTheFileSystemItStartsOn)
{
    // (Out of the kernel's folders: the scan of / from zondari-cli.)
    TempDir t;
    t.write("qui/a.mp3");
    t.mkdir("altro");
    MountedTmpfs other(t / "altro");
    if (!other.ok())
        GTEST_SKIP() << "mounting is not allowed here: the walk was not tried across file systems";
    std::ofstream(t / "altro/b.mp3") << "x";
    ASSERT_TRUE(fs::exists(t / "altro/b.mp3"));
    EXPECT_EQ(walk(t.path()), (std::vector<std::string>{"(" + t / "qui" + ")", t / "qui/a.mp3"}));
    // Started on it, the walk takes what it holds.
    EXPECT_EQ(walk(t / "altro"), (std::vector<std::string>{t / "altro/b.mp3"}));
}
