#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What a new scan of a CD or folder changes in its stored catalogue: the
// files and folders that came and went since the last reading.
namespace zondari::catalogue {

inline constexpr const char* kNoChangesLine = "Nessuna modifica dall'ultima lettura";
// When the stored catalogue cannot be read to the end.
inline constexpr const char* kNotComparedLine = "Non è possibile confrontare con l'ultima lettura";

struct ScanChanges {
    // Scanned, not stored: in scan order. Stored, not scanned: in the
    // stored order. Entries as the program holds them, folder entries with
    // their parentheses.
    std::vector<std::string> addedFiles;
    std::vector<std::string> removedFiles;
    std::vector<std::string> newFolders;
    std::vector<std::string> removedFolders;

    bool none() const
    {
        return addedFiles.empty() && removedFiles.empty() && newFolders.empty() && removedFolders.empty();
    }
};

// Compares the entries of the stored catalogue with those the scan just
// made. Each list is a multiset: an entry listed twice and now once is one
// removed. Empty lines name nothing and are passed over; a scanned entry the
// catalogue file cannot hold (a line break in it, longer than any path) would
// not be written, so it is not counted either. Linear in the entries.
ScanChanges compareScan(const std::vector<std::string>& stored, const std::vector<std::string>& scanned);

// "3 file aggiunti, 1 file rimosso, 0 cartelle nuove", and the folders gone
// when there are any; kNoChangesLine when nothing changed.
std::string changesSummary(const ScanChanges& changes);

// The lists behind the summary, each under its heading, one entry a line;
// the lists that are empty are left out. Empty when nothing changed.
std::string changesDetails(const ScanChanges& changes);

} // namespace zondari::catalogue
