#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// What a new scan of a CD or folder changes in its stored catalogue: the
// files and folders that came and went since the last reading.
namespace zondari::catalogue {

inline constexpr const char* kNoChangesLine = "Nessuna modifica dall'ultima lettura";
// When the stored catalogue cannot be read to the end.
inline constexpr const char* kNotComparedLine = "Non è possibile confrontare con l'ultima lettura";

// The lists of a comparison. Unread: stored entries below a folder the scan
// could not read, which are not known to be gone.
enum class Change { AddedFile, RemovedFile, NewFolder, RemovedFolder, UnreadFile, UnreadFolder };

// A list of entries kept as text in blocks, each entry ended by a line feed
// (which no entry holds): a long list costs its bytes, not a string each,
// and it grows without being copied.
class EntryText {
public:
    void add(std::string_view entry);
    void clear();
    std::size_t size() const { return count_; }
    void forEach(const std::function<void(std::string_view)>& f) const;

private:
    std::vector<std::string> blocks_;
    std::size_t count_ = 0;
};

// Entries as the program holds them, folder entries with their parentheses.
// Scanned, not stored: in scan order. Stored, not scanned: in the stored
// order. The entries the scan added are not copied: the changes are read
// while the scanned entries they were made from live.
class ScanChanges {
public:
    std::size_t count(Change list) const;
    bool none() const;
    void forEach(Change list, const std::function<void(std::string_view)>& f) const;
    std::vector<std::string> entries(Change list) const;

private:
    friend class ScanComparison;
    static constexpr std::size_t kStoredLists = 4; // removed and unread, files and folders
    const std::vector<std::string>* scanned_ = nullptr;
    std::vector<bool> matched_; // by scanned entry: found in the stored catalogue
    std::size_t addedFiles_ = 0;
    std::size_t newFolders_ = 0;
    std::array<EntryText, kStoredLists> stored_;
};

// Compares a stored catalogue, entry by entry as it is read, with the
// entries of a scan. Each list is a multiset: an entry listed twice and now
// once is one removed. Empty lines name nothing and are passed over; a
// scanned entry the catalogue file cannot hold (a line break in it, longer
// than any path) would not be written, so it is not counted either. Holds
// no copy of either catalogue: a table of the scanned entries' places, a
// bit for each, and the stored entries that are gone.
class ScanComparison {
public:
    // Both must outlive the comparison; `scanned` also the changes.
    ScanComparison(const std::vector<std::string>& scanned, const std::vector<std::string>& unreadableFolders);
    ScanComparison(std::vector<std::string>&& scanned, const std::vector<std::string>&) = delete;

    // The stored entries from their first again: what was taken is dropped.
    void restart();
    void take(std::string_view stored);
    ScanChanges finish();

private:
    bool belowUnreadable(std::string_view entry) const;
    std::size_t slotOf(std::string_view entry) const;

    const std::vector<std::string>& scanned_;
    std::unordered_set<std::string_view> unreadable_;
    std::vector<std::uint32_t> slots_; // scanned index + 1 by hash, 0 when free
    ScanChanges changes_;
};

// The comparison of two lists of entries held whole.
ScanChanges compareScan(const std::vector<std::string>& stored, const std::vector<std::string>& scanned,
    const std::vector<std::string>& unreadableFolders = {});
ScanChanges compareScan(
    const std::vector<std::string>&, std::vector<std::string>&&, const std::vector<std::string>& = {})
    = delete; // the changes would outlive the scanned entries

// "3 file aggiunti, 1 file rimosso, 0 cartelle nuove", and the folders gone
// and the entries not read when there are any; kNoChangesLine when nothing
// changed.
std::string changesSummary(const ScanChanges& changes);

// The lists behind the summary, each under its heading, one entry a line;
// the lists that are empty are left out. Empty when nothing changed.
std::string changesDetails(const ScanChanges& changes);

} // namespace zondari::catalogue
