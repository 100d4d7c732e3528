#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zondari {

// The ID3v1 record: the last 128 bytes of an MP3 file.
//   offset 0   3  "TAG"
//          3  30  title
//         33  30  artist
//         63  30  album
//         93   4  year
//         97  29  comment
//        126   1  track byte
//        127   1  genre byte (255: no genre)
// Text is Windows-1252, padded to the field's length; nothing is
// NUL-terminated, though many taggers pad with NULs.
inline constexpr std::size_t kTagSize = 128;

// The editor's record in memory. Text fields hold UTF-8 text; writing cuts
// each to its field's length or pads it with spaces.
struct TagRecord {
    std::string Title; // 30
    std::string Artist; // 30
    std::string Album; // 30
    std::string Year; // 4
    std::string Comment; // 29
    std::uint8_t TrackByte = 0;
    std::uint8_t GenreByte = 255;
};

namespace id3v1 {

// The record in the last 128 bytes of a file (`tail`), with its fields as
// stored (padding included). The marker must be "TAG" exactly, unless
// `anyCase`, which also takes "tag", "Tag"...
std::optional<TagRecord> decode(std::string_view tail, bool anyCase = false);

// The 128 bytes of a record: "TAG" and the fields, each cut or padded with
// spaces. A comment short enough to leave its last byte free gets a NUL there
// when a track number is stored, so that other players still read the track
// (the ID3v1.1 layout).
std::string encode(const TagRecord& tag);

// A field as the user sees it: up to its first NUL, trailing spaces removed.
std::string fieldText(std::string_view field);

} // namespace id3v1

// The characters after the last "/", "\" or ":" of a path; the whole text
// when it has none; "" when it ends with one.
std::string FileNamePart(std::string_view path);

} // namespace zondari
