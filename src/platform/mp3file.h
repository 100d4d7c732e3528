#pragma once

#include <cstdint>
#include <optional>
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

// The track gain the encoder wrote in its own tag (LAME's radio gain), in
// decibels; none without one.
std::optional<double> encoderGainDb(const std::string& path);

// The track's ReplayGain gain in decibels: the ID3v2 tag's
// REPLAYGAIN_TRACK_GAIN, else the encoder's; none without either.
std::optional<double> trackGainDb(const std::string& path);

// Files shorter than this are never read nor written by the tag editor.
inline constexpr std::uint64_t kShortestTagged = 255;

} // namespace zondari::mp3file

namespace zondari {

// Which file a name led to and how it stood: enough to tell, at a save,
// that another program has since replaced, cut short, grown or rewritten
// it.
struct FileState {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileState&) const = default;
};

// What a read of the ID3v1 tag found: the file's state (which file the name
// led to and how it stood), and its tag when it has one.
struct TagRead {
    FileState state;
    std::optional<TagRecord> tag; // none: shorter than 255 bytes, or no "TAG" at the end
};

// Reads the ID3v1 tag ("TAG" exactly) at the end of `fileName`. An empty
// name, a file that cannot be opened, is not a regular file or whose last
// 128 bytes cannot be read gives its error: a read that failed is never
// taken for a file without a tag.
Result<TagRead> ReadTag(const std::string& fileName);

// Changed: the file is no longer in the state the caller saw, and nothing
// was written. NotMp3: the analysis finds no MPEG audio frame in it (a WAV),
// and nothing was written. ChangedWhileWriting: the tag was written, but
// another program rewrote or replaced the file meanwhile, so the tag may sit
// in that program's data; it is left there, as the file is that program's
// now.
enum class TagWrite { Written, TooShort, Changed, NotMp3, ChangedWhileWriting };

// Writes `tag` over the file's ID3v1 tag, or appends one when it has none.
// Nothing before the last 128 bytes is ever changed; a file shorter than 255
// bytes, or one that holds no MPEG audio, is left alone. The data is on disk
// when it reports Written; any failure to open, read, write or flush is its
// error (number 70 when the system reports the file busy): a marker that
// cannot be read is never taken for a missing one.
//
// With `known` (the state the caller saw when it read the tag), a file
// that has changed since is refused (Changed), so that a tag never lands
// in the middle of a file cut short or in one put in its place; after a
// write, `known` holds the state the write left.
//
// After the write the file is looked at again: the name must still lead to
// the file written, of the length the write left, and the bytes that the
// check before the write read (and a sample spread over the rest) must be
// as they were.
Result<TagWrite> WriteTag(const std::string& fileName, const TagRecord& tag, FileState* known = nullptr);

} // namespace zondari
