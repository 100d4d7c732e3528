#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The serial number Windows gives a volume, so that a CD or a stick gets the
// same catalogue name here as there. Pure byte rules over the volume's first
// sectors; the caller reads the device or image.
namespace zondari::volumeserial {

// Exactly `size` bytes at `offset` of the device or image; nothing when they
// are not all there.
using ReadAt = std::function<std::optional<std::string>(std::uint64_t offset, std::size_t size)>;

inline constexpr std::uint64_t kCdSector = 2048;

// What the rules found: the file system they recognised, its serial, and its
// label when the structure they read holds it (ISO 9660 and Joliet; FAT,
// NTFS and UDF labels come from elsewhere).
struct Found {
    std::string fileSystem; // "udf", "iso9660", "ntfs", "vfat"
    std::uint32_t serial = 0;
    std::optional<std::string> label;
};

// ISO 9660 descriptors from sector 16 to the terminator (type 255); the one
// of the highest type (a Joliet supplementary descriptor, 2, over the
// primary, 1) gives the serial, its four byte sums s0<<24 | s1<<16 | s2<<8 |
// s3, and the label (UCS-2 big-endian in a Joliet descriptor).
std::optional<Found> iso9660(const ReadAt& read);

// A "BEA01" descriptor among sectors 16-31 marks UDF.
bool hasUdfRecognition(const ReadAt& read);

// UDF: the anchor at sector 256 (else the last sector, last - 256, or 512)
// leads to the partition and the logical volume's File Set Descriptor; the
// four byte sums of that sector give s3<<24 | s2<<16 | s1<<8 | s0.
// `size` is the device's length in bytes.
std::optional<std::uint32_t> udfSerial(const ReadAt& read, std::uint64_t size);

// The boot sector's serial: NTFS (low 32 bits of the 64-bit serial at 0x48)
// when its OEM name says so; FAT32 (0x43, marked by 0x29 at 0x42) and
// FAT12/16 (0x27, marked by 0x29 at 0x26) when `looksFat` (the probed type is
// FAT) or the boot sector names a FAT file system.
std::optional<Found> bootSector(const ReadAt& read, bool looksFat);

// All rules in order: UDF first (a bridge disc carries ISO 9660 descriptors
// too), then ISO 9660 and Joliet, then the boot sector. Nothing when none
// applies.
std::optional<Found> windowsSerial(const ReadAt& read, std::uint64_t size, bool looksFat);

// The four one-byte running sums over a descriptor: byte i adds into sum
// i mod 4, each wrapping at 256.
struct ByteSums {
    std::uint8_t s[4] = {0, 0, 0, 0};
};
ByteSums byteSums(std::string_view sector);

// The serial a UUID stands for: its first 8 hex digits ("1A2B-3C4D" gives
// 0x1A2B3C4D); 0 when it has none.
std::uint32_t serialFromUuid(std::string_view uuid);

// How the catalogue name writes a serial: signed decimal, as a 32-bit Long
// prints (0xFFFFFFFF gives "-1").
std::string signedText(std::uint32_t serial);

// How Windows shows a serial: "1A2B-3C4D".
std::string windowsText(std::uint32_t serial);

// A serial that stands in for one that cannot be read, from a text that
// tells volumes apart (a file-system UUID, a device number): never 0, the
// same for the same text on every run.
std::uint32_t standInSerial(std::string_view identity);

} // namespace zondari::volumeserial
