#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/folding.h"
#include "core/catalogue/searchquery.h"
#include "core/catalogue/sidefile.h"

// The HTML pages made from catalogues: "default.htm" (one catalogue, every
// file a link), the general database page (every catalogue) and the search
// page (the entries that hold a text). Pages are UTF-8 with the charset
// declared, CR LF line ends; every text taken from a catalogue is escaped and
// every link is a real file URL.
//
// The lines of a catalogue are read as the catalogue reader reads them (see
// LineCoding), and shown, matched and linked the same way whichever path the
// search takes: a name that is not UTF-8 is shown with U+FFFD for the bytes
// that are not, and linked by its own bytes.
namespace zondari::catalogue {

inline constexpr const char* kExportPageName = "default.htm";
inline constexpr const char* kDatabasePageName = "zondari-database-generale.htm";
inline constexpr const char* kSearchPageName = "zondari-pagina-di-ricerca.htm";

// What `rebuildnew` takes for the general page instead of a search text.
inline constexpr const char* kWholeDatabase = "*";

inline constexpr const char* kInvalidSearchTextMessage
    = "Il testo da cercare contiene caratteri non validi: scriverlo di nuovo.";

// The head every page shares, up to and including "<body>", titled `title`.
void appendPageHead(std::string& out, std::string_view title);

// Text made safe to stand in an HTML page, in text or in a quoted attribute.
std::string htmlEscape(std::string_view text);

// The file URL of a catalogued path: "/media/cd/a b.mp3" gives
// file:///media/cd/a%20b.mp3, "C:\Musica\x.mp3" (a catalogue made on
// Windows) gives file:///C:/Musica/x.mp3, "\\server\share\x.mp3" gives
// file://server/share/x.mp3. Everything but letters, digits and the few
// marks that are safe in a path is percent-encoded, byte by byte: the bytes
// of a name that is not UTF-8 are kept, so the link opens that file.
std::string fileUrl(std::string_view path);

// The text a search looks for: the typed text without CR and LF, which no
// entry holds; nothing when it is not UTF-8 text.
std::optional<std::string> searchTextOf(std::string_view typed);

// The search rule: an entry matches when it holds the search text anywhere
// (folders and extension included); without case sensitivity both are
// compared upper-cased, for every letter the system knows. The entry is
// the text shown for it (see displayText).
class EntryMatcher {
public:
    EntryMatcher(std::string_view text, bool caseSensitive);
    bool matches(std::string_view entry) const;
    const std::string& needle() const { return needle_; }
    bool caseSensitive() const { return caseSensitive_; }

private:
    std::string needle_; // upper-cased unless case-sensitive
    bool caseSensitive_;
};

// What the listed file entries of a catalogue add up to, for its totals
// line when no volume file holds them.
struct DataTotals {
    std::uint64_t files = 0, bytes = 0;
    std::int64_t seconds = 0;
    bool anyRow = false;
};

// What the pages show of a catalogue's data beyond names: each file's row
// by its entry, and the volume's totals when its file holds them. Empty
// for a catalogue without side files, whose lines stay as they always were.
struct CatalogueData {
    std::map<std::string, TrackData, std::less<>> rows;
    std::optional<VolumeData> volume;
    bool empty() const { return rows.empty() && !volume; }
    const TrackData* row(std::string_view entry) const
    {
        const auto it = rows.find(entry);
        return it == rows.end() ? nullptr : &it->second;
    }
};

// " (3,4 MB, 3:05, 192 kbps)" beside a file's link; a file that is not
// audio shows its size alone.
std::string figuresText(const TrackData& row);

// The page of one catalogue ("default.htm"): its title and its entries as
// the program holds them, in order; folder entries as paragraph heads, file
// entries as links named by the file name.
// With `data`, each file shows its figures and the catalogue its totals.
std::string exportPage(
    std::string_view title, const std::vector<std::string>& entries, const CatalogueData* data = nullptr);

// The same page piece by piece, from a catalogue file read a block at a
// time: `begin`, `beginCatalogue` with the title line, `addLines` with each
// block of lines, `end`. Each call appends to `out`.
class ExportPage {
public:
    // The data of the catalogue about to begin; none, or empty, changes nothing.
    void setData(const CatalogueData* data) { data_ = data; }
    void begin(std::string& out) const;
    void beginCatalogue(std::string_view title, LineCoding coding, std::string& out);
    // False, with nothing added, when `coding` is Undecided and a line is
    // not UTF-8: the catalogue must be read again as Windows-1252.
    bool addLines(std::string_view lines, LineCoding coding, std::string& out);
    void endCatalogue(std::string& out);
    void addEntry(std::string_view entry, std::string& out); // one entry as the program holds it
    void end(std::string& out) const;

private:
    std::string decoded_; // kept between blocks so that memory is reused
    const CatalogueData* data_ = nullptr;
    DataTotals totals_;
};

// What `rebuildnew` is asked: the general page (`text` "*"), or the search
// page for `text` with the two options.
struct PageRequest {
    std::string text = kWholeDatabase;
    bool caseSensitive = false;
    bool folders = true; // folder entries that hold the text are listed too

    bool wholeDatabase() const { return text == kWholeDatabase; }
    const char* pageName() const { return wholeDatabase() ? kDatabasePageName : kSearchPageName; }
};

// Writes the general or the search page piece by piece, so that any number
// of catalogues passes through a bounded amount of memory: `begin`; for each
// catalogue either `addCatalogue` with its file's bytes, or
// `beginCatalogue`, `addLines` with each block of its lines and
// `endCatalogue`; then `end`. Each call appends to `out`, which the caller
// empties into the page file as it likes. A search text is taken as
// `searchTextOf` takes it.
class DatabasePage {
public:
    explicit DatabasePage(PageRequest request);

    // The data of the catalogue about to begin (see ExportPage::setData).
    void setData(const CatalogueData* data) { data_ = data; }
    void begin(std::string& out) const;
    // A whole catalogue file as it is on disk (UTF-8, Windows-1252 or
    // marked; CR LF or LF).
    void addCatalogue(std::string_view bytes, std::string& out);
    void beginCatalogue(std::string_view title, LineCoding coding, std::string& out);
    // False, with nothing added, when `coding` is Undecided and a line is
    // not UTF-8: the catalogue must be read again as Windows-1252.
    bool addLines(std::string_view lines, LineCoding coding, std::string& out);
    void endCatalogue(std::string& out);
    void end(std::string& out) const;

    // The file entries listed on a search page so far; set back when a
    // catalogue is read again.
    long hits() const { return hits_; }
    void restoreHits(long hits) { hits_ = hits; }
    const PageRequest& request() const { return request_; }

private:
    void addMatches(std::string_view text, std::string_view hay, std::string& out);
    void addMatchesLineByLine(std::string_view text, bool utf8, std::string& out);
    void addEntry(std::string_view entry, std::string_view shown, std::string& out);

    PageRequest request_;
    SearchQuery query_;
    EntryMatcher matcher_;
    const CatalogueData* data_ = nullptr;
    DataTotals totals_;
    long hits_ = 0;
    std::string decoded_; // kept between blocks so that memory is reused
    std::string folded_;
};

} // namespace zondari::catalogue
