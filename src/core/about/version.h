#pragma once

#include <string>

namespace zondari {

// The maker's web site: the frame's menu, the about window and the details
// window's logo lead there, and the printed insert names it.
inline constexpr const char* kHomePage = "https://www.zondari.it/";

// The about window's version line: "<title> - Versione <major>.<minor>.<revision>",
// each number in decimal without leading zeros.
std::string versionLine(const std::string& title, int major, int minor, int revision);

}  // namespace zondari
