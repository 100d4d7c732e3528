#include "platform/cataloguestore.h"

#include <cerrno>
#include <optional>
#include <csignal>
#include <dirent.h>
#include <unistd.h>

#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/cataloguereader.h"
#include "core/catalogue/filename.h"
#include "core/common/encoding.h"
#include "core/common/paths.h"
#include "core/common/text.h"
#include "platform/files.h"

namespace zondari::catalogue {

Result<std::vector<std::string>> catalogueFiles(const std::string& folder, const std::string& user)
{
    auto names = files::dirSearch(folder, std::string(kPrefix) + "*" + kExtension);
    if (!names)
        return names.error();
    std::erase_if(*names, [&user](const std::string& n) { return !isCatalogueOf(n, user); });
    return names;
}

Result<std::vector<std::string>> catalogueListItems(const std::string& folder, const std::string& user)
{
    auto names = catalogueFiles(folder, user);
    if (!names)
        return names.error();
    std::vector<std::string> items;
    items.reserve(names->size());
    const std::string p = withSlash(folder);
    for (const std::string& name : *names) {
        auto title = readCatalogueTitle(p + name);
        items.push_back(listItem(name, title ? shownTitle(*title) : std::string()));
    }
    text::sortNoCase(items);
    return items;
}

std::string catalogueNameFor(const VolumeReader& volumes, const std::string& folder, const std::string& user)
{
    const VolumeInfo v = volumes.volumeOf(folder);
    return catalogueFileName(user, v.label, v.serial, folderPart(folder, volumes.isVolumeRoot(folder)));
}

Result<Catalogue> readCatalogue(const std::string& path)
{
    CatalogueReader reader;
    if (auto st = reader.open(path); !st)
        return st.error();
    LineCoding coding = reader.rawNames() ? LineCoding::RawNames
                        : encoding::isValidUtf8(reader.title()) ? LineCoding::Undecided
                                                                : LineCoding::Windows1252;
    Catalogue c;
    for (;;) {
        bool whole = true;
        for (;;) {
            const auto lines = reader.next();
            if (!lines)
                return lines.error();
            if (lines->empty())
                break;
            if (coding == LineCoding::Undecided && !encoding::isValidUtf8(*lines)) {
                whole = false;
                break;
            }
            for (std::string_view rest = *lines; !rest.empty();) {
                const std::size_t nl = rest.find('\n');
                std::string_view line = rest.substr(0, nl);
                rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
                if (line.ends_with('\r'))
                    line.remove_suffix(1);
                if (std::string entry = decodeLine(line, coding); !entryTooLong(entry))
                    c.entries.push_back(std::move(entry));
            }
        }
        if (whole)
            break;
        // A line that is not UTF-8: made on Windows, all of it reads Windows-1252.
        c.entries.clear();
        if (auto st = reader.restart(); !st)
            return st.error();
        coding = LineCoding::Windows1252;
    }
    c.title = decodeTitleLine(reader.title(), coding);
    return c;
}

Result<std::string> readCatalogueTitle(const std::string& path)
{
    CatalogueReader reader(kMaxTitleBytes + 16);
    if (auto st = reader.open(path); !st)
        return st.error();
    return decodeTitle(reader.title());
}

namespace {

constexpr std::string_view kTemporaryPrefix = ".zondari-catalogo-";
constexpr std::string_view kTemporarySuffix = ".tmp";

std::string temporaryName(pid_t pid)
{
    return std::string(kTemporaryPrefix) + std::to_string(pid) + std::string(kTemporarySuffix);
}

// The process that writes a temporary file of that name, if it is one.
std::optional<pid_t> writerOf(std::string_view name)
{
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return std::nullopt;
    name.remove_prefix(kTemporaryPrefix.size());
    name.remove_suffix(kTemporarySuffix.size());
    if (name.empty() || name.size() > 9 || name.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return static_cast<pid_t>(std::stol(std::string(name)));
}

}  // namespace

void removeStaleTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;  // the scan that follows says why, when it matters
    const std::string p = withSlash(folder);
    while (const dirent* e = ::readdir(dir)) {
        const auto pid = writerOf(e->d_name);
        // A process of another user answers EPERM: it is running.
        if (pid && *pid != ::getpid() && ::kill(*pid, 0) != 0 && errno == ESRCH)
            ::unlink((p + e->d_name).c_str());
    }
    ::closedir(dir);
}

Result<std::vector<std::string>> pageCataloguePaths(const std::string& folder, const std::string& user)
{
    // The same catalogues as the list: "Anna" does not get "Annalisa"'s.
    auto names = catalogueFiles(folder, user);
    if (!names)
        return names.error();
    const std::string p = withSlash(folder);
    for (std::string& name : *names)
        name.insert(0, p);
    return names;
}

Status writeCatalogue(const std::string& folder, const std::string& name, const Catalogue& catalogue)
{
    // Hidden from the directory search, and one per process: the window and
    // the command line may write at the same time.
    removeStaleTemporaries(folder);
    const std::string p = withSlash(folder);
    return files::replaceFile(p + name, p + temporaryName(::getpid()), catalogueBytes(catalogue));
}

}  // namespace zondari::catalogue
