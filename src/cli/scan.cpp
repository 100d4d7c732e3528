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

} // namespace

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
        std::fprintf(stderr,
            "zondari-cli: il titolo non ammette i caratteri \\ / : . , ( ) $ né quelli accentati: "
            "uso \"%s\".\n",
            typed.c_str());
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

    const cat::SavedScan saved = cat::saveScan(SystemVolumeReader(), where.programFolder, where.user, root, title,
        std::move(outcome.entries), [overwrite](const std::string& name, const std::string& stored, bool) {
            if (!overwrite)
                std::fprintf(stderr,
                    "zondari-cli: il CD/Cartella %s (%s) è già stato catalogato; "
                    "--sovrascrivi per sostituirlo.\n",
                    name.c_str(), cat::shownTitle(stored).c_str());
            return overwrite;
        });
    switch (saved.step) {
    case cat::SavedScan::Step::Written:
        break;
    case cat::SavedScan::Step::Declined:
        return 1;
    case cat::SavedScan::Step::StoredTitleUnreadable:
        std::fprintf(stderr, "%s (%s)\n", cat::kUnreadableMessage, saved.error.description.c_str());
        return 1;
    case cat::SavedScan::Step::WriteFailed:
        return failWith(saved.error.description); // the write's own reason: "Disco pieno"
    }
    std::printf("%s\n", saved.name.c_str());
    return 0;
}

} // namespace zondari::cli
