#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include "platform/drives.h"
#include "platform/files.h"
#include "support/tempdir.h"

using namespace zondari;
using zondari::test::TempDir;

TEST(Drives, MountInfoGivesRealFileSystemsOnly)
{
    const std::string info = "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                             "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                             "30 25 0:27 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
                             "41 27 8:17 / /media/anna/CD\\040ROCK ro,relatime shared:1 - iso9660 /dev/sr0 ro\n"
                             "42 27 8:18 / /home rw master:2 - ext4 /dev/sda2 rw\n"
                             "43 27 0:50 / /run/user/1000 rw - tmpfs tmpfs rw\n";
    const auto drives = parseMountInfo(info);
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].root, "/");
    EXPECT_EQ(drives[1].root, "/home");
    EXPECT_EQ(drives[2].root, "/media/anna/CD ROCK");
    EXPECT_EQ(drives[2].type, "iso9660");
    EXPECT_EQ(drives[2].device, "/dev/sr0");

    // Every line as it stands, with its device number; escapes past a
    // byte's range stay as they are, a line cut short is left out.
    const auto entries
        = parseMountEntries(info + "50 27 8:19 / /mnt/a\\777b rw - vfat /dev/sdb\\011 rw\n51 27 8:20 /\n");
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[3].device, makedev(8, 17));
    EXPECT_EQ(entries[3].mountPoint, "/media/anna/CD ROCK");
    EXPECT_EQ(entries[6].mountPoint, "/mnt/a\\777b");
    EXPECT_EQ(entries[6].source, "/dev/sdb\t");
}

namespace {

class ListedDrives : public Drives {
public:
    std::vector<DriveInfo> list() const override
    {
        std::vector<DriveInfo> out;
        for (const auto& r : roots_)
            out.push_back({r, {}, {}, {}});
        return out;
    }
    std::vector<std::string> roots_;
};

} // namespace

TEST(Drives, PathBelongsToTheDeepestMountAboveIt)
{
    ListedDrives d;
    d.roots_ = {"/", "/media/cd", "/media/cd2"};
    EXPECT_EQ(d.driveOf("/media/cd/rock/a.mp3"), "/media/cd");
    EXPECT_EQ(d.driveOf("/media/cd2"), "/media/cd2");
    EXPECT_EQ(d.driveOf("/media/cdx/a"), "/");
    EXPECT_EQ(d.driveOf("/nonexistent/x"), "/");
}

TEST(CurrentFolder, EachDriveKeepsItsOwnFolder)
{
    TempDir a, b;
    a.mkdir("music");
    b.mkdir("other");
    ListedDrives d;
    d.roots_ = {"/", a.path(), b.path()};
    CurrentFolder cf(d);

    ASSERT_TRUE(cf.changeFolder(a / "music"));
    ASSERT_TRUE(cf.changeDrive(a.path()));
    EXPECT_EQ(files::currentFolder(), a / "music");

    // A folder made current on another drive waits for that drive.
    ASSERT_TRUE(cf.changeFolder(b / "other"));
    EXPECT_EQ(files::currentFolder(), a / "music");
    EXPECT_EQ(cf.folderOfDrive(b.path()), b / "other");
    ASSERT_TRUE(cf.changeDrive(b.path()));
    EXPECT_EQ(files::currentFolder(), b / "other");
    EXPECT_EQ(cf.currentDrive(), b.path());

    // Back to the first drive: back to its folder.
    ASSERT_TRUE(cf.changeDrive(a / "music/x"));
    EXPECT_EQ(files::currentFolder(), a / "music");
    EXPECT_FALSE(cf.changeFolder(a / "missing"));
    EXPECT_TRUE(cf.changeFolder("/"));
}
