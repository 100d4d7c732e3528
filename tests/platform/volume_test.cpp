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

// An ISO 9660 image of a folder holding one track; "" when xorriso fails.
std::string makeIso(const TempDir& t, const std::string& options)
{
    t.write("cd/Rock/a.mp3", "x");
    const std::string img = t / "cd.iso";
    if (run("xorriso -as mkisofs " + options + " -o '" + img + "' '" + (t / "cd") + "' >/dev/null 2>&1") != 0)
        return {};
    return img;
}

// The serial of four sums as Windows forms it for a CD.
std::uint32_t cdSerial(const std::vector<unsigned>& s)
{
    return s[0] << 24 | s[1] << 16 | s[2] << 8 | s[3];
}

} // namespace

TEST(VolumeReader, FatImagesGiveTheirLabelAndVolumeId)
{
    struct Case {
        const char* options; // FAT12 on a floppy; FAT32 keeps its volume ID further on
        const char* label;
        const char* id;
        std::uint32_t serial;
        int kib;
    };
    for (const Case& c : {Case{"", "ROCK80", "1A2B3C4D", 0x1A2B3C4Du, 1440},
             Case{"-F 32", "CHIAVETTA", "DEADBEEF", 0xDEADBEEFu, 40000}}) {
        TempDir t;
        const std::string img = t / "disco.img";
        ASSERT_EQ(run(std::string("mkfs.vfat ") + c.options + " -C -n " + c.label + " -i " + c.id + " '" + img + "' "
                      + std::to_string(c.kib) + " >/dev/null 2>&1"),
            0);
        const auto v = readVolumeDevice(img);
        ASSERT_TRUE(v) << c.label;
        EXPECT_EQ(v->label, c.label);
        EXPECT_EQ(v->serial, c.serial) << c.label;
        EXPECT_EQ(v->fileSystem, "vfat");
    }
}

TEST(VolumeReader, IsoImageSerialIsTheSumsOfItsPrimaryDescriptor)
{
    TempDir t;
    const std::string img = makeIso(t, "-V ROCK80");
    ASSERT_FALSE(img.empty());
    ASSERT_EQ(descriptorType(img, 16), 1);
    const auto s = sectorSums(img, 16);
    const auto v = readVolumeDevice(img);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->label, "ROCK80");
    EXPECT_EQ(v->serial, cdSerial(s));
    EXPECT_EQ(v->fileSystem, "iso9660");
}

TEST(VolumeReader, JolietDescriptorWinsOverThePrimaryForSerialAndLabel)
{
    TempDir t;
    const std::string img = makeIso(t, "-J -V 'Rock anni 80'");
    ASSERT_FALSE(img.empty());
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
    EXPECT_EQ(v->serial, cdSerial(s));
}

TEST(VolumeReader, UnreadableDeviceGivesNothingAndUuidsGiveTheirFirstEightDigits)
{
    EXPECT_FALSE(readVolumeDevice("/non/esiste"));
    TempDir t;
    t.write("rumore.bin", std::string(70000, '\x5a'));
    EXPECT_FALSE(readVolumeDevice(t / "rumore.bin")); // no file system in it

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

TEST(VolumeReader, UdfBridgeDiscIsNamedByItsUdfFileSetAsUdfinfoReportsIt)
{
    if (run("command -v udfinfo >/dev/null") != 0)
        GTEST_SKIP() << "udfinfo (udftools) is not installed";
    TempDir t;
    t.write("cd/a.mp3", "x");
    const std::string img = t / "bridge.iso";
    ASSERT_EQ(run("genisoimage -quiet -udf -V UDFTEST -o '" + img + "' '" + (t / "cd") + "'"), 0);
    const std::string info = output("udfinfo '" + img + "'");
    const auto at = info.find("winserialnum=0x");
    ASSERT_NE(at, std::string::npos);
    const auto expected = static_cast<std::uint32_t>(std::stoul(info.substr(at + 15, 8), nullptr, 16));
    const auto v = readVolumeDevice(img);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->fileSystem, "udf");
    EXPECT_EQ(v->label, "UDFTEST");
    EXPECT_EQ(v->serial, expected);
}

namespace {

// A tmpfs mounted on a fresh folder for as long as the object lives; not
// `ok()` where this user may not mount.
class TmpfsMount {
public:
    TmpfsMount(const TempDir& t, const std::string& name, const std::string& source)
        : root_(t.mkdir(name))
    {
        ok_ = run("mount -t tmpfs -o size=1m " + source + " '" + root_ + "' 2>/dev/null") == 0;
    }
    ~TmpfsMount()
    {
        if (ok_)
            run("umount '" + root_ + "'");
    }
    bool ok() const { return ok_; }
    const std::string& root() const { return root_; }

private:
    std::string root_;
    bool ok_ = false;
};

} // namespace

TEST(VolumeReader, VolumesWithoutLabelOrSerialStillGetNamesOfTheirOwn)
{
    TempDir t;
    TmpfsMount first(t, "uno", "zondari-test");
    TmpfsMount second(t, "due", "zondari-test");
    if (!first.ok() || !second.ok())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const SystemVolumeReader reader;
    const VolumeInfo a = reader.volumeOf(first.root());
    const VolumeInfo b = reader.volumeOf(second.root());
    EXPECT_EQ(a.fileSystem, "tmpfs");
    EXPECT_EQ(a.label, "");
    EXPECT_NE(a.serial, 0u);
    EXPECT_NE(b.serial, 0u);
    EXPECT_NE(a.serial, b.serial);
    // The same volume, asked again and from a folder on it, keeps its name.
    t.mkdir("uno/Rock");
    EXPECT_EQ(reader.volumeOf(first.root()).serial, a.serial);
    EXPECT_EQ(reader.volumeOf(first.root() + "/Rock").serial, a.serial);
    EXPECT_TRUE(reader.isVolumeRoot(first.root()));
    // Not the disk the mount point lies on.
    EXPECT_NE(reader.volumeOf(t.path()).serial, a.serial);
}
