#pragma once

#include <string>

namespace zondari {

// The about window's version line: "<title> - Versione <major>.<minor>.<revision>",
// each number in decimal without leading zeros.
std::string versionLine(const std::string& title, int major, int minor, int revision);

}  // namespace zondari
