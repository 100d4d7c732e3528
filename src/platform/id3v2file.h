#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/tags/id3v2.h"

namespace zondari {

// The ID3v2 tag at the start of a file, read with TagLib. The file is
// opened read-only and only its tag is read: never the audio. A file that
// cannot be read, has no ID3v2 tag or a damaged header gives a tag that is
// not present(), never an error.
Id3v2Tag readId3v2(const std::string& path);

namespace id3v2file {

// At most this much of a tag is handed to TagLib, so that a tag whose size
// claims more (a damaged header in a large file, or a huge picture) keeps
// the memory bounded; the text frames, which come first, still read.
inline constexpr std::uint64_t kLargestRead = 16ull << 20;

// The tag that opens `start` (the first bytes of a file, the tag's header
// first): what readId3v2 does with the bytes it read. Reads only `start`.
Id3v2Tag fromBytes(std::string_view start);

} // namespace id3v2file
} // namespace zondari
