#pragma once

#include <string>

#include "core/analysis/mp3analysis.h"
#include "core/common/result.h"
#include "core/tags/id3v1.h"

// The few file reads and the one write that the MP3 analysis and the tag
// editor need; the rules live in core.
namespace zondari::mp3file {

// The bytes the analysis needs: the file's length, the ID3v2 tags skipped,
// the first frames after them and the last 128 bytes. A folder or a file
// that cannot be opened gives its error.
Result<mp3::Mp3Bytes> readMp3Bytes(const std::string& path);

// Files shorter than this are never read nor written by the tag editor.
inline constexpr std::uint64_t kShortestTagged = 255;

}  // namespace zondari::mp3file

namespace zondari {

// Reads the ID3v1 tag ("TAG" exactly) at the end of `fileName`. False when
// the name is empty, the file cannot be read, is shorter than 255 bytes or
// has no tag.
bool ReadTag(const std::string& fileName, TagRecord& tag);

enum class TagWrite { Written, TooShort };

// Writes `tag` over the file's ID3v1 tag, or appends one when it has none.
// Nothing before the last 128 bytes is ever changed; a file shorter than 255
// bytes is left alone. The data is on disk when it reports Written; any
// failure to open, write or flush is its error (number 70 when the system
// reports the file busy).
Result<TagWrite> WriteTag(const std::string& fileName, const TagRecord& tag);

}  // namespace zondari
