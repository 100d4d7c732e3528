#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/result.h"
#include "core/tags/id3v1.h"

// The tag editor's rules: its genre list, what a load shows and what a save
// writes.
namespace zondari::tageditor {

// The editor's genre list: the position is the genre byte. Its spellings
// differ from the details window's names; the numbers agree.
inline constexpr std::size_t kGenreCount = 126;
const std::array<std::string_view, kGenreCount>& genres();

// The captions of the editor's fields, in the window's order: title,
// artist, album, year, comment, genre.
inline constexpr std::array<std::string_view, 6> kFieldCaptions
    = {"Titolo:", "Autore:", "Album:", "Anno:", "Commento:", "Genere:"};

// What the editor's fields show; `genre` is the selected list entry, -1 for
// none.
struct Fields {
    std::string title, artist, album, year, comment;
    int genre = -1;
};

// A loaded tag: each text up to its first NUL without trailing spaces; the
// genre selected when the list has a name for it.
Fields fromTag(const TagRecord& tag);

// A file without a tag: its name in the title, everything else empty, so
// that nothing of a previous file is carried into this one; the user is
// told so.
Fields forUntagged(std::string_view path);
inline constexpr const char* kNoTagText
    = "Il file indicato non contiene alcun tag ID3\nIl campo Titolo verrà riempito col nome del file";

// The record a save writes over `inFile` (the tag the file holds now, if
// any): the fields' texts; the selected genre, or, with none selected, the
// file's own genre byte (255 when it has no tag); the file's track byte (0
// for a new tag).
TagRecord toSave(const Fields& fields, const std::optional<TagRecord>& inFile);

// What a failed save says: the runtime's number 70 (the system reports the
// file busy) gets the playback text, any other failure the write error with
// its number and description.
inline constexpr const char* kBusyText = "Non è possibile salvare il commento ID3 durante la riproduzione del file.";
// What a save says when another program has changed the file since it was
// loaded: the save would write into someone else's file.
inline constexpr const char* kChangedText
    = "Il file è stato modificato da un altro programma dopo il caricamento: il tag ID3 non è stato salvato. "
      "Premere \"Carica ID3\" e riprovare.";
// What a save says of a file in which the analysis finds no MPEG audio (a
// WAV): an ID3v1 tag would be taken for its own data.
inline constexpr const char* kNotMp3Text = "Il file non è un MP3: il tag non è stato scritto";
// What a save says when another program rewrote or replaced the file while
// the tag was being written: the tag may be in that program's data, and is
// left there.
inline constexpr const char* kChangedWhileWritingText
    = "il file è stato modificato da un altro programma durante la scrittura";
bool isBusy(const RuntimeError& error);
std::string writeErrorText(const RuntimeError& error);

} // namespace zondari::tageditor
