#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "core/common/result.h"

namespace zondari::catalogue {

// What one folder holds, as names (not paths).
struct FolderListing {
    // Gone: the folder was there when its parent was listed and is not now.
    enum class Outcome { Listed, Denied, Gone, Failed };
    Outcome outcome = Outcome::Listed;
    RuntimeError error; // when Failed
    std::vector<std::string> folders; // subfolders; links to folders are not among them
    std::vector<std::string> files; // normal files (and links to them)
};

// Lists folders for the walk; the platform lists the disk, tests may list
// anything.
class FolderSource {
public:
    virtual ~FolderSource() = default;
    virtual FolderListing list(const std::string& path) = 0;
};

// How far a walk has got; written by the walk, read by whoever shows it
// (possibly another thread). Setting `stop` ends the walk at the next
// folder.
struct ScanProgress {
    std::atomic<std::size_t> folders{0};
    std::atomic<std::size_t> files{0};
    std::atomic<bool> stop{false};
};

struct ScanOutcome {
    std::vector<std::string> entries; // in catalogue order; on failure, those found so far
    bool failed = false;
    RuntimeError error;
    bool stopped = false;
    // What the walk passed over, in the order it met them, so that the
    // user can be told: subfolders that could not be listed for lack of
    // permission (their entries stand, with nothing below them), and names
    // holding a line break, as full paths (left out with all below them).
    std::vector<std::string> unreadableFolders;
    std::vector<std::string> lineBreakNames;
};

// The entries of the folder `root` and, recursively, of its subfolders:
// each subfolder's entry "(" + path + ")" followed by its whole subtree,
// then the files of the folder itself in the sorted list box order. The
// root gets no entry of its own; a folder without files still gets its
// entry. Music files only unless `allFiles`.
//
// A subfolder that cannot be listed for lack of permission keeps its entry
// and is passed over (every ext file system has a lost+found only root may
// read); the chosen folder itself must be listed, and any other failure ends
// the walk. A name holding a line break is left out with everything below
// it; a file only when the option would take it. Both are named in the
// outcome. A name that is not UTF-8 is kept as its bytes, so that its entry
// names the file.
ScanOutcome FindSubFolders(
    FolderSource& source, const std::string& root, bool allFiles, ScanProgress* progress = nullptr);

} // namespace zondari::catalogue
