#include <gtest/gtest.h>
#include <initializer_list>
#include <set>
#include <utility>

#include "core/catalogue/volumeserial.h"

using namespace zondari::volumeserial;

namespace {

// A volume image built byte by byte, read the way a device is read:
// exactly the bytes asked for, or nothing past the end.
class Image {
public:
    explicit Image(std::size_t sectors, std::size_t sectorSize = kCdSector)
        : bytes_(sectors * sectorSize, '\0')
    {
    }

    void put(std::size_t at, std::string_view b) { bytes_.replace(at, b.size(), b); }
    void putByte(std::size_t at, unsigned v) { bytes_[at] = static_cast<char>(v); }
    void putLe32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            putByte(at + i, (v >> (8 * i)) & 0xFF);
    }
    void putSector(std::size_t n, std::size_t at, std::string_view b) { put(n * kCdSector + at, b); }

    std::uint64_t size() const { return bytes_.size(); }
    std::string& bytes() { return bytes_; }
    ReadAt reader() const
    {
        return [this](std::uint64_t offset, std::size_t size) -> std::optional<std::string> {
            if (offset > bytes_.size() || size > bytes_.size() - offset)
                return std::nullopt;
            return bytes_.substr(offset, size);
        };
    }

private:
    std::string bytes_;
};

// An ISO 9660 descriptor: type, "CD001", version 1, and a label at 40.
void isoDescriptor(Image& img, std::size_t sector, unsigned type, std::string_view label = {})
{
    img.putByte(sector * kCdSector, type);
    img.putSector(sector, 1, "CD001");
    img.putByte(sector * kCdSector + 6, 1);
    img.putSector(sector, 40, label);
}

std::string ucs2(std::string_view ascii)
{
    std::string out;
    for (char c : ascii)
        out += std::string(1, '\0') + c;
    return out;
}

} // namespace

TEST(VolumeSerial, FatAndNtfsBootSectorsGiveTheirVolumeId)
{
    // FAT12/16: 0x29 at 0x26 marks the 4-byte ID at 0x27.
    Image fat16(1, 512);
    fat16.putByte(0x26, 0x29);
    fat16.putLe32(0x27, 0x1A2B3C4D);
    fat16.put(0x36, "FAT16   ");
    auto f = bootSector(fat16.reader(), false);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->serial, 0x1A2B3C4Du);
    EXPECT_EQ(f->fileSystem, "vfat");
    EXPECT_FALSE(f->label);

    // FAT32: no 16-bit FAT size at 0x16; 0x29 at 0x42, the ID at 0x43.
    Image fat32(1, 512);
    fat32.putByte(0x16, 0);
    fat32.putByte(0x42, 0x29);
    fat32.putLe32(0x43, 0xDEADBEEF);
    fat32.put(0x52, "FAT32   ");
    ASSERT_TRUE(bootSector(fat32.reader(), false));
    EXPECT_EQ(bootSector(fat32.reader(), false)->serial, 0xDEADBEEFu);

    // NTFS: the low half of the 8-byte serial at 0x48.
    Image ntfs(1, 512);
    ntfs.put(3, "NTFS    ");
    ntfs.putLe32(0x48, 0x89ABCDEF);
    ntfs.putLe32(0x4C, 0x01234567);
    f = windowsSerial(ntfs.reader(), ntfs.size(), false);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->fileSystem, "ntfs");
    EXPECT_EQ(f->serial, 0x89ABCDEFu);
}

TEST(VolumeSerial, FatIdNeedsItsMarkAndAFatTypeAndAWholeBootSector)
{
    Image unnamed(1, 512);
    unnamed.putByte(0x26, 0x29);
    unnamed.putLe32(0x27, 0x11223344);
    // Nothing names FAT: only the probed type makes it one.
    EXPECT_FALSE(bootSector(unnamed.reader(), false));
    ASSERT_TRUE(bootSector(unnamed.reader(), true));
    EXPECT_EQ(bootSector(unnamed.reader(), true)->serial, 0x11223344u);

    Image unmarked(1, 512);
    unmarked.put(0x36, "FAT12   ");
    unmarked.putLe32(0x27, 0x11223344);
    EXPECT_FALSE(bootSector(unmarked.reader(), true));

    Image shortBoot(1, 300);
    shortBoot.putByte(0x26, 0x29);
    EXPECT_FALSE(bootSector(shortBoot.reader(), true));
    EXPECT_FALSE(windowsSerial(shortBoot.reader(), shortBoot.size(), true));
}

TEST(VolumeSerial, IsoSerialIsTheByteSumsOfThePrimaryDescriptor)
{
    Image img(20);
    isoDescriptor(img, 16, 1, "AB");
    isoDescriptor(img, 17, 255);
    // Two 0xFF bytes into sum 0 make it wrap.
    img.putByte(16 * kCdSector + 100, 0xFF);
    img.putByte(16 * kCdSector + 104, 0xFF);
    // Sum 0: type 1 + '0' (offset 4) + 'A' (40) + 0xFF + 0xFF = 0x270 -> 0x70
    // Sum 1: 'C' (1) + '1' (5) + 'B' (41)                       = 0xB6
    // Sum 2: 'D' (2) + version 1 (6)                              = 0x45
    // Sum 3: '0' (3)                                              = 0x30
    const auto f = iso9660(img.reader());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->serial, 0x70B64530u);
    EXPECT_EQ(f->fileSystem, "iso9660");
    EXPECT_EQ(f->label, "AB");
    EXPECT_EQ(signedText(f->serial), "1890993456");
    EXPECT_EQ(windowsText(f->serial), "70B6-4530");
}

TEST(VolumeSerial, JolietDescriptorGivesTheSerialAndTheUnicodeLabel)
{
    Image img(20);
    isoDescriptor(img, 16, 1, "PRIMARY");
    isoDescriptor(img, 17, 2);
    img.putSector(17, 40, ucs2("Rock 80"));
    img.putSector(17, 88, "%/E");
    isoDescriptor(img, 18, 255);
    // A descriptor after the terminator is not read.
    isoDescriptor(img, 19, 3);
    const auto f = iso9660(img.reader());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->label, "Rock 80");
    const ByteSums s = byteSums(img.bytes().substr(17 * kCdSector, kCdSector));
    EXPECT_EQ(f->serial, static_cast<std::uint32_t>(s.s[0]) << 24 | s.s[1] << 16 | s.s[2] << 8 | s.s[3]);
    // Without the Joliet descriptor the primary names the disc.
    Image primaryOnly = img;
    primaryOnly.putByte(17 * kCdSector, 255);
    const auto p = iso9660(primaryOnly.reader());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->label, "PRIMARY");
    EXPECT_NE(p->serial, f->serial);
}

TEST(VolumeSerial, UdfFileSetSumsMakeTheSerialAndUdfWinsOnABridgeDisc)
{
    // A bridge disc: ISO 9660 descriptors, then the UDF recognition sequence,
    // the anchor at 256 pointing to the descriptors at 32..34, the partition
    // from sector 40 and the File Set Descriptor in its block 2.
    Image img(300);
    isoDescriptor(img, 16, 1, "BRIDGE");
    isoDescriptor(img, 17, 255);
    img.putSector(18, 1, "BEA01");
    img.putByte(256 * kCdSector, 2);
    img.putLe32(256 * kCdSector + 16, 3 * kCdSector);
    img.putLe32(256 * kCdSector + 20, 32);
    img.putByte(32 * kCdSector, 5);
    img.putLe32(32 * kCdSector + 188, 40);
    img.putByte(33 * kCdSector, 6);
    img.putLe32(33 * kCdSector + 252, 2);
    img.putByte(34 * kCdSector, 8);
    img.putSector(42, 0, "\x01\x02\x03\x04\x10");
    // Sums 0x11, 0x02, 0x03, 0x04, read from the last sum to the first.
    const auto f = windowsSerial(img.reader(), img.size(), false);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->fileSystem, "udf");
    EXPECT_EQ(f->serial, 0x04030211u);

    // Without an anchor at 256 the last sector is tried.
    Image moved = img;
    moved.putByte(256 * kCdSector, 0);
    const std::string anchor = img.bytes().substr(256 * kCdSector, kCdSector);
    moved.put((300 - 1) * kCdSector, anchor);
    EXPECT_EQ(udfSerial(moved.reader(), moved.size()), 0x04030211u);

    // No anchor anywhere: the ISO 9660 rules name the disc.
    Image none = img;
    none.putByte(256 * kCdSector, 0);
    const auto iso = windowsSerial(none.reader(), none.size(), false);
    ASSERT_TRUE(iso);
    EXPECT_EQ(iso->fileSystem, "iso9660");
    EXPECT_EQ(iso->label, "BRIDGE");
}

TEST(VolumeSerial, DamagedUdfAndIsoImagesGiveNothingWithoutReadingPastTheEnd)
{
    // The recognition sequence but an image too small for any anchor.
    Image tiny(20);
    tiny.putSector(16, 1, "BEA01");
    EXPECT_TRUE(hasUdfRecognition(tiny.reader()));
    EXPECT_FALSE(udfSerial(tiny.reader(), tiny.size()));
    EXPECT_FALSE(udfSerial(tiny.reader(), 0));

    // An anchor whose descriptors lie past the end, and a huge length.
    Image far(260);
    far.putByte(256 * kCdSector, 2);
    far.putLe32(256 * kCdSector + 16, 0xFFFFFFFF);
    far.putLe32(256 * kCdSector + 20, 0xFFFFFF00);
    EXPECT_FALSE(udfSerial(far.reader(), far.size()));

    // Descriptors without a terminator up to the image's end.
    Image open(18);
    isoDescriptor(open, 16, 1, "X");
    isoDescriptor(open, 17, 1, "Y");
    ASSERT_TRUE(iso9660(open.reader()));
    EXPECT_EQ(iso9660(open.reader())->label, "X");

    EXPECT_FALSE(iso9660(Image(16).reader()));
    EXPECT_FALSE(windowsSerial(Image(0).reader(), 0, true));
}

TEST(VolumeSerial, SerialTextsAndStandIns)
{
    EXPECT_EQ(signedText(439041101u), "439041101");
    EXPECT_EQ(signedText(0xFFFFFFFFu), "-1");
    EXPECT_EQ(signedText(0x80000000u), "-2147483648");
    EXPECT_EQ(windowsText(0x1A2B3C4Du), "1A2B-3C4D");
    EXPECT_EQ(windowsText(0x000F00A0u), "000F-00A0");

    EXPECT_EQ(serialFromUuid("1A2B-3C4D"), 0x1A2B3C4Du);
    EXPECT_EQ(serialFromUuid("0f3c9d5e-7a21-4c11-9d55-4ab1e6a4f1c2"), 0x0f3c9d5eu);
    EXPECT_EQ(serialFromUuid("ABC"), 0xABCu);
    EXPECT_EQ(serialFromUuid(""), 0u);

    // Stand-ins: never 0, the same for the same identity, apart for others.
    std::set<std::uint32_t> seen;
    for (const char* id : {"tmpfs|tmpfs|0:39", "tmpfs|tmpfs|0:40", "/dev/sdb1|vfat|8:17", "", "00000000-0000"}) {
        const std::uint32_t s = standInSerial(id);
        EXPECT_NE(s, 0u) << id;
        EXPECT_EQ(s, standInSerial(id));
        EXPECT_TRUE(seen.insert(s).second) << id;
    }
}
