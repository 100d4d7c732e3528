#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/tags/tageditor.h"

// The ID3v2 tag as the program shows it. It is read (never written) by the
// platform's reader, which stands on TagLib; these are the rules around it,
// free of TagLib's types.
namespace zondari {

struct Id3v2Tag {
    int version = 0; // the major version: 2, 3 or 4; 0 when the file has no tag
    // UTF-8 texts; "" when the frame is missing.
    std::string title, artist, album;
    std::string year; // the year of the recording date ("2004" of "2004-05-01")
    std::string comment; // the text of the first COMM frame
    std::string track; // "n" or "n/m", as stored
    std::string genre; // a name; "(17)" and "17" become the program's name for 17
    int genreNumber = -1; // the ID3v1 number the genre was given as, -1 for a name only
    // The ReplayGain track gain (TXXX "REPLAYGAIN_TRACK_GAIN", "-6.20 dB"),
    // when the tag holds one that reads as a number.
    std::optional<double> trackGainDb;

    bool present() const { return version != 0; }
};

namespace id3v2 {

// A ReplayGain text ("-6.20 dB", "+3 dB") as decibels.
std::optional<double> gainFromText(std::string_view text);

// "ID3v2.4"; "ID3v2: assente" without a tag.
std::string blockCaption(const Id3v2Tag& tag);
inline constexpr const char* kAbsentText = "ID3v2: assente";

// The block's rows, in the order shown: caption and value.
inline constexpr std::size_t kFieldCount = 7;
inline constexpr std::array<std::string_view, kFieldCount> kFieldLabels
    = {"Titolo", "Autore", "Album", "Anno", "Commento", "Traccia", "Genere"};
std::array<std::string, kFieldCount> fieldValues(const Id3v2Tag& tag);

// A TCON text as a name and the ID3v1 number it was given as: "(17)",
// "17" and "(17)" followed by nothing give the name of 17 in the details
// window's table; "(17)Rock" or "Rock" keep the text; "(RX)" and "(CR)"
// are "Remix" and "Cover". A number without a name gives "" but keeps
// its number.
struct Genre {
    std::string name;
    int number = -1;
};
Genre genreFromText(std::string_view text);

// The year of a recording date: its first four characters when they are
// digits, else the text as it is.
std::string yearFromDate(std::string_view date);

// What "Copia da ID3v2" puts into the editor: each text as ID3v1 can hold
// it (a character Windows-1252 lacks becomes "?") cut to its field's
// length; the genre selected when the editor's list has its number, else
// none.
tageditor::Fields toEditorFields(const Id3v2Tag& tag);

// The genre's place in the editor's list: by its number, else by its name
// in the editor's spelling or the details window's (any letter case); -1
// when neither list has it.
int editorGenre(const Id3v2Tag& tag);

} // namespace id3v2
} // namespace zondari
