#pragma once

#include <cstdint>
#include <string>

#include "core/analysis/trackinfo.h"

namespace zondari {

// The player window's caption, and the title it shows until a track plays.
inline constexpr const char* kPlayerTitle = "Zondari - Mp3 Player";

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
    std::string BranoCorrente;  // current track, relative to the player's folder
    std::string TitoloDisplay = kPlayerTitle;

    // MP3 analysis: the last analysed track.
    zondari::TrackInfo TrackInfo;

    // Search options: also search folder names (set to 1 at every start),
    // compare letter case; and the last search text.
    std::int16_t searchFolders = 1;
    std::int16_t searchCaseSensitive = 0;
    std::string searchText;

    // Catalogue scan and the printed listing; they live for one run.
    std::string scanFolder;
    std::int16_t PrintColumns = 0;
    std::string PrintFontName;
    float PrintFontSize = 0;
    // The styles chosen with the print font.
    bool PrintFontBold = false;
    bool PrintFontItalic = false;
};

}  // namespace zondari
