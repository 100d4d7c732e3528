#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// What a scan knows of each catalogued file beyond its name, kept in files
// beside the catalogue so that the catalogue itself stays what every reader
// of it expects:
//
//   <base>.tsv         one row per file entry, keyed by the entry's exact
//                      text, under a header row: a table a spreadsheet
//                      opens, sorts and filters as it is;
//   <base>.volume.tsv  the volume's identity and totals, one "chiave valore"
//                      row per field, read without the table of thousands of
//                      rows.
//
// Both are UTF-8 with tab-separated fields and LF line ends. In a field, a
// tab, a line feed, a carriage return and a backslash are written "\t",
// "\n", "\r" and "\\", and a byte that is not part of UTF-8 "\xHH", so that
// every name's bytes come back as they were.
namespace zondari::catalogue {

inline constexpr std::string_view kSideExtension = ".tsv";
inline constexpr std::string_view kVolumeExtension = ".volume.tsv";

// "ZOND_X_1.txt" gives "ZOND_X_1.tsv" and "ZOND_X_1.volume.tsv".
std::string sideFileName(std::string_view catalogueName);
std::string volumeFileName(std::string_view catalogueName);

// One file's row. An empty text or a zero number is a value the scan did
// not find (a file that is not an MP3 has only its size and date).
struct TrackData {
    std::string entry;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // seconds since 1970, UTC
    bool audio = false; // an MP3 whose frames were found: the fields below hold
    std::int32_t seconds = 0;
    std::int32_t kbps = 0; // a VBR file's average
    std::int32_t hz = 0;
    std::string channels; // as the details window names the mode
    std::string title, artist, album, year, genre, track;
    std::uint64_t audioBytes = 0; // the MPEG frames, without tags and the VBR header frame
    std::string fingerprint; // 32 hex digits of XXH3-128; empty when not taken
};

// The table's column names, and a row's fields as the files write them.
const std::vector<std::string_view>& sideColumns();
std::vector<std::string> sideFields(const TrackData& row);

// A tag's text is kept to this many characters, so that a row stays far
// below the longest line readers take.
inline constexpr std::size_t kMaxTagChars = 1000;

// The header row, with its line end.
std::string sideHeader();
// A row with its line end.
std::string sideRow(const TrackData& row);

// A field as the files write it, and back. An unknown escape stays as it is.
std::string escapeField(std::string_view text);
std::string unescapeField(std::string_view field);

// Readers keep lines up to this length and pass over longer ones, and stop
// after this many rows, so that a damaged file cannot make them hold
// gigabytes.
inline constexpr std::size_t kMaxSideLine = 64 * 1024;
inline constexpr std::size_t kMaxSideRows = 10'000'000;

// How a read of a side file went.
struct SideReadCount {
    bool header = false; // the file opens with the header row; else nothing was read
    std::size_t rows = 0; // rows read and handed on
    std::size_t badLines = 0; // lines too long or not of the table's shape
};

// Reads the rows of a side file's bytes, handing each to `take`. Bytes of
// a file read a block at a time may be given in pieces: `feed` keeps an
// unfinished line for the next piece, `finish` takes the last.
class SideReader {
public:
    explicit SideReader(std::function<void(TrackData&&)> take)
        : take_(std::move(take))
    {
    }
    void feed(std::string_view bytes);
    SideReadCount finish();

private:
    void line(std::string_view line);
    std::function<void(TrackData&&)> take_;
    std::string pending_;
    bool skipping_ = false; // inside a line that is too long
    bool first_ = true;
    SideReadCount count_;
};

// The rows of the entries the catalogue holds, by entry, and how many rows
// name no entry of it (an entry edited by hand, a file since scanned again).
struct SideData {
    std::map<std::string, TrackData, std::less<>> rows;
    std::size_t stale = 0;
    SideReadCount read;
};
SideData parseSideFile(std::string_view bytes, const std::function<bool(std::string_view entry)>& inCatalogue);

// The volume's data, as its file holds it.
struct VolumeData {
    std::string label;
    std::string serial; // as the catalogue name writes it: signed decimal
    std::string windowsSerial; // as Windows shows it: "1A2B-3C4D"
    std::string uuid, fileSystem;
    std::string folder; // the folder scanned
    std::string root; // where the volume was mounted then; empty in files written before it was kept
    std::uint64_t files = 0, bytes = 0;
    std::int64_t seconds = 0; // play time of all its MP3s
    std::uint64_t freeBytes = 0, totalBytes = 0;
    std::int64_t scanned = 0; // the scan's date: seconds since 1970, UTC
};
std::string volumeBytes(const VolumeData& volume);
// Fields that are missing or not numbers stay empty or 0; lines past the
// first hundred, or too long, are not read.
VolumeData parseVolumeFile(std::string_view bytes);

// "2026-12-08T12:01:25Z"; and back, nothing understood giving 0.
std::string isoDate(std::int64_t seconds);
std::int64_t parseIsoDate(std::string_view text);

// Italian figures: "1.234", "5,6 GB", "72:14:09", "3:05".
std::string groupedNumber(std::uint64_t n);
std::string byteSize(std::uint64_t bytes);
std::string hoursText(std::int64_t seconds);

// "1.234 file, 5,6 GB, 72:14:09 di musica, 120 MB liberi".
std::string totalsLine(const VolumeData& volume);
// "3,4 MB · 3:05 · 192 kbps · Autore - Titolo (Album, 2004)": a selected
// entry's data as the window shows it.
std::string entryLine(const TrackData& row);
// "3 righe dei dati non corrispondono più a voci del catalogo".
std::string staleLine(std::size_t stale);

} // namespace zondari::catalogue
