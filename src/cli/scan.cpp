// zondari-cli scan FOLDER [--titolo T] [--tutti] [--sovrascrivi] [--differenze]:
// the catalogue window's scan, from the command line. Over a catalogue of the
// same name it says first what the new reading changes; --differenze lists
// the changes and writes nothing.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/pagescommon.h"
#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/findsubfolders.h"
#include "core/catalogue/leftout.h"
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
    std::fprintf(stderr, "Uso: zondari-cli scan CARTELLA [--titolo TITOLO] [--tutti] [--sovrascrivi] [--differenze]\n");
    return 2;
}

// --differenze: the summary and the lists on the standard output. A folder
// not catalogued yet compares with an empty catalogue: all it holds is new.
int printChanges(const CataloguePlace& where, const std::string& root, const cat::ScanOutcome& outcome)
{
    const std::vector<std::string>& entries = outcome.entries;
    const std::string name = cat::catalogueNameFor(SystemVolumeReader(), root, where.user);
    const std::string full = withSlash(where.programFolder) + name;
    cat::StoredComparison stored;
    if (files::fileExists(full)) {
        stored = cat::compareWithStored(full, entries, outcome.unreadableFolders);
        if (!stored.compared) {
            std::fprintf(stderr, "%s (%s)\n", cat::kUnreadableMessage, stored.error.description.c_str());
            return 1;
        }
    } else {
        std::fprintf(stderr, "zondari-cli: il CD/Cartella %s non è ancora stato catalogato.\n", name.c_str());
        stored.compared = true;
        stored.changes = cat::compareScan({}, entries);
    }
    std::printf("%s\n", cat::changesSummary(stored.changes).c_str());
    if (const std::string details = cat::changesDetails(stored.changes); !details.empty())
        std::printf("\n%s", details.c_str());
    return 0;
}

} // namespace

int runScan(const std::vector<std::string>& args)
{
    std::string folder;
    std::string title = cat::kAnonymousTitle;
    bool allFiles = false;
    bool overwrite = false;
    bool changesOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--titolo" && i + 1 < args.size())
            title = args[++i];
        else if (args[i] == "--tutti")
            allFiles = true;
        else if (args[i] == "--sovrascrivi")
            overwrite = true;
        else if (args[i] == "--differenze")
            changesOnly = true;
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
    // What the walk passed over is told, whatever comes of the scan.
    if (const std::string leftOut = cat::leftOutLine(outcome); !leftOut.empty())
        std::fprintf(stderr, "%s\n\n%s\n", leftOut.c_str(), cat::leftOutDetails(outcome).c_str());
    if (outcome.entries.empty()) {
        std::fprintf(stderr, "%s\n", cat::kNothingFoundMessage);
        return 1;
    }
    if (changesOnly)
        return printChanges(where, root, outcome);

    const cat::SavedScan saved = cat::saveScan(
        SystemVolumeReader(), where.programFolder, where.user, root, title, std::move(outcome.entries),
        [overwrite](const std::string& name, const std::string& stored, bool, const cat::StoredComparison& changes) {
            std::fprintf(stderr, "%s\n", cat::comparisonSummary(changes).c_str());
            if (!overwrite)
                std::fprintf(stderr,
                    "zondari-cli: il CD/Cartella %s (%s) è già stato catalogato; "
                    "--sovrascrivi per sostituirlo.\n",
                    name.c_str(), cat::shownTitle(stored).c_str());
            return overwrite;
        },
        outcome.unreadableFolders);
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
