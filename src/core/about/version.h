#pragma once

#include <string>

namespace zondari {

// The maker's web site: the frame's menu, the about window and the details
// window's logo lead there, and the printed insert names it.
inline constexpr const char* kHomePage = "https://www.zondari.it/";

// The about window's version line: "<title> - Versione <major>.<minor>.<revision>",
// each number in decimal without leading zeros.
std::string versionLine(const std::string& title, int major, int minor, int revision);

// The program's name, as the about window and `--version` give it.
inline constexpr const char* kProgramName = "Zondari";

// The version line of this build, from the project's version: what the
// about window shows and both programs print for `--version`.
std::string programVersionLine();

} // namespace zondari
