// zondari-cli scan FOLDER [--titolo T] [--tutti] [--sovrascrivi] [--differenze]
// [--impronte]: the catalogue window's scan, from the command line. Over a
// catalogue of the same name it says first what the new reading changes;
// --differenze lists the changes and writes nothing. The files are read
// for their data after the walk and the question, never before.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/catalogueplace.h"
#include "cli/commands.h"
#include "cli/pagescommon.h"
#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/findsubfolders.h"
#include "core/catalogue/leftout.h"
#include "core/catalogue/scanrules.h"
#include "core/catalogue/sidefile.h"
#include "core/common/escape.h"
#include "core/common/paths.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"
#include "platform/folderwalk.h"
#include "platform/volume.h"

namespace zondari::cli {

namespace cat = catalogue;

namespace {

// Text made of lines, each shown as a terminal may show it.
std::string terminalLines(const std::string& lines)
{
    std::string shown;
    for (std::size_t from = 0; from < lines.size();) {
        const std::size_t nl = std::min(lines.find('\n', from), lines.size());
        shown += text::terminalText(std::string_view(lines).substr(from, nl - from)) + "\n";
        from = nl + 1;
    }
    return shown;
}

// --differenze: the summary and the lists on the standard output. A folder
// not catalogued yet compares with an empty catalogue: all it holds is new.
int printChanges(const CataloguePlace& where, const std::string& root, const cat::ScanOutcome& outcome)
{
    const std::vector<std::string>& entries = outcome.entries;
    const std::string name = cataloguestore::catalogueNameFor(SystemVolumeReader(), root, where.user);
    const std::string full = withSlash(where.programFolder) + name;
    cataloguestore::StoredComparison stored;
    if (files::fileExists(full)) {
        stored = cataloguestore::compareWithStored(full, entries, outcome.unreadableFolders);
        if (!stored.compared) {
            std::fprintf(stderr, "%s (%s)\n", cat::kUnreadableMessage, stored.error.description.c_str());
            return 1;
        }
    } else {
        std::fprintf(stderr, "zondari-cli: il CD/Cartella %s non è ancora stato catalogato.\n",
            text::terminalText(name).c_str());
        stored.compared = true;
        stored.changes = cat::compareScan({}, entries);
    }
    std::printf("%s\n", cat::changesSummary(stored.changes).c_str());
    // Line by line: an entry holds no line end, and the lines are the
    // format's own.
    if (const std::string details = terminalLines(cat::changesDetails(stored.changes)); !details.empty())
        std::printf("\n%s", details.c_str());
    return 0;
}

// The title as the window's title box would take it, with a warning when
// that is not the title given.
std::string typedTitle(const Args& args)
{
    const std::string title = args.value("--titolo").value_or(cat::kAnonymousTitle);
    const std::string typed = cat::filterTitle(title);
    if (typed != title)
        std::fprintf(stderr,
            "zondari-cli: il titolo non ammette i caratteri \\ / : . , ( ) $ né quelli accentati: "
            "uso \"%s\".\n",
            text::terminalText(typed).c_str());
    return typed;
}

// "Lettura dei file: 1.234 di 5.678, 12,3 MB letti", over itself on a
// terminal's standard error a few times a second; nothing elsewhere.
class TerminalProgress {
public:
    explicit TerminalProgress(bool fingerprints)
        : shown_(::isatty(STDERR_FILENO) == 1)
        , fingerprints_(fingerprints)
    {
    }
    ~TerminalProgress()
    {
        if (shown_ && drawn_)
            std::fputs("\n", stderr);
    }
    void operator()(const cataloguestore::DataProgress& p)
    {
        const auto now = std::chrono::steady_clock::now();
        const bool last = p.done == p.total;
        if (!shown_ || (!last && now - last_ < std::chrono::milliseconds(200)))
            return;
        last_ = now;
        std::string line = "\rLettura dei file: " + cat::groupedNumber(p.done) + " di " + cat::groupedNumber(p.total);
        if (fingerprints_)
            line += ", " + cat::byteSize(p.bytes) + " letti";
        // The last line stays, ended, before the catalogue's name is printed.
        std::fputs((line + "\x1b[K" + (last ? "\n" : "")).c_str(), stderr);
        drawn_ = !last;
    }

private:
    bool shown_, fingerprints_, drawn_ = false;
    std::chrono::steady_clock::time_point last_{};
};

// Writes the catalogue of the scan, asking nothing: --sovrascrivi answers.
int save(const Args& args, const CataloguePlace& where, const std::string& root, const std::string& title,
    cat::ScanOutcome outcome)
{
    const bool overwrite = args.has("--sovrascrivi");
    cataloguestore::DataProgress progress;
    TerminalProgress terminal(args.has("--impronte"));
    const cataloguestore::DataRequest data{args.has("--impronte"), &progress, std::ref(terminal)};
    const cataloguestore::SavedScan saved = cataloguestore::saveScan(
        SystemVolumeReader(), where.programFolder, where.user, root, title, std::move(outcome.entries),
        [overwrite](
            const std::string& name, const std::string& stored, bool, const cataloguestore::StoredComparison& changes) {
            std::fprintf(stderr, "%s\n", text::terminalText(cataloguestore::comparisonSummary(changes)).c_str());
            if (!overwrite)
                std::fprintf(stderr,
                    "zondari-cli: il CD/Cartella %s (%s) è già stato catalogato; "
                    "--sovrascrivi per sostituirlo.\n",
                    text::terminalText(name).c_str(), text::terminalText(cat::shownTitle(stored)).c_str());
            return overwrite;
        },
        outcome.unreadableFolders, &data);
    switch (saved.step) {
    case cataloguestore::SavedScan::Step::Written:
        break;
    case cataloguestore::SavedScan::Step::Stopped:
    case cataloguestore::SavedScan::Step::Declined:
        return 1;
    case cataloguestore::SavedScan::Step::StoredTitleUnreadable:
        std::fprintf(stderr, "%s (%s)\n", cat::kUnreadableMessage, saved.error.description.c_str());
        return 1;
    case cataloguestore::SavedScan::Step::WriteFailed:
        return failWith(saved.error.description); // the write's own reason: "Disco pieno"
    }
    if (progress.unread > 0)
        std::fprintf(stderr, "zondari-cli: %s file non letti: sono nel catalogo senza dati.\n",
            cat::groupedNumber(progress.unread).c_str());
    std::printf("%s\n", text::terminalText(saved.name).c_str());
    return 0;
}

} // namespace

int runScan(const Args& args)
{
    const std::string& folder = args.operands()[0];
    if (folder.empty())
        return args.wrong("indicare la cartella da catalogare.");
    const std::string title = typedTitle(args); // warned before the long walk

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
    cat::ScanOutcome outcome = cat::FindSubFolders(disk, root, args.has("--tutti"));
    if (outcome.failed) {
        std::fprintf(stderr, "%s (%s)\n", cat::kUnreadableMessage, outcome.error.description.c_str());
        return 1;
    }
    // What the walk passed over is told, whatever comes of the scan.
    if (const std::string leftOut = cat::leftOutLine(outcome); !leftOut.empty())
        std::fprintf(stderr, "%s\n\n%s\n", leftOut.c_str(), terminalLines(cat::leftOutDetails(outcome)).c_str());
    if (outcome.entries.empty()) {
        std::fprintf(stderr, "%s\n", cat::kNothingFoundMessage);
        return 1;
    }
    if (args.has("--differenze"))
        return printChanges(where, root, outcome);
    return save(args, where, root, title, std::move(outcome));
}

} // namespace zondari::cli
