#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where the audio of an MP3 file starts: past the ID3v2 tags in front, the
// first MPEG audio frame that a second frame confirms.
namespace zondari::mp3 {

// The search looks at frame starts within this many bytes after the tags;
// the bytes it reads reach past that by the longest frame a free-format
// header may have and a VBR header's length.
inline constexpr std::size_t kSearchSpan = 64 * 1024;
inline constexpr std::size_t kFreeFormatSpan = 4096;
inline constexpr std::size_t kAudioWindow = kSearchSpan + kFreeFormatSpan + 64;

// The whole length of the ID3v2 tag whose 10-byte header opens `bytes`:
//   "ID3", major version, revision (neither 0xFF), flags, size as four
//   7-bit bytes (syncsafe, high bit clear), not counting the header or the
//   10-byte footer that flag 0x10 announces.
// 0 when `bytes` does not open with such a header.
std::uint64_t id3v2TagLength(std::string_view bytes);

struct FrameStart {
    std::size_t offset = 0; // in the bytes searched
    std::uint32_t header = 0;
    // A free-format frame's length: the distance to the next header that
    // equals it but for the padding bit; 0 for a frame with a table bit rate.
    std::uint32_t freeFormatLength = 0;
};

// The first frame start in `audio` (the bytes after the tags, up to
// kAudioWindow of them, not past the audio's end): a valid header whose next
// frame starts with a valid header of the same version, layer and sampling
// rate, unless the audio ends before that next header.
std::optional<FrameStart> findFirstFrame(std::string_view audio);

// The same search over the first bytes of a longer window, and whether its
// answer is final: whether every window that opens with these bytes gives
// it. It is not when the search ran out of bytes before it could decide.
struct PrefixSearch {
    std::optional<FrameStart> found;
    bool final = false;
};
PrefixSearch findFirstFrameIn(std::string_view audio);

} // namespace zondari::mp3
