#include <gtest/gtest.h>

#include "platform/volume.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;

namespace {

// The four one-byte sums over one 2,048-byte sector of an image, worked out
// by od and awk rather than by the program.
std::vector<unsigned> sectorSums(const std::string& image, int sector)
{
    const std::string out = output("od -An -v -tu1 -j " + std::to_string(sector * 2048) + " -N 2048 '" + image
                                   + "' | awk '{for(i=1;i<=NF;i++){s[n%4]=(s[n%4]+$i)%256;n++}} END{print s[0],s[1],s[2],s[3]}'");
    std::vector<unsigned> sums(4);
    std::sscanf(out.c_str(), "%u %u %u %u", &sums[0], &sums[1], &sums[2], &sums[3]);
    return sums;
}

// The type byte of a volume descriptor, by od.
int descriptorType(const std::string& image, int sector)
{
    return std::stoi(output("od -An -tu1 -j " + std::to_string(sector * 2048) + " -N 1 '" + image + "'"));
}

}  // namespace

TEST(VolumeReader, FatImageGivesItsLabelAndVolumeId)
{
    TempDir t;
    const std::string img = t / "floppy.img";
    ASSERT_EQ(run("mkfs.vfat -C -n ROCK80 -i 1A2B3C4D '" + img + "' 1440 >/dev/null"), 0);
    const auto v = readVolumeDevice(img);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->label, "ROCK80");
    EXPECT_EQ(v->serial, 0x1A2B3C4Du);
    EXPECT_EQ(v->fileSystem, "vfat");
}

TEST(VolumeReader, Fat32ImageKeepsItsVolumeIdFurtherOn)
{
    TempDir t;
    const std::string img = t / "usb.img";
    ASSERT_EQ(run("mkfs.vfat -F 32 -C -n CHIAVETTA -i DEADBEEF '" + img + "' 40000 >/dev/null 2>&1"), 0);
    const auto v = readVolumeDevice(img);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->label, "CHIAVETTA");
    EXPECT_EQ(v->serial, 0xDEADBEEFu);
}

TEST(VolumeReader, IsoImageSerialIsTheSumsOfItsPrimaryDescriptor)
{
    TempDir t;
    t.write("cd/Rock/a.mp3", "x");
    const std::string img = t / "cd.iso";
    ASSERT_EQ(run("xorriso -as mkisofs -V ROCK80 -o '" + img + "' '" + (t / "cd") + "' >/dev/null 2>&1"), 0);
    ASSERT_EQ(descriptorType(img, 16), 1);
    const auto s = sectorSums(img, 16);
    const auto v = readVolumeDevice(img);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->label, "ROCK80");
    EXPECT_EQ(v->serial, s[0] << 24 | s[1] << 16 | s[2] << 8 | s[3]);
    EXPECT_EQ(v->fileSystem, "iso9660");
}

TEST(VolumeReader, JolietDescriptorWinsOverThePrimaryForSerialAndLabel)
{
    TempDir t;
    t.write("cd/a.mp3", "x");
    const std::string img = t / "joliet.iso";
    ASSERT_EQ(run("xorriso -as mkisofs -J -V 'Rock anni 80' -o '" + img + "' '" + (t / "cd") + "' >/dev/null 2>&1"), 0);
    int joliet = 17;
    while (joliet < 20 && descriptorType(img, joliet) != 2)
        ++joliet;
    ASSERT_EQ(descriptorType(img, joliet), 2);
    const auto s = sectorSums(img, joliet);
    const auto primary = sectorSums(img, 16);
    ASSERT_NE(s, primary);
    const auto v = readVolumeDevice(img);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->label, "Rock anni 80");
    EXPECT_EQ(v->serial, s[0] << 24 | s[1] << 16 | s[2] << 8 | s[3]);
}

TEST(VolumeReader, UnreadableDeviceGivesNothingAndUuidsGiveTheirFirstEightDigits)
{
    EXPECT_FALSE(readVolumeDevice("/non/esiste"));
    TempDir t;
    t.write("rumore.bin", std::string(70000, '\x5a'));
    const auto junk = readVolumeDevice(t / "rumore.bin");
    ASSERT_TRUE(junk);
    EXPECT_EQ(junk->label, "");
    EXPECT_EQ(junk->serial, 0u);

    EXPECT_EQ(serialFromUuid("1A2B-3C4D"), 0x1A2B3C4Du);
    EXPECT_EQ(serialFromUuid("0f3c9d5e-7a21-4c11-9d55-4ab1e6a4f1c2"), 0x0f3c9d5eu);
    EXPECT_EQ(serialFromUuid("ABC"), 0xABCu);
    EXPECT_EQ(serialFromUuid(""), 0u);
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
