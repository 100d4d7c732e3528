#include <gtest/gtest.h>

#include "platform/volume.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;

TEST(VolumeReader, EachToolsImageGivesItsLabelFileSystemAndSerial)
{
    // Each image made by its tool in $I from the folder cd, and its serial
    // in hex worked out apart from the program: as the tool was told it, as
    // udfinfo reports it, or for a CD the four one-byte sums over the
    // descriptor's sector (`sums N`), by od and awk.
    const char* const sums
        = "sums() { od -An -v -tu1 -j $(($1 * 2048)) -N 2048 \"$I\" | awk '{for(i=1;i<=NF;i++)"
          "{s[n%4]=(s[n%4]+$i)%256;n++}} END{printf \"%02X%02X%02X%02X\", s[0],s[1],s[2],s[3]}'; }; ";
    const char* const udf = "genisoimage -quiet -udf -V UDFTEST -o \"$I\" cd && udfinfo \"$I\" | sed -n "
                            "'s/^winserialnum=0x//p' >serial && ";
    const std::string kZero = "dd if=/dev/zero of=\"$I\" bs=2048 count=1 conv=notrunc seek=";
    const struct {
        const char* what;
        std::string make, serial;
        const char *label, *fileSystem;
    } cases[] = {
        {"FAT12", "mkfs.vfat -C -n ROCK80 -i 1A2B3C4D \"$I\" 1440", "echo 1A2B3C4D", "ROCK80", "vfat"},
        // FAT32 keeps its volume ID further on.
        {"FAT32", "mkfs.vfat -F 32 -C -n CHIAVETTA -i DEADBEEF \"$I\" 40000", "echo DEADBEEF", "CHIAVETTA", "vfat"},
        // Windows shows the low half of NTFS's eight bytes.
        {"NTFS",
            "truncate -s 4M \"$I\" && mkntfs -F -Q -L Musica \"$I\" && ntfslabel --new-serial=0123456789ABCDEF \"$I\"",
            "echo 89ABCDEF", "Musica", "ntfs"},
        {"ISO 9660", "xorriso -as mkisofs -V ROCK80 -o \"$I\" cd", "sums 16", "ROCK80", "iso9660"},
        // The Joliet descriptor wins over the primary.
        {"Joliet", "xorriso -as mkisofs -J -V 'Rock anni 80' -o \"$I\" cd",
            "for n in 17 18 19; do [ $(od -An -tu1 -j $((n * 2048)) -N 1 \"$I\") = 2 ] && sums $n && break; done",
            "Rock anni 80", "iso9660"},
        // On a bridge disc UDF's File Set names the disc, found through the
        // anchor at sector 256 or, without it, the one genisoimage also
        // writes in the last sector.
        {"UDF", std::string(udf) + "true", "cat serial", "UDFTEST", "udf"},
        {"UDF, anchor in the last sector", std::string(udf) + kZero + "256", "cat serial", "UDFTEST", "udf"},
        // No anchor anywhere: the ISO 9660 rules name the disc.
        {"UDF without an anchor", std::string(udf) + kZero + "256 && " + kZero + "$(($(stat -c %s \"$I\") / 2048 - 1))",
            "sums 16", "UDFTEST", "iso9660"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir t;
        t.write("cd/Rock/a.mp3", "x");
        const std::string shell = "cd '" + t.path() + "' && I=disco.img && " + sums;
        ASSERT_EQ(run(shell + "{ " + c.make + "; } >/dev/null 2>&1"), 0);
        std::string serial = output(shell + c.serial);
        serial.erase(serial.find_last_not_of('\n') + 1);
        ASSERT_EQ(serial.size(), 8u) << serial;
        const auto v = readVolumeDevice(t / "disco.img");
        ASSERT_TRUE(v);
        EXPECT_EQ(v->label, c.label);
        EXPECT_EQ(v->fileSystem, c.fileSystem);
        EXPECT_EQ(v->serial, std::stoul(serial, nullptr, 16));
    }
}

TEST(VolumeReader, UnreadableDeviceOrBytesWithoutAFileSystemGiveNothing)
{
    EXPECT_FALSE(readVolumeDevice("/non/esiste"));
    TempDir t;
    EXPECT_FALSE(readVolumeDevice(t.write("rumore.bin", std::string(70000, '\x5a'))));
}

TEST(VolumeReader, RootOfTheSystemIsAVolumeRootItsFoldersAreNot)
{
    SystemVolumeReader reader;
    EXPECT_TRUE(reader.isVolumeRoot("/"));
    TempDir t;
    EXPECT_FALSE(reader.isVolumeRoot(t.path()));
    EXPECT_FALSE(reader.isVolumeRoot(t.mkdir("Rock")));
    // Any folder of a volume is answered for, the same as its root.
    const VolumeInfo below = reader.volumeOf(t.mkdir("Rock/Live"));
    EXPECT_EQ(below.serial, reader.volumeOf(t.path()).serial);
    EXPECT_EQ(below.label, reader.volumeOf(t.path()).label);
}

TEST(VolumeReader, VolumesWithoutLabelOrSerialStillGetNamesOfTheirOwn)
{
    TempDir t;
    MountedTmpfs first(t.mkdir("uno"));
    MountedTmpfs second(t.mkdir("due"));
    if (!first.ok() || !second.ok())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const SystemVolumeReader reader;
    const VolumeInfo a = reader.volumeOf(t / "uno");
    const VolumeInfo b = reader.volumeOf(t / "due");
    EXPECT_EQ(a.fileSystem, "tmpfs");
    EXPECT_EQ(a.label, "");
    EXPECT_NE(a.serial, 0u);
    EXPECT_NE(b.serial, 0u);
    EXPECT_NE(a.serial, b.serial);
    // The same volume, asked again and from a folder on it, keeps its name.
    t.mkdir("uno/Rock");
    EXPECT_EQ(reader.volumeOf(t / "uno").serial, a.serial);
    EXPECT_EQ(reader.volumeOf(t / "uno/Rock").serial, a.serial);
    EXPECT_TRUE(reader.isVolumeRoot(t / "uno"));
    // Not the disk the mount point lies on.
    EXPECT_NE(reader.volumeOf(t.path()).serial, a.serial);
}
