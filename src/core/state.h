#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/analysis/trackinfo.h"
#include "core/catalogue/catalogfile.h"

namespace zondari {

// The player window's caption, and the title it shows until a track plays.
inline constexpr const char* kPlayerTitle = "Zondari - Mp3 Player";

// The current catalogue: the one the catalogue window shows, and the one
// its page, the preview and the printed insert are made from. A scan fills
// it, and so does showing a catalogue file. It goes with the catalogue
// window: a new window starts with a new one.
struct CurrentCatalogue {
    // As the title box shows it.
    std::string title = catalogue::kAnonymousTitle;
    // In catalogue order, each as the program holds it: a name that is not
    // UTF-8 keeps its own bytes (the list shows it with U+FFFD).
    std::vector<std::string> entries;
    // The catalogue file they were read from or written to, whose side
    // files hold their data; empty while they are a scan's alone.
    std::string path;
    // "Stampa anche le directory": the insert lists the folder entries too.
    bool printFolders = true;
};

// The program-wide values: one object for the whole run, handed to the
// windows. Each value carries the name the program gives it.
struct AppState {
    // The folder of the program's own files (settings, catalogues, pages).
    std::string programFolder;

    // Settings ("zondari.ini").
    std::string Utente;
    std::string FilesMusicali;
    std::string UltimoPath;

    // Player.
    std::string BranoCorrente; // current track, relative to the player's folder
    bool replayGain = false; // "Normalizza il volume (ReplayGain)", for the mixer's decks too
    std::string TitoloDisplay = kPlayerTitle;

    // MP3 analysis: the last analysed track.
    zondari::TrackInfo TrackInfo;

    // Search options: also search folder names (set to 1 at every start),
    // compare letter case; and the last search text.
    std::int16_t searchFolders = 1;
    std::int16_t searchCaseSensitive = 0;
    std::string searchText;

    zondari::CurrentCatalogue catalogue;

    // Catalogue scan and the printed listing; they live for one run.
    std::string scanFolder;
    // The columns of the printed listing: their one home. The catalogue
    // window's box "N. Colonne" shows it, and may hold another number as
    // typed until the count is taken from it.
    std::int16_t PrintColumns = 0;
    std::string PrintFontName;
    float PrintFontSize = 0;
    // The styles chosen with the print font.
    bool PrintFontBold = false;
    bool PrintFontItalic = false;
    // "Adatta" in the preview: the insert takes the size and columns at
    // which the whole catalogue fits. The choice above stays the user's,
    // given back when it is unticked.
    bool PrintFit = false;
};

} // namespace zondari
