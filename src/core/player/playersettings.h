#pragma once

#include <string>
#include <string_view>

namespace zondari {

// The player's own settings, in a file of their own beside zondari.ini, whose
// lines and key matching stay as they are: whether tracks play at their
// ReplayGain track gain, whether the music picks up where it stopped at the
// next start, and where it stopped.
//
//   ; Lettore di Zondari
//   ReplayGain=1
//   Riprendi=1
//   Brano=/home/anna/Musica/brano.mp3     (the path's own bytes)
//   Posizione=7.25                        (seconds)
//
// A key is the whole text before the line's first "=", so no key is taken
// for another that contains it; unknown lines are passed over.
inline constexpr const char* kPlayerSettingsFile = "zondari-lettore.ini";

struct PlayerSettings {
    bool replayGain = false; // "Normalizza il volume (ReplayGain)"
    bool resume = false; // "Riprendi all'avvio"
    std::string track; // the track in play when the position was kept
    double position = 0.0; // seconds into it
};

PlayerSettings parsePlayerSettings(std::string_view text);
// CR LF line ends, as every file of the program folder.
std::string formatPlayerSettings(const PlayerSettings& settings);

} // namespace zondari
