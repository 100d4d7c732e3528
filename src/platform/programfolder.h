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

// Where an installed program's shipped files are: the assets' folder
// (share/zondari) and the start launcher's (libexec/zondari), found from the
// executable's folder (bin). Empty when the executable is not installed so
// (a portable copy, a build tree: the files are beside it).
struct InstalledLayout {
    std::string assets;
    std::string launcher;
};
InstalledLayout installedLayout(const std::string& exeFolder);

// The program folder: $ZONDARI_PROGRAM_FOLDER when set (tests hand the
// program a folder of their own this way); else the executable's folder
// when it is writable and not an installed one (a portable copy, a build
// tree); else $XDG_DATA_HOME/zondari (~/.local/share/zondari), created on
// first use and given the shipped files and the start launcher, from the
// installed layout or from the executable's folder. A shipped file is
// copied again when the source is newer (an update of the program).
Result<std::string> resolveProgramFolder(const std::string& exeFolder);

// The settings of "zondari.ini" in the program folder; the defaults when
// there is no such file, its error when it cannot be read.
Result<Settings> readSettingsFile(const std::string& programFolder);

} // namespace zondari
