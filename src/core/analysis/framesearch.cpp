#include "core/analysis/framesearch.h"

#include <algorithm>

#include "core/analysis/frameheader.h"

namespace zondari::mp3 {
namespace {

// Version, layer and sampling-rate index: what every frame of a stream shares.
constexpr std::uint32_t kStreamBits = 0xFFFE0C00u;
constexpr std::uint32_t kPaddingBit = 0x00000200u;

const unsigned char* bytesOf(std::string_view s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

std::optional<FrameStart> confirmFreeFormat(std::string_view audio, std::size_t p, std::uint32_t header)
{
    const std::size_t last = std::min(p + kFreeFormatSpan, audio.size() >= 4 ? audio.size() - 4 : 0);
    const unsigned char* b = bytesOf(audio);
    for (std::size_t q = p + 4; q <= last; ++q) {
        if (b[q] == 0xFF && (wordAt(b + q) & ~kPaddingBit) == (header & ~kPaddingBit))
            return FrameStart{p, header, static_cast<std::uint32_t>(q - p)};
    }
    return std::nullopt;
}

} // namespace

std::uint64_t id3v2TagLength(std::string_view bytes)
{
    if (bytes.size() < 10 || bytes.substr(0, 3) != "ID3")
        return 0;
    const unsigned char* b = bytesOf(bytes);
    if (b[3] == 0xFF || b[4] == 0xFF)
        return 0;
    std::uint64_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (b[i] & 0x80)
            return 0;
        size = (size << 7) | b[i];
    }
    const bool footer = (b[5] & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

PrefixSearch findFirstFrameIn(std::string_view audio)
{
    if (audio.size() < 4)
        return {std::nullopt, false};
    const unsigned char* b = bytesOf(audio);
    const std::size_t end = std::min(kSearchSpan, audio.size() - 3);
    for (std::size_t p = 0; p < end; ++p) {
        if (b[p] != 0xFF || (b[p + 1] & 0xE0) != 0xE0)
            continue;
        const std::uint32_t header = wordAt(b + p);
        if (!isValidHeader(header))
            continue;
        const FrameHeader h = splitHeader(header);
        if (h.bitRateIndex == 0) {
            if (auto found = confirmFreeFormat(audio, p, header))
                return {found, true};
            // More bytes might have held the repeat.
            if (p + kFreeFormatSpan > audio.size() - 4)
                return {std::nullopt, false};
            continue;
        }
        const std::size_t next = p + frameLength(h);
        // The audio ends before a next header could: nothing to confirm
        // against. (The bytes read always hold the next header of a frame
        // that starts inside the search span, unless the audio ends first.)
        if (next + 4 > audio.size())
            return {FrameStart{p, header, 0}, false};
        const std::uint32_t following = wordAt(b + next);
        if (isValidHeader(following) && (following & kStreamBits) == (header & kStreamBits))
            return {FrameStart{p, header, 0}, true};
    }
    return {std::nullopt, end == kSearchSpan};
}

std::optional<FrameStart> findFirstFrame(std::string_view audio)
{
    return findFirstFrameIn(audio).found;
}

} // namespace zondari::mp3
