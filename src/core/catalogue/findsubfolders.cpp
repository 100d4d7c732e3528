#include "core/catalogue/findsubfolders.h"

#include <utility>

#include "core/catalogue/entry.h"
#include "core/catalogue/scanrules.h"
#include "core/common/paths.h"
#include "core/common/text.h"

namespace zondari::catalogue {
namespace {

// One folder being walked: its subfolders still to visit and its files,
// which follow the last subfolder's subtree.
struct Level {
    std::string path; // as on disk, which is how the entries write it: a name
                      // that is not UTF-8 keeps its bytes
    std::vector<std::string> folders;
    std::size_t next = 0;
    std::vector<std::string> files; // full entries, in order
};

} // namespace

ScanOutcome FindSubFolders(FolderSource& source, const std::string& root, bool allFiles, ScanProgress* progress)
{
    ScanOutcome out;
    // The walk keeps its own stack: a deep tree cannot exhaust the thread's.
    std::vector<Level> stack;

    // Names the catalogue cannot hold go, and are told.
    auto dropLineBreaks = [&out](std::vector<std::string>& names, const std::string& folder) {
        std::erase_if(names, [&](const std::string& n) {
            if (!hasLineBreak(n))
                return false;
            out.lineBreakNames.push_back(withSlash(folder) + n);
            return true;
        });
    };

    auto enter = [&](std::string path) -> bool {
        FolderListing listing = source.list(path);
        using Outcome = FolderListing::Outcome;
        // A subfolder removed while the walk ran is passed over; the folder
        // chosen to scan must be there, and readable.
        if (listing.outcome == Outcome::Gone && !stack.empty())
            listing.outcome = Outcome::Listed;
        else if (listing.outcome == Outcome::Denied && stack.empty())
            listing.outcome = Outcome::Failed;
        if (listing.outcome == Outcome::Failed || listing.outcome == Outcome::Gone) {
            out.failed = true;
            out.error = listing.error;
            return false;
        }
        if (listing.outcome == Outcome::Denied)
            out.unreadableFolders.push_back(path);
        if (progress)
            progress->folders.fetch_add(1, std::memory_order_relaxed);
        Level level{std::move(path), {}, 0, {}};
        dropLineBreaks(listing.folders, level.path);
        text::sortNoCase(listing.folders);
        level.folders = std::move(listing.folders);
        std::erase_if(listing.files, [allFiles](const std::string& n) { return !includesFile(n, allFiles); });
        dropLineBreaks(listing.files, level.path);
        // Sorted by name: the folder's path in front of each is the same.
        text::sortNoCase(listing.files);
        level.files.reserve(listing.files.size());
        for (const std::string& name : listing.files)
            level.files.push_back(withSlash(level.path) + name);
        if (progress)
            progress->files.fetch_add(level.files.size(), std::memory_order_relaxed);
        stack.push_back(std::move(level));
        return true;
    };

    if (hasLineBreak(root)) {
        out.lineBreakNames.push_back(root);
        return out;
    }
    if (!enter(root))
        return out;
    while (!stack.empty()) {
        if (progress && progress->stop.load(std::memory_order_relaxed)) {
            out.stopped = true;
            return out;
        }
        Level& top = stack.back();
        if (top.next < top.folders.size()) {
            const std::string& name = top.folders[top.next++];
            std::string path = withSlash(top.path) + name;
            out.entries.push_back(folderEntry(path));
            if (!enter(std::move(path)))
                return out;
            continue;
        }
        for (std::string& f : top.files)
            out.entries.push_back(std::move(f));
        stack.pop_back();
    }
    return out;
}

} // namespace zondari::catalogue
