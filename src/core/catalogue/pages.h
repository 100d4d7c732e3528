#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The HTML pages made from catalogues: "default.htm" (one catalogue, every
// file a link), the general database page (every catalogue) and the search
// page (the entries that hold a text). Pages are UTF-8 with the charset
// declared, CR LF line ends; every text taken from a catalogue is escaped and
// every link is a real file URL.
namespace zondari::catalogue {

inline constexpr const char* kExportPageName = "default.htm";
inline constexpr const char* kDatabasePageName = "zondari-database-generale.htm";
inline constexpr const char* kSearchPageName = "zondari-pagina-di-ricerca.htm";

// What `rebuildnew` takes for the general page instead of a search text.
inline constexpr const char* kWholeDatabase = "*";

// Text made safe to stand in an HTML page, in text or in a quoted attribute.
std::string htmlEscape(std::string_view text);

// The file URL of a catalogued path: "/media/cd/a b.mp3" gives
// file:///media/cd/a%20b.mp3, "C:\Musica\x.mp3" (a catalogue made on
// Windows) gives file:///C:/Musica/x.mp3, "\\server\share\x.mp3" gives
// file://server/share/x.mp3. Everything but letters, digits and the few
// marks that are safe in a path is percent-encoded (UTF-8).
std::string fileUrl(std::string_view path);

// The page of one catalogue ("default.htm"): its title and its entries in
// order; folder entries as paragraph heads, file entries as links named by
// the file name.
std::string exportPage(std::string_view title, const std::vector<std::string>& entries);

// The search rule: an entry matches when it holds the search text anywhere
// (folders and extension included); without case sensitivity both are
// compared upper-cased, for every letter the system knows.
class EntryMatcher {
public:
    EntryMatcher(std::string_view text, bool caseSensitive);
    bool matches(std::string_view entry) const;
    const std::string& needle() const { return needle_; }
    bool caseSensitive() const { return caseSensitive_; }

private:
    std::string needle_;  // upper-cased unless case-sensitive
    bool caseSensitive_;
};

// Upper-cases UTF-8 text into `out` (replacing its contents), the way
// text::toUpper does, fast for long texts. Returns false when some letter's
// upper case has another length in bytes, so that positions in `out` no
// longer match positions in `text` (`out` is still the upper-cased text).
bool upperCaseInto(std::string_view text, std::string& out);

// What `rebuildnew` is asked: the general page (`text` "*"), or the search
// page for `text` with the two options.
struct PageRequest {
    std::string text = kWholeDatabase;
    bool caseSensitive = false;
    bool folders = true;  // folder entries that hold the text are listed too

    bool wholeDatabase() const { return text == kWholeDatabase; }
    const char* pageName() const { return wholeDatabase() ? kDatabasePageName : kSearchPageName; }
};

// Writes the general or the search page piece by piece, so that any number
// of catalogues passes through a bounded amount of memory: `begin`, then
// `addCatalogue` with each catalogue file's bytes as they are on disk
// (UTF-8 or Windows-1252, CR LF or LF), then `end`. Each call appends to
// `out`, which the caller empties into the page file as it likes.
class DatabasePage {
public:
    explicit DatabasePage(PageRequest request);

    void begin(std::string& out) const;
    void addCatalogue(std::string_view bytes, std::string& out);
    void end(std::string& out) const;

    // The file entries listed on a search page so far.
    long hits() const { return hits_; }
    const PageRequest& request() const { return request_; }

private:
    void addAll(std::string_view text, std::size_t from, std::string& out) const;
    void addMatches(std::string_view text, std::string_view hay, std::size_t from, std::string& out);
    void addMatchesLineByLine(std::string_view text, std::size_t from, std::string& out);
    void addEntry(std::string_view entry, std::string& out);

    PageRequest request_;
    EntryMatcher matcher_;
    long hits_ = 0;
    std::string decoded_;  // kept between catalogues so that memory is reused
    std::string folded_;
};

}  // namespace zondari::catalogue
