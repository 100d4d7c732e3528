#pragma once

#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/shell/settings.h"

namespace zondari {

// The files a program folder holds besides the settings and catalogues.
const std::vector<std::string>& shippedFiles();

// The folder of the running executable.
std::string executableFolder();

// The program folder: $ZONDARI_PROGRAM_FOLDER when set (tests hand the
// program a folder of their own this way); else the executable's folder
// when it is writable (a portable copy, a build tree); else
// $XDG_DATA_HOME/zondari (~/.local/share/zondari), created on first use and
// given the shipped files and the start launcher from the executable's
// folder.
Result<std::string> resolveProgramFolder(const std::string& exeFolder);

// The settings of "zondari.ini" in the program folder; the defaults when
// there is no such file, its error when it cannot be read.
Result<Settings> readSettingsFile(const std::string& programFolder);

}  // namespace zondari
