#include "core/tags/id3v2.h"

#include <charconv>
#include <cmath>

#include "core/analysis/genres.h"
#include "core/common/encoding.h"
#include "core/common/text.h"
#include "core/tags/id3v1.h"

namespace zondari::id3v2 {
namespace {

bool allDigits(std::string_view s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// A number of at most three digits (an ID3v1 genre is a byte); -1 otherwise.
int smallNumber(std::string_view s)
{
    if (!allDigits(s) || s.size() > 3)
        return -1;
    int n = 0;
    std::from_chars(s.data(), s.data() + s.size(), n);
    return n <= 255 ? n : -1;
}

// What an ID3v1 field can hold: Windows-1252 ("?" for what it lacks), at
// most `length` characters, back as UTF-8 for the editor's boxes.
std::string asId3v1(std::string_view text, std::size_t length)
{
    std::string bytes = encoding::utf8ToCp1252Lossy(text);
    if (bytes.size() > length)
        bytes.resize(length);
    return encoding::cp1252ToUtf8(bytes);
}

} // namespace

std::optional<double> gainFromText(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double db = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), db);
    if (error != std::errc() || !std::isfinite(db))
        return std::nullopt;
    return db;
}

std::string blockCaption(const Id3v2Tag& tag)
{
    return tag.present() ? "ID3v2." + std::to_string(tag.version) : std::string(kAbsentText);
}

std::array<std::string, kFieldCount> fieldValues(const Id3v2Tag& tag)
{
    return {tag.title, tag.artist, tag.album, tag.year, tag.comment, tag.track, tag.genre};
}

Genre genreFromText(std::string_view text)
{
    const std::string s = text::trimSpaces(text);
    if (const int n = smallNumber(s); n >= 0)
        return {n == 255 ? "" : GenreName(n), n};
    // ID3v2.3 writes references to ID3v1 genres in parentheses, optionally
    // followed by a refinement: "(4)", "(4)Eurodisco".
    if (s.size() > 2 && s[0] == '(') {
        const std::size_t close = s.find(')');
        if (close != std::string::npos) {
            const std::string_view inside = std::string_view(s).substr(1, close - 1);
            const std::string rest = s.substr(close + 1);
            int n = smallNumber(inside);
            std::string name;
            if (inside == "RX")
                name = "Remix";
            else if (inside == "CR")
                name = "Cover";
            else if (n >= 0 && n != 255)
                name = GenreName(n);
            if (n < 0 && name.empty())
                return {s, -1}; // not a reference: a name that starts with "("
            // A refinement "((" escapes a name that starts with "(".
            if (!rest.empty())
                name = rest.rfind("((", 0) == 0 ? rest.substr(1) : rest;
            return {name, n};
        }
    }
    return {s, -1};
}

std::string yearFromDate(std::string_view date)
{
    if (date.size() >= 4 && allDigits(date.substr(0, 4)))
        return std::string(date.substr(0, 4));
    return std::string(date);
}

int editorGenre(const Id3v2Tag& tag)
{
    if (tag.genreNumber >= 0)
        return static_cast<std::size_t>(tag.genreNumber) < tageditor::kGenreCount ? tag.genreNumber : -1;
    if (tag.genre.empty())
        return -1;
    const std::string wanted = text::toLower(tag.genre);
    const auto& list = tageditor::genres();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (text::toLower(list[i]) == wanted || text::toLower(GenreName(static_cast<int>(i))) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

tageditor::Fields toEditorFields(const Id3v2Tag& tag)
{
    tageditor::Fields f;
    f.title = asId3v1(tag.title, 30);
    f.artist = asId3v1(tag.artist, 30);
    f.album = asId3v1(tag.album, 30);
    f.year = asId3v1(tag.year, 4);
    f.comment = asId3v1(tag.comment, 29);
    f.genre = editorGenre(tag);
    return f;
}

} // namespace zondari::id3v2
