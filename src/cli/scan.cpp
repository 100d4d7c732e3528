// zondari-cli scan FOLDER [--titolo T] [--tutti] [--sovrascrivi]: the catalogue
// window's scan, from the command line.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/pagescommon.h"
#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/findsubfolders.h"
#include "core/catalogue/scanrules.h"
#include "core/common/paths.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"
#include "platform/folderwalk.h"
#include "platform/volume.h"

namespace zondari::cli {

namespace cat = catalogue;

namespace {

int usage()
{
    std::fprintf(stderr, "Uso: zondari-cli scan CARTELLA [--titolo TITOLO] [--tutti] [--sovrascrivi]\n");
    return 2;
}

}  // namespace

int runScan(const std::vector<std::string>& args)
{
    std::string folder;
    std::string title = cat::kAnonymousTitle;
    bool allFiles = false;
    bool overwrite = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--titolo" && i + 1 < args.size())
            title = args[++i];
        else if (args[i] == "--tutti")
            allFiles = true;
        else if (args[i] == "--sovrascrivi")
            overwrite = true;
        else if (folder.empty() && !args[i].empty() && args[i].rfind("--", 0) != 0)
            folder = args[i];
        else
            return usage();
    }
    if (folder.empty())
        return usage();
    // The window's title box does not take these characters either.
    if (const std::string typed = cat::filterTitle(title); typed != title) {
        std::fprintf(stderr, "zondari-cli: il titolo non ammette i caratteri \\ / : . , ( ) $ né quelli accentati: "
                             "uso \"%s\".\n", typed.c_str());
        title = typed;
    }

    CataloguePlace where;
    if (!locateCatalogues(where))
        return 1;
    files::removeStaleTemporaries(where.programFolder);
    const std::string root = files::absolutePath(folder);
    if (!files::folderExists(root)) {
        std::fprintf(stderr, "%s\n", cat::kUnreadableMessage);
        return 1;
    }
    DiskFolders disk;
    cat::ScanOutcome outcome = cat::FindSubFolders(disk, root, allFiles);
    if (outcome.failed) {
        std::fprintf(stderr, "%s (%s)\n", cat::kUnreadableMessage, outcome.error.description.c_str());
        return 1;
    }
    if (outcome.entries.empty()) {
        std::fprintf(stderr, "%s\n", cat::kNothingFoundMessage);
        return 1;
    }

    const std::string name = cat::catalogueNameFor(SystemVolumeReader(), root, where.user);
    const std::string full = withSlash(where.programFolder) + name;
    if (files::fileExists(full)) {
        const auto stored = cat::readCatalogueTitle(full);
        if (!stored) {
            std::fprintf(stderr, "%s (%s)\n", cat::kUnreadableMessage, stored.error().description.c_str());
            return 1;
        }
        if (!overwrite) {
            std::fprintf(stderr, "zondari-cli: il CD/Cartella %s (%s) è già stato catalogato; "
                                 "--sovrascrivi per sostituirlo.\n",
                         name.c_str(), cat::shownTitle(*stored).c_str());
            return 1;
        }
        // As in the window: an untitled scan keeps the title already given.
        if (title == cat::kAnonymousTitle)
            title = *stored;
    }
    const Status written = cat::writeCatalogue(where.programFolder, name, {title, std::move(outcome.entries)});
    if (!written)
        return failWith(written.error().description);  // the write's own reason: "Disco pieno"
    std::printf("%s\n", name.c_str());
    return 0;
}

}  // namespace zondari::cli
