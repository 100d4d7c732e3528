#include "core/catalogue/scanchanges.h"

#include <algorithm>
#include <bit>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/entry.h"

namespace zondari::catalogue {
namespace {

// An entry the catalogue file holds as it is.
bool isWritten(std::string_view entry)
{
    return !entry.empty() && !hasLineBreak(entry) && !entryTooLong(entry);
}

// Where each list of stored entries is kept.
std::size_t storedList(Change list)
{
    switch (list) {
    case Change::RemovedFile:
        return 0;
    case Change::RemovedFolder:
        return 1;
    case Change::UnreadFile:
        return 2;
    default:
        return 3;
    }
}

// "1 file aggiunto" / "0 file aggiunti": Italian takes the plural for none.
std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void section(std::string& out, const char* heading, const ScanChanges& changes, Change list)
{
    if (changes.count(list) == 0)
        return;
    if (!out.empty())
        out += '\n';
    out += heading;
    out += " (" + std::to_string(changes.count(list)) + "):\n";
    changes.forEach(list, [&out](std::string_view e) {
        out += e;
        out += '\n';
    });
}

} // namespace

void EntryText::add(std::string_view entry)
{
    // A new block when the entry does not fit: each twice the last, from
    // 4 KiB to 64 KiB, so that a short list stays small.
    if (blocks_.empty() || blocks_.back().size() + entry.size() + 1 > blocks_.back().capacity()) {
        const std::size_t last = blocks_.empty() ? 2048 : blocks_.back().capacity();
        const std::size_t next = std::min(last * 2, std::size_t(64) << 10);
        blocks_.emplace_back();
        blocks_.back().reserve(std::max(next, entry.size() + 1));
    }
    blocks_.back() += entry;
    blocks_.back() += '\n';
    ++count_;
}

void EntryText::clear()
{
    blocks_.clear();
    count_ = 0;
}

void EntryText::forEach(const std::function<void(std::string_view)>& f) const
{
    for (std::string_view rest : blocks_) {
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            f(rest.substr(0, end));
            rest.remove_prefix(end + 1);
        }
    }
}

std::size_t ScanChanges::count(Change list) const
{
    if (list == Change::AddedFile)
        return addedFiles_;
    if (list == Change::NewFolder)
        return newFolders_;
    return stored_[storedList(list)].size();
}

bool ScanChanges::none() const
{
    for (Change list : {Change::AddedFile, Change::RemovedFile, Change::NewFolder, Change::RemovedFolder,
             Change::UnreadFile, Change::UnreadFolder})
        if (count(list) != 0)
            return false;
    return true;
}

void ScanChanges::forEach(Change list, const std::function<void(std::string_view)>& f) const
{
    if (list == Change::AddedFile || list == Change::NewFolder) {
        for (std::size_t i = 0; scanned_ && i < scanned_->size(); ++i) {
            const std::string& e = (*scanned_)[i];
            if (!matched_[i] && isWritten(e) && isFolderEntry(e) == (list == Change::NewFolder))
                f(e);
        }
        return;
    }
    stored_[storedList(list)].forEach(f);
}

std::vector<std::string> ScanChanges::entries(Change list) const
{
    std::vector<std::string> out;
    forEach(list, [&out](std::string_view e) { out.emplace_back(e); });
    return out;
}

ScanComparison::ScanComparison(
    const std::vector<std::string>& scanned, const std::vector<std::string>& unreadableFolders)
    : scanned_(scanned)
    , unreadable_(unreadableFolders.begin(), unreadableFolders.end())
    // At most half full, so that a look-up meets few others.
    , slots_(std::bit_ceil(std::max<std::size_t>(8, scanned.size() * 2)), 0)
{
    changes_.scanned_ = &scanned;
    changes_.matched_.assign(scanned.size(), false);
    for (std::size_t i = 0; i < scanned.size(); ++i) {
        if (!isWritten(scanned[i]))
            continue;
        std::size_t slot = slotOf(scanned[i]);
        while (slots_[slot] != 0)
            slot = (slot + 1) & (slots_.size() - 1);
        slots_[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

std::size_t ScanComparison::slotOf(std::string_view entry) const
{
    return std::hash<std::string_view>{}(entry) & (slots_.size() - 1);
}

void ScanComparison::restart()
{
    changes_.matched_.assign(scanned_.size(), false);
    for (EntryText& list : changes_.stored_)
        list.clear();
}

void ScanComparison::take(std::string_view stored)
{
    if (stored.empty())
        return;
    // The same entry scanned twice sits in two places: the first one not
    // matched yet takes it.
    for (std::size_t slot = slotOf(stored); slots_[slot] != 0; slot = (slot + 1) & (slots_.size() - 1)) {
        const std::size_t i = slots_[slot] - 1;
        if (!changes_.matched_[i] && scanned_[i] == stored) {
            changes_.matched_[i] = true;
            return;
        }
    }
    const bool folder = isFolderEntry(stored);
    const std::size_t list = belowUnreadable(stored) ? storedList(folder ? Change::UnreadFolder : Change::UnreadFile)
                                                     : storedList(folder ? Change::RemovedFolder : Change::RemovedFile);
    changes_.stored_[list].add(stored);
}

bool ScanComparison::belowUnreadable(std::string_view entry) const
{
    if (unreadable_.empty())
        return false;
    if (isFolderEntry(entry) && entry.ends_with(')'))
        entry = entry.substr(1, entry.size() - 2);
    for (std::size_t cut = entry.rfind('/'); cut != std::string_view::npos && cut > 0; cut = entry.rfind('/', cut - 1))
        if (unreadable_.contains(entry.substr(0, cut)))
            return true;
    return false;
}

ScanChanges ScanComparison::finish()
{
    for (std::size_t i = 0; i < scanned_.size(); ++i) {
        if (changes_.matched_[i] || !isWritten(scanned_[i]))
            continue;
        ++(isFolderEntry(scanned_[i]) ? changes_.newFolders_ : changes_.addedFiles_);
    }
    slots_ = {};
    return std::move(changes_);
}

ScanChanges compareScan(const std::vector<std::string>& stored, const std::vector<std::string>& scanned,
    const std::vector<std::string>& unreadableFolders)
{
    ScanComparison comparison(scanned, unreadableFolders);
    for (const std::string& e : stored)
        comparison.take(e);
    return comparison.finish();
}

std::string changesSummary(const ScanChanges& changes)
{
    if (changes.none())
        return kNoChangesLine;
    std::string line = counted(changes.count(Change::AddedFile), "file aggiunto", "file aggiunti") + ", "
        + counted(changes.count(Change::RemovedFile), "file rimosso", "file rimossi") + ", "
        + counted(changes.count(Change::NewFolder), "cartella nuova", "cartelle nuove");
    // Otherwise a scan that only lost a folder, or could not read one,
    // would read as no change.
    const struct {
        Change list;
        const char* one;
        const char* many;
    } more[] = {
        {Change::RemovedFolder, "cartella rimossa", "cartelle rimosse"},
        {Change::UnreadFile, "file non letto", "file non letti"},
        {Change::UnreadFolder, "cartella non letta", "cartelle non lette"},
    };
    for (const auto& m : more)
        if (changes.count(m.list) != 0)
            line += ", " + counted(changes.count(m.list), m.one, m.many);
    return line;
}

std::string changesDetails(const ScanChanges& changes)
{
    std::string out;
    section(out, "File aggiunti", changes, Change::AddedFile);
    section(out, "File rimossi", changes, Change::RemovedFile);
    section(out, "Cartelle nuove", changes, Change::NewFolder);
    section(out, "Cartelle rimosse", changes, Change::RemovedFolder);
    section(out, "File non letti, in cartelle senza permesso", changes, Change::UnreadFile);
    section(out, "Cartelle non lette, in cartelle senza permesso", changes, Change::UnreadFolder);
    return out;
}

} // namespace zondari::catalogue
