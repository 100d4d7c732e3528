#pragma once

#include <cstdint>
#include <optional>

#include "core/analysis/mp3analysis.h"

namespace zondari::mp3 {

// Where an MP3 file's MPEG audio frames lie: from its first frame to the
// tags at its end. Left out are the ID3v2 tags in front, the first frame
// when it carries a Xing, Info or VBRI header (which gain and tag tools
// rewrite), and an ID3v1 tag, an APE tag and a Lyrics3 block (v1 or v2) at
// the end, in any order. The same music retagged or renamed has the same
// range's bytes.
struct AudioRange {
    std::uint64_t begin = 0, end = 0;
    std::uint64_t size() const { return end - begin; }
};

// `file` as collectMp3Bytes gathered it; `read` reads more of the file's end
// when its tags need it. Nothing when the file holds no MPEG frame.
std::optional<AudioRange> audioRange(const Mp3Bytes& file, const ReadAt& read);

} // namespace zondari::mp3
