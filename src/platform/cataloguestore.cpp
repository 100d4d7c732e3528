#include "platform/cataloguestore.h"

#include <unistd.h>

#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/filename.h"
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
        auto title = files::readFirstLine(p + name);
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
    auto bytes = files::readBytes(path);
    if (!bytes)
        return bytes.error();
    return parseCatalogue(*bytes);
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
    const std::string p = withSlash(folder);
    const std::string temp = p + ".zondari-catalogo-" + std::to_string(::getpid()) + ".tmp";
    return files::replaceFile(p + name, temp, catalogueBytes(catalogue));
}

}  // namespace zondari::catalogue
