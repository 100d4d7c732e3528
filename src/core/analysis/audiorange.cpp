#include "core/analysis/audiorange.h"

#include <string_view>

#include "core/analysis/framesearch.h"
#include "core/tags/id3v1.h"

namespace zondari::mp3 {
namespace {

std::uint32_t littleEndian(std::string_view b)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[0]))
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[1])) << 8
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[2])) << 16
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[3])) << 24;
}

// The length of the tag that ends just before `end`, 0 when none does.
//   ID3v1: "TAG" and 125 bytes.
//   APE: a 32-byte footer "APETAGEX", version, size (items and footer,
//   little-endian at 12), item count, flags (at 20; bit 31 a 32-byte
//   header in front).
//   Lyrics3 v2: the block, its size in six digits, "LYRICS200"; v1:
//   "LYRICSBEGIN" ... "LYRICSEND", at most 5,100 bytes between.
std::uint64_t tagEndingAt(std::uint64_t end, std::uint64_t begin, const ReadAt& read)
{
    constexpr std::uint64_t kLyrics1Most = 5100 + 11 + 9;
    const std::uint64_t room = end - begin;
    if (room >= kTagSize && read(end - kTagSize, 3) == "TAG")
        return kTagSize;
    if (room >= 32) {
        const std::string footer = read(end - 32, 32);
        if (footer.size() == 32 && footer.starts_with("APETAGEX")) {
            const std::uint64_t size = std::uint64_t{littleEndian(footer.substr(12, 4))}
                + (littleEndian(footer.substr(20, 4)) >> 31 ? 32 : 0);
            return size >= 32 && size <= room ? size : 0;
        }
    }
    // A read that failed gives fewer bytes: no tag is taken from them.
    if (const std::string last = room >= 15 ? read(end - 15, 15) : std::string(); last.size() == 15) {
        if (last.substr(6) == "LYRICS200" && last.find_first_not_of("0123456789") >= 6) {
            const std::uint64_t size = std::stoull(last.substr(0, 6)) + 15;
            return size <= room && read(end - size, 11) == "LYRICSBEGIN" ? size : 0;
        }
        if (last.substr(6) == "LYRICSEND") {
            const std::uint64_t span = std::min(room, kLyrics1Most);
            const std::string block = read(end - span, static_cast<std::size_t>(span));
            const std::size_t at = block.rfind("LYRICSBEGIN");
            return at == std::string::npos ? 0 : span - at;
        }
    }
    return 0;
}

} // namespace

std::optional<AudioRange> audioRange(const Mp3Bytes& file, const ReadAt& read)
{
    if (file.fileLength < kShortestAnalysed)
        return std::nullopt;
    const auto start = findFirstFrame(file.audio);
    if (!start)
        return std::nullopt;
    AudioRange r{file.tagsInFront + start->offset, file.fileLength};
    const FrameHeader h = splitHeader(start->header);
    if (readVbrHeader(std::string_view(file.audio).substr(start->offset), h).kind != VbrKind::None)
        r.begin += start->freeFormatLength ? start->freeFormatLength : frameLength(h);
    // Each tag may follow another: a few at most.
    for (int k = 0; k < 4 && r.end > r.begin; ++k) {
        const std::uint64_t tag = tagEndingAt(r.end, r.begin, read);
        if (tag == 0)
            break;
        r.end -= tag;
    }
    r.end = std::max(r.end, r.begin);
    return r;
}

} // namespace zondari::mp3
