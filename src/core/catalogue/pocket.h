#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/search.h"
#include "core/catalogue/sidefile.h"
#include "core/common/bytesink.h"
#include "core/common/bytesource.h"
#include "core/common/result.h"

// The pocket catalogue: one HTML file that holds every catalogue of the user
// and searches them in the browser as the user types, with the search
// dialog's rule and options. It needs nothing beside it (no script, style or
// picture of its own), so that it works copied on a USB stick or a phone.
//
// The data is kept small: each catalogue's folder paths are written once and
// its files refer to them by number, so a file costs little more than its
// name. The data is plain text in a script element of type "text/plain",
// which the browser neither runs nor parses as markup; every character
// that could end that element or be taken for markup ("<") and every
// control character is written as kDataEscape and two hex digits.
//
// The data, one catalogue after the other, each as lines ended by LF:
//   its title; its file name;
//   "F,K," then its items: F folders, K file names, and in catalogue order
//     f*4 then a count for a run of that many files in folder f, f*4+1 for
//     the folder entry "(" + folder f without its last character + ")",
//     f*4+2 for the same without ")";
//   the links given for its files (numbered in catalogue order) whose names
//     are not UTF-8, kept by their own bytes: "n url" pairs, space-separated;
//   "b" and a set of 2^b bits in base 64: the pairs of adjacent UTF-16 units
//     of its folders and names upper-cased, each x = first << 16 | second
//     setting bit (x * 0x9E3779B1 mod 2^32) >> (32 - b), so that a search
//     passes over a catalogue that lacks a pair of its text; then, when
//     the scan's data of some of its files is known, a space and W;
//   its F folders (the path up to and with the last "/" or "");
//   its K file names (the part after it);
//   with data, W words (the sizes as shown and the tags, each once; a line
//     feed in a tag becomes a carriage return, which no search text holds)
//     and K lines, one a file: empty without data, the size's word alone
//     for a file that is not MP3 audio, else "seconds,kbps,size,title,
//     artist,album,year,genre" with the words by number and "-" for an
//     empty tag; a field equal to the MP3 before's is left empty, and
//     empty fields at the line's end are left out (it keeps "seconds,").
namespace zondari::catalogue {

inline constexpr const char* kPocketPageName = "zondari-catalogo-tascabile.htm";

// Starts an escaped character in the page's data (a control character, so
// that no text holds it unescaped).
inline constexpr char kDataEscape = '\x10';

// What went into a pocket page.
struct PocketSummary {
    std::size_t catalogues = 0;
    std::size_t files = 0;
    std::size_t lines = 0; // of the page's data
    std::vector<UnreadCatalogue> leftOut; // the catalogues that could not be read
};

// The side rows of the catalogue at a path, each handed to `take`.
using SideRows = std::function<void(const std::string& cataloguePath, const std::function<void(TrackData&&)>& take)>;

// The page piece by piece: `begin`; for each catalogue `takeRows` when it
// has data, `beginCatalogue`
// (again when the catalogue is read anew as Windows-1252, which drops what
// was taken of it), `addLines` with each block of its lines and
// `endCatalogue`; then `end`. Only the catalogue being read is held in
// memory; each call that writes appends to `out`.
class PocketPage {
public:
    void begin(std::string& out) const;
    // The scan's data of the next catalogue's files, by entry.
    void takeRows(std::map<std::string, TrackData, std::less<>> rows) { rows_ = std::move(rows); }
    // `name`: the catalogue's file name; `title`: its title line's bytes.
    void beginCatalogue(std::string_view name, std::string_view title, LineCoding coding);
    // False, with nothing taken, when `coding` is Undecided and a line is
    // not UTF-8: the catalogue must be read again as Windows-1252.
    bool addLines(std::string_view lines, LineCoding coding);
    void endCatalogue(std::string& out);
    void end(std::string& out) const;

    PocketSummary summary() const { return summary_; }

private:
    void addEntry(std::string_view entry, std::string_view shown, bool utf8);
    std::size_t folderIndex(std::string_view folder);
    void closeRun();
    void noteCharacters(std::string_view text);
    void notePairs(std::string_view text);
    void appendPairFilter(std::string& out) const;
    void addData(std::string_view entry);
    std::string word(std::string_view text); // its number; "-" for an empty text

    PocketSummary summary_;
    // The catalogue being read.
    std::string name_, title_;
    std::string names_, folders_, items_, links_;
    std::unordered_map<std::string, std::size_t> folderIds_;
    std::unordered_set<std::uint32_t> pairs_; // adjacent UTF-16 units of its upper-cased lines
    std::map<std::string, TrackData, std::less<>> rows_;
    std::string words_, data_;
    std::unordered_map<std::string, std::size_t> wordIds_;
    std::size_t dataRows_ = 0;
    std::array<std::string, 8> previous_; // the last MP3's fields
    bool havePrevious_ = false;
    std::string folded_;
    std::size_t files_ = 0;
    std::size_t runFolder_ = 0, runLength_ = 0;
    std::string decoded_; // kept between blocks so that memory is reused
    // How often each character occurs in the names and folders: the page
    // checks how the browser upper-cases each, and searches for the rarest
    // character of a text first.
    std::array<std::uint64_t, 128> ascii_{};
    std::unordered_map<char32_t, std::uint64_t> others_;
};

// Makes the pocket page into `sink` from the catalogue files `catalogues`
// (full paths, in the order they are listed, each opened by `open`, its
// files' data read by `rows`). A catalogue that cannot be read is left
// out, and named in the summary.
Result<PocketSummary> makePocketPage(ByteSink& sink, const std::vector<std::string>& catalogues,
    const SourceOpener& open, const PageProgress& progress = {}, const SideRows& rows = {});

// Text as it stands in the page's data (see kDataEscape).
void appendDataText(std::string& out, std::string_view text);

} // namespace zondari::catalogue
