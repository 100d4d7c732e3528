#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The catalogue file: line 1 the title, then one line per entry in catalogue
// order. No header, count or quoting; CR LF line ends; Windows-1252 when every
// character fits, else UTF-8 (files made on Windows read back unchanged).
//
// A file name on Linux is any bytes, not always UTF-8. A catalogue holding
// such a name is written in UTF-8 behind a byte order mark, the name's bytes
// as they are: the mark tells the reader that a line that is not UTF-8 is a
// name's own bytes, not Windows-1252 text, so the name reads back as the file
// it names.
//
// An entry as the program holds it is the path's bytes: UTF-8 text, or the
// bytes of such a name; a catalogue made on Windows is held decoded into
// UTF-8.
namespace zondari::catalogue {

inline constexpr const char* kAnonymousTitle = "Anonimo";

// The byte order mark that starts a catalogue holding names not in UTF-8.
inline constexpr std::string_view kRawNamesMark = "\xEF\xBB\xBF";

// The longest path a Linux file system takes. A longer entry names nothing
// that can be opened: readers pass it over, so that a damaged file cannot
// make them keep gigabytes.
inline constexpr std::size_t kMaxPathBytes = 4096;

// How much of the title line is kept; the list shows its first 500
// characters.
inline constexpr std::size_t kMaxTitleBytes = 4096;

// How the lines of a catalogue file read.
enum class LineCoding {
    Undecided, // no line so far that is not UTF-8; the first such line makes the whole file Windows-1252
    Utf8, // every line is UTF-8
    Windows1252, // made on Windows
    RawNames, // marked: UTF-8, and a line that is not UTF-8 holds a name's own bytes
};

struct Catalogue {
    std::string title;
    std::vector<std::string> entries;
};

// The bytes of the file. An entry holding a line break would come back as
// two entries, and an entry longer than any path would not come back: both
// are left out. A title's line breaks become spaces.
std::string catalogueBytes(const Catalogue& catalogue);

// A catalogue from the bytes of its file (either encoding or marked, CR LF
// or LF): the title cut as `cutTitle` cuts it, entries longer than any path
// left out. An empty file gives an empty title and no entries.
Catalogue parseCatalogue(std::string_view bytes);

// Whether an entry is longer than any path (a folder entry's parentheses
// aside).
bool entryTooLong(std::string_view entry);

// A line of a catalogue file without its end: every CR before the LF goes,
// as a file whose CR LF ends went through a CR LF conversion once more ends
// its lines with CR CR LF. (No entry holds a CR: the writer leaves such
// entries out.)
inline std::string_view withoutLineEnd(std::string_view line)
{
    while (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// Each line of `text` (lines as CatalogueReader::next hands them out), in
// order, without its end.
template <class Each> void forEachLine(std::string_view text, Each each)
{
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t nl = text.find('\n', from);
        if (nl == std::string_view::npos)
            nl = text.size();
        each(withoutLineEnd(text.substr(from, nl - from)));
        from = nl + 1;
    }
}

// The first kMaxTitleBytes bytes of a title line, without cutting a UTF-8
// character in two.
std::string_view cutTitle(std::string_view line);

// A line as the program holds it: Windows-1252 decoded into UTF-8, any other
// coding as it is.
std::string decodeLine(std::string_view line, LineCoding coding);

// A title line read on its own (the list, the window's title label, a marked
// file's title): a UTF-8 line as it is, any other as Windows-1252. A title is
// text the user typed, never a name's bytes, even in a marked file.
std::string decodeTitle(std::string_view line);

// A title line in a file of that coding: as `decodeLine`, but a marked file's
// title as `decodeTitle`.
std::string decodeTitleLine(std::string_view line, LineCoding coding);

// Text that can be shown: each byte that is not part of a UTF-8 character
// becomes U+FFFD, the replacement character.
std::string displayText(std::string_view entry);

} // namespace zondari::catalogue
