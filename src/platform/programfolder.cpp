#include "platform/programfolder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "buildinfo.h"
#include "core/common/paths.h"
#include "platform/files.h"

namespace zondari {
namespace fs = std::filesystem;

const std::vector<std::string>& shippedFiles()
{
    static const std::vector<std::string> names = {
        "zondari.htm",
        "zondari.txt",
        "zondlogo.jpg",
        "chitarra_animata.gif",
        "cassarotante.gif",
        "cassasaltante.gif",
        "start",
    };
    return names;
}

std::string executableFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? files::currentFolder() : exe.parent_path().string();
}

namespace {

Status ensureFolder(const std::string& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !files::folderExists(folder))
        return runtimeErrorFromErrno(ec ? ec.value() : ENOTDIR);
    return {};
}

// Puts a shipped file into the data folder when it is missing or older there.
void installShipped(const std::string& from, const std::string& to)
{
    std::error_code ec;
    if (!fs::exists(from, ec))
        return;
    if (fs::exists(to, ec) && fs::last_write_time(to, ec) >= fs::last_write_time(from, ec))
        return;
    // Written aside like every file of the program folder, so that two
    // first starts at once never leave half a file; the launcher stays
    // executable.
    struct stat st { };
    const auto bytes = files::readBytes(from);
    if (bytes && ::stat(from.c_str(), &st) == 0)
        // A copy that cannot be written leaves the launcher missing; the
        // first Shell call through it reports that.
        (void)files::replaceFile(to, *bytes, st.st_mode & 0777);
}

// A folder given relative to the executable's folder, as a plain absolute
// path; empty when it is not a folder.
std::string besideExecutable(const std::string& exeFolder, const char* relative)
{
    const std::string folder = files::absolutePath((fs::path(exeFolder) / relative).string());
    return files::folderExists(folder) ? folder : std::string();
}

} // namespace

InstalledLayout installedLayout(const std::string& exeFolder)
{
    InstalledLayout layout{
        besideExecutable(exeFolder, build::kDataFromBin), besideExecutable(exeFolder, build::kLauncherFromBin)};
    // The assets' folder alone makes an installation: the help page is there.
    if (layout.assets.empty() || !files::fileExists(withSlash(layout.assets) + "zondari.htm"))
        return {};
    return layout;
}

Result<std::string> resolveProgramFolder(const std::string& exeFolder)
{
    if (const char* forced = std::getenv("ZONDARI_PROGRAM_FOLDER"); forced && *forced) {
        const std::string folder = files::absolutePath(forced);
        if (auto st = ensureFolder(folder); !st)
            return st.error();
        return folder;
    }
    // An installed program's bin may be writable (an installation in the
    // user's own prefix): its program folder is still the user's data folder.
    const InstalledLayout installed = installedLayout(exeFolder);
    if (installed.assets.empty() && ::access(exeFolder.c_str(), W_OK) == 0)
        return exeFolder;

    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/share";
    else
        return runtimeErrorFromErrno(ENOTDIR);
    const std::string folder = base + "/zondari";
    if (auto st = ensureFolder(folder); !st)
        return st.error();
    for (const auto& name : shippedFiles()) {
        std::string from = exeFolder;
        if (!installed.assets.empty())
            from = name == "start" ? installed.launcher : installed.assets;
        if (!from.empty())
            installShipped(withSlash(from) + name, withSlash(folder) + name);
    }
    return folder;
}

Result<Settings> readSettingsFile(const std::string& programFolder)
{
    const std::string path = withSlash(programFolder) + kSettingsFileName;
    if (!files::fileExists(path))
        return defaultSettings(programFolder);
    // A settings file is five short lines: a damaged one of any size costs
    // no more than its first MiB.
    auto lines = files::readTextLines(path, kSettingsReadLimit);
    if (!lines)
        return lines.error();
    return parseSettings(*lines);
}

} // namespace zondari
