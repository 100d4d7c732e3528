#include "core/tags/id3v1.h"

#include "core/common/encoding.h"
#include "core/common/text.h"

namespace zondari {
namespace {

constexpr std::size_t kTitle = 3, kArtist = 33, kAlbum = 63, kYear = 93, kComment = 97, kTrack = 126, kGenre = 127;

std::string field(std::string_view tail, std::size_t offset, std::size_t length)
{
    return encoding::cp1252ToUtf8(tail.substr(offset, length));
}

// Text as Windows-1252 bytes, cut or padded with spaces to `length`.
std::string fixed(std::string_view text, std::size_t length)
{
    std::string bytes = encoding::utf8ToCp1252Lossy(text);
    bytes.resize(length, ' ');
    return bytes;
}

} // namespace

namespace id3v1 {

std::optional<TagRecord> decode(std::string_view tail, bool anyCase)
{
    if (tail.size() != kTagSize)
        return std::nullopt;
    const std::string_view marker = tail.substr(0, 3);
    if (anyCase ? text::toUpperAscii(marker) != "TAG" : marker != "TAG")
        return std::nullopt;
    TagRecord tag;
    tag.Title = field(tail, kTitle, 30);
    tag.Artist = field(tail, kArtist, 30);
    tag.Album = field(tail, kAlbum, 30);
    tag.Year = field(tail, kYear, 4);
    tag.Comment = field(tail, kComment, 29);
    tag.TrackByte = static_cast<std::uint8_t>(tail[kTrack]);
    tag.GenreByte = static_cast<std::uint8_t>(tail[kGenre]);
    return tag;
}

std::string encode(const TagRecord& tag)
{
    std::string out = "TAG";
    out.reserve(kTagSize);
    out += fixed(tag.Title, 30);
    out += fixed(tag.Artist, 30);
    out += fixed(tag.Album, 30);
    out += fixed(tag.Year, 4);
    std::string comment = encoding::utf8ToCp1252Lossy(tag.Comment);
    const bool roomForMarker = comment.size() < 29;
    comment.resize(29, ' ');
    if (tag.TrackByte != 0 && roomForMarker)
        comment[28] = '\0';
    out += comment;
    out += static_cast<char>(tag.TrackByte);
    out += static_cast<char>(tag.GenreByte);
    return out;
}

std::string fieldText(std::string_view field)
{
    return text::trimRightSpaces(field.substr(0, field.find('\0')));
}

} // namespace id3v1

std::string FileNamePart(std::string_view path)
{
    const std::size_t cut = path.find_last_of("/\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

} // namespace zondari
