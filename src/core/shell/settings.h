#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zondari {

// The three persistent settings of "zondari.ini".
struct Settings {
    std::string utente; // Utente=
    std::string filesMusicali; // FilesMusicali=
    std::string ultimoPath; // UltimoPath=
};

inline constexpr const char* kSettingsFileName = "zondari.ini";
inline constexpr const char* kDefaultUser = "DEFAULT";
inline constexpr const char* kDefaultMusicFiles = ".WAV.MP3.M3U.WMA";
// How much of a settings file is read.
inline constexpr std::size_t kSettingsReadLimit = std::size_t(1) << 20;

// What the program uses when there is no settings file at all.
Settings defaultSettings(const std::string& programFolder);

// The settings held by the lines of a settings file. A key counts only at the
// start of its line (after leading spaces); the value is the text after the
// line's first "=", without leading spaces. A key met again overwrites; a key
// never met stays empty.
Settings parseSettings(const std::vector<std::string>& lines);

// The five lines of the file: two comment lines, then the three keys.
std::vector<std::string> settingsLines(const Settings& settings);

} // namespace zondari
