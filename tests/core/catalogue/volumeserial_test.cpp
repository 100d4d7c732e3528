// The serial rules on the bytes no tool here writes; the images mkfs.vfat,
// mkntfs, xorriso and genisoimage make are read in platform/volume_test.cpp.

#include <gtest/gtest.h>
#include <set>

#include "core/catalogue/volumeserial.h"

using namespace zondari::volumeserial;

namespace {

// A volume image built byte by byte, read the way a device is read:
// exactly the bytes asked for, or nothing past the end.
struct Image {
    explicit Image(std::size_t sectors, std::size_t sectorSize = kCdSector)
        : bytes(sectors * sectorSize, '\0')
    {
    }
    void put(std::size_t at, std::string_view b) { bytes.replace(at, b.size(), b); }
    void putLe32(std::size_t at, std::uint32_t v)
    {
        for (std::size_t i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    }
    ReadAt reader() const
    {
        return [this](std::uint64_t offset, std::size_t size) -> std::optional<std::string> {
            if (offset > bytes.size() || size > bytes.size() - offset)
                return std::nullopt;
            return bytes.substr(offset, size);
        };
    }
    std::string bytes;
};

// An ISO 9660 descriptor: type, "CD001", version 1, and a label at 40.
void isoDescriptor(Image& img, std::size_t sector, char type, std::string_view label)
{
    img.put(sector * kCdSector, std::string(1, type) + "CD001\x01");
    img.put(sector * kCdSector + 40, label);
}

} // namespace

// (NTFS, FAT, ISO 9660, Joliet and UDF as their tools make them:
// platform/volume_test.)
TEST(VolumeSerial, AFatIdNeedsItsMarkAFatTypeAndAWholeBootSector)
{
    Image unnamed(1, 512);
    unnamed.put(0x26, "\x29");
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
    shortBoot.put(0x26, "\x29");
    EXPECT_FALSE(bootSector(shortBoot.reader(), true));
    EXPECT_FALSE(windowsSerial(shortBoot.reader(), shortBoot.bytes.size(), true));
}

TEST(VolumeSerial, DamagedUdfAndIsoImagesGiveNothingWithoutReadingPastTheEnd)
{
    // The recognition sequence but an image too small for any anchor.
    Image tiny(20);
    tiny.put(16 * kCdSector + 1, "BEA01");
    EXPECT_TRUE(hasUdfRecognition(tiny.reader()));
    EXPECT_FALSE(udfSerial(tiny.reader(), tiny.bytes.size()));
    EXPECT_FALSE(udfSerial(tiny.reader(), 0));

    // An anchor whose descriptors lie past the end, and a huge length.
    Image far(260);
    far.put(256 * kCdSector, "\x02");
    far.putLe32(256 * kCdSector + 16, 0xFFFFFFFF);
    far.putLe32(256 * kCdSector + 20, 0xFFFFFF00);
    EXPECT_FALSE(udfSerial(far.reader(), far.bytes.size()));

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
    EXPECT_EQ(signedText(0xFFFFFFFFu) + " " + signedText(0x80000000u) + " " + windowsText(0x000F00A0u),
        "-1 -2147483648 000F-00A0");

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
