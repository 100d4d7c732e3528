// The volume serial rules (FAT, NTFS, ISO 9660 and Joliet, UDF) through
// their read-at function. The input describes a sparse image, so that small
// inputs reach the sectors the rules look at:
//   byte 0      bit 0: the probed type says FAT
//   bytes 1-2   the image's length in 2,048-byte sectors (little-endian, < 1024)
//   then        patches: sector (2 bytes LE), offset in it (2 bytes LE, mod
//               2048), length (1 byte), the bytes; zero everywhere else.

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "core/catalogue/volumeserial.h"
#include "fuzzcheck.h"

using namespace zondari::volumeserial;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const bool looksFat = data[0] & 1;
    const std::uint64_t sectors = (data[1] | data[2] << 8) % 1024;
    const std::uint64_t length = sectors * kCdSector;
    std::map<std::uint64_t, std::string> image; // sector -> its bytes
    for (std::size_t i = 3; i + 5 <= size;) {
        const std::uint64_t sector = data[i] | data[i + 1] << 8;
        const std::size_t offset = (data[i + 2] | data[i + 3] << 8) % kCdSector;
        std::size_t n = data[i + 4];
        i += 5;
        n = std::min(n, size - i);
        auto& s = image.try_emplace(sector, std::string(kCdSector, '\0')).first->second;
        s.replace(offset, std::min(n, kCdSector - offset), reinterpret_cast<const char*>(data + i),
            std::min(n, kCdSector - offset));
        i += n;
    }
    std::size_t reads = 0;
    const ReadAt read = [&](std::uint64_t offset, std::size_t count) -> std::optional<std::string> {
        ++reads;
        if (offset > length || count > length - offset)
            return std::nullopt;
        std::string out;
        while (out.size() < count) {
            const std::uint64_t at = offset + out.size();
            const auto s = image.find(at / kCdSector);
            const std::size_t in = static_cast<std::size_t>(at % kCdSector);
            const std::size_t take = std::min(count - out.size(), static_cast<std::size_t>(kCdSector - in));
            out += s == image.end() ? std::string(take, '\0') : s->second.substr(in, take);
        }
        return out;
    };
    const auto found = windowsSerial(read, length, looksFat);
    if (found) {
        FUZZ_CHECK(found->fileSystem == "udf" || found->fileSystem == "iso9660" || found->fileSystem == "ntfs"
            || found->fileSystem == "vfat");
        FUZZ_CHECK(!found->label || found->label->size() <= 3 * 32);
        FUZZ_CHECK(windowsText(found->serial).size() == 9);
        FUZZ_CHECK(std::stoll(signedText(found->serial)) == static_cast<std::int32_t>(found->serial));
    }
    // The rules look at a bounded number of sectors, whatever the image says.
    FUZZ_CHECK(reads < 256);
    return 0;
}
