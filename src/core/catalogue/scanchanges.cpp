#include "core/catalogue/scanchanges.h"

#include <unordered_map>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/entry.h"

namespace zondari::catalogue {
namespace {

// An entry the catalogue file holds as it is.
bool isWritten(std::string_view entry)
{
    return !entry.empty() && !hasLineBreak(entry) && !entryTooLong(entry);
}

// "1 file aggiunto" / "0 file aggiunti": Italian takes the plural for none.
std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void section(std::string& out, const char* heading, const std::vector<std::string>& entries)
{
    if (entries.empty())
        return;
    if (!out.empty())
        out += '\n';
    out += heading;
    out += " (" + std::to_string(entries.size()) + "):\n";
    for (const std::string& e : entries) {
        out += e;
        out += '\n';
    }
}

} // namespace

ScanChanges compareScan(const std::vector<std::string>& stored, const std::vector<std::string>& scanned)
{
    // How many times each stored entry is still unmatched. The views point
    // into `stored`, which outlives the map.
    std::unordered_map<std::string_view, std::size_t> unmatched;
    unmatched.reserve(stored.size());
    for (const std::string& e : stored)
        if (!e.empty())
            ++unmatched[e];

    ScanChanges changes;
    for (const std::string& e : scanned) {
        if (!isWritten(e))
            continue;
        const auto found = unmatched.find(e);
        if (found != unmatched.end() && found->second > 0)
            --found->second;
        else
            (isFolderEntry(e) ? changes.newFolders : changes.addedFiles).push_back(e);
    }
    // What is left unmatched is gone; walked in the stored order, each
    // entry given as many times as it is left.
    for (const std::string& e : stored) {
        if (e.empty())
            continue;
        const auto found = unmatched.find(e);
        if (found->second == 0)
            continue;
        --found->second;
        (isFolderEntry(e) ? changes.removedFolders : changes.removedFiles).push_back(e);
    }
    return changes;
}

std::string changesSummary(const ScanChanges& changes)
{
    if (changes.none())
        return kNoChangesLine;
    std::string line = counted(changes.addedFiles.size(), "file aggiunto", "file aggiunti") + ", "
        + counted(changes.removedFiles.size(), "file rimosso", "file rimossi") + ", "
        + counted(changes.newFolders.size(), "cartella nuova", "cartelle nuove");
    // Otherwise a scan that only lost a folder would read as no change.
    if (!changes.removedFolders.empty())
        line += ", " + counted(changes.removedFolders.size(), "cartella rimossa", "cartelle rimosse");
    return line;
}

std::string changesDetails(const ScanChanges& changes)
{
    std::string out;
    section(out, "File aggiunti", changes.addedFiles);
    section(out, "File rimossi", changes.removedFiles);
    section(out, "Cartelle nuove", changes.newFolders);
    section(out, "Cartelle rimosse", changes.removedFolders);
    return out;
}

} // namespace zondari::catalogue
