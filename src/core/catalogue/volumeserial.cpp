#include "core/catalogue/volumeserial.h"

#include <cstdio>

#include "core/common/encoding.h"

namespace zondari::volumeserial {
namespace {

unsigned byteAt(std::string_view b, std::size_t at)
{
    return static_cast<unsigned char>(b[at]);
}

std::uint32_t le32(std::string_view b, std::size_t at)
{
    return byteAt(b, at) | byteAt(b, at + 1) << 8 | byteAt(b, at + 2) << 16
        | static_cast<std::uint32_t>(byteAt(b, at + 3)) << 24;
}

std::uint16_t le16(std::string_view b, std::size_t at)
{
    return static_cast<std::uint16_t>(byteAt(b, at) | byteAt(b, at + 1) << 8);
}

std::optional<std::string> sector(const ReadAt& read, std::uint64_t n)
{
    auto s = read(n * kCdSector, kCdSector);
    if (s && s->size() != kCdSector)
        return std::nullopt;
    return s;
}

std::string trimTrailing(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

// The volume identifier: 32 bytes at offset 40; UCS-2 big-endian in a Joliet
// descriptor, which its escape sequence at offset 88 ("%/@", "%/C", "%/E")
// marks.
std::string isoLabel(std::string_view d, int type)
{
    const bool joliet = type == 2 && d[88] == '%' && d[89] == '/' && (d[90] == '@' || d[90] == 'C' || d[90] == 'E');
    if (!joliet)
        return trimTrailing(std::string(d.substr(40, 32)));
    std::string label;
    for (std::size_t i = 40; i + 1 < 72; i += 2) {
        const char32_t c = static_cast<char32_t>(byteAt(d, i) << 8 | byteAt(d, i + 1));
        if (c == 0)
            break;
        // A lone surrogate half is no character; UTF-8 cannot hold it.
        encoding::appendUtf8(label, c >= 0xD800 && c <= 0xDFFF ? U'\uFFFD' : c);
    }
    return trimTrailing(label);
}

// The boot sector names its FAT type: "FAT12   ", "FAT16   " or "FAT     "
// at 0x36, "FAT32   " at 0x52.
bool namesFat(std::string_view boot)
{
    return boot.substr(0x36, 3) == "FAT" || boot.substr(0x52, 5) == "FAT32";
}

} // namespace

ByteSums byteSums(std::string_view bytes)
{
    ByteSums sums;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        sums.s[i % 4] = static_cast<std::uint8_t>(sums.s[i % 4] + byteAt(bytes, i));
    return sums;
}

std::optional<Found> iso9660(const ReadAt& read)
{
    std::string chosen;
    int chosenType = -1;
    // A real disc has a handful of descriptors; 64 sectors bound a damaged one.
    for (std::uint64_t n = 16; n < 16 + 64; ++n) {
        const auto d = sector(read, n);
        if (!d || d->compare(1, 5, "CD001") != 0)
            break;
        const int type = static_cast<unsigned char>((*d)[0]);
        if (type == 255)
            break;
        if (type > chosenType) {
            chosenType = type;
            chosen = *d;
        }
    }
    if (chosenType < 0)
        return std::nullopt;
    const ByteSums s = byteSums(chosen);
    Found f;
    f.fileSystem = "iso9660";
    f.serial = static_cast<std::uint32_t>(s.s[0]) << 24 | static_cast<std::uint32_t>(s.s[1]) << 16
        | static_cast<std::uint32_t>(s.s[2]) << 8 | s.s[3];
    f.label = isoLabel(chosen, chosenType);
    return f;
}

bool hasUdfRecognition(const ReadAt& read)
{
    for (std::uint64_t n = 16; n < 32; ++n) {
        const auto d = sector(read, n);
        if (!d)
            return false;
        if (d->compare(1, 5, "BEA01") == 0)
            return true;
    }
    return false;
}

std::optional<std::uint32_t> udfSerial(const ReadAt& read, std::uint64_t size)
{
    const std::uint64_t last = size / kCdSector;
    std::optional<std::string> anchor;
    for (std::uint64_t n : {std::uint64_t{256}, last - 1, last - 257, std::uint64_t{512}}) {
        // last - 1 and last - 257 wrap for a small image: past its end, skipped.
        if (n >= last)
            continue;
        anchor = sector(read, n);
        if (anchor && le16(*anchor, 0) == 2) // tag 2: anchor volume descriptor pointer
            break;
        anchor.reset();
    }
    if (!anchor)
        return std::nullopt;
    // The main volume descriptor sequence: its length in bytes and first sector.
    const std::uint32_t length = le32(*anchor, 16);
    const std::uint32_t location = le32(*anchor, 20);
    std::optional<std::uint32_t> partitionStart;
    std::optional<std::uint32_t> fileSetBlock;
    for (std::uint32_t i = 0; i < length / kCdSector && i < 64; ++i) {
        const auto d = sector(read, std::uint64_t{location} + i);
        if (!d)
            break;
        const std::uint16_t tag = le16(*d, 0);
        if (tag == 5 && !partitionStart) // partition descriptor: its starting sector
            partitionStart = le32(*d, 188);
        else if (tag == 6 && !fileSetBlock) // logical volume: the File Set Descriptor's block
            fileSetBlock = le32(*d, 252);
        else if (tag == 8) // terminating descriptor
            break;
    }
    if (!partitionStart || !fileSetBlock)
        return std::nullopt;
    const auto fsd = sector(read, std::uint64_t{*partitionStart} + *fileSetBlock);
    if (!fsd)
        return std::nullopt;
    const ByteSums s = byteSums(*fsd);
    return static_cast<std::uint32_t>(s.s[3]) << 24 | static_cast<std::uint32_t>(s.s[2]) << 16
        | static_cast<std::uint32_t>(s.s[1]) << 8 | s.s[0];
}

std::optional<Found> bootSector(const ReadAt& read, bool looksFat)
{
    const auto boot = read(0, 512);
    if (!boot || boot->size() != 512)
        return std::nullopt;
    if (boot->compare(3, 8, "NTFS    ") == 0)
        return Found{"ntfs", le32(*boot, 0x48), std::nullopt}; // low 32 bits of the 64-bit serial
    if (!looksFat && !namesFat(*boot))
        return std::nullopt;
    // FAT32 has no 16-bit FAT size; its extended boot record sits further on.
    if (le16(*boot, 0x16) == 0 && (*boot)[0x42] == 0x29)
        return Found{"vfat", le32(*boot, 0x43), std::nullopt};
    if ((*boot)[0x26] == 0x29)
        return Found{"vfat", le32(*boot, 0x27), std::nullopt};
    return std::nullopt;
}

std::optional<Found> windowsSerial(const ReadAt& read, std::uint64_t size, bool looksFat)
{
    if (hasUdfRecognition(read)) {
        if (auto serial = udfSerial(read, size))
            return Found{"udf", *serial, std::nullopt};
    }
    if (auto iso = iso9660(read))
        return iso;
    return bootSector(read, looksFat);
}

std::uint32_t serialFromUuid(std::string_view uuid)
{
    std::uint32_t serial = 0;
    int digits = 0;
    for (char c : uuid) {
        if (digits == 8)
            break;
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        serial = serial << 4 | static_cast<std::uint32_t>(v);
        ++digits;
    }
    return serial;
}

std::string signedText(std::uint32_t serial)
{
    return std::to_string(static_cast<std::int32_t>(serial));
}

std::string windowsText(std::uint32_t serial)
{
    char text[10];
    std::snprintf(
        text, sizeof text, "%04X-%04X", static_cast<unsigned>(serial >> 16), static_cast<unsigned>(serial & 0xFFFF));
    return text;
}

std::uint32_t standInSerial(std::string_view identity)
{
    // FNV-1a: small, and the same on every machine and run.
    std::uint32_t h = 2166136261u;
    for (char c : identity) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h == 0 ? 1 : h;
}

} // namespace zondari::volumeserial
