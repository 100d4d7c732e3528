#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "core/common/bytesink.h"
#include "core/common/bytesource.h"
#include "core/common/result.h"

// Files and folders as the program sees them: text files in the program's
// encodings, the directory search, and safe replacement of a file.
namespace zondari::files {

// The file's bytes, or its first `most` bytes when it is longer.
Result<std::string> readBytes(const std::string& path, std::size_t most = std::string::npos);

// A regular file opened to be read a block at a time (a catalogue of any
// size); a FIFO, a device or a folder gives its error at once.
Result<std::unique_ptr<ByteSource>> openSource(const std::string& path);

// The lines of a text file (UTF-8 or Windows-1252; CR LF or LF), as UTF-8.
// Of a file longer than `most` bytes, only the whole lines within them.
Result<std::vector<std::string>> readTextLines(const std::string& path, std::size_t most = std::string::npos);

// The one way the program replaces a file (settings, catalogues, pages):
// what `produce` makes goes to a temporary file beside `path`, reaches the
// disk, and only then takes the name `path` in one step. At any moment, a
// crash or a kill included, `path` is the old file or the new one, whole;
// on a failure the old one stays and the temporary file goes.
//
// The temporary file is hidden and its own to this write, so that writers
// of the same file at once (the window and the command line) never meet:
// ".zondari-<pid>-<n>.tmp" in the same folder. Those that writers killed on
// the way left behind go at the next write in that folder.
//
// The new file keeps the permissions of the one it replaces (a new one
// gets `newFileMode`, less the umask); a link is followed, and the file it
// names is replaced.
Status replaceFile(const std::string& path, const ByteProducer& produce, mode_t newFileMode = 0666);
Status replaceFile(const std::string& path, std::string_view bytes, mode_t newFileMode = 0666);

// `lines` with CR LF ends, in Windows-1252 when every character fits, else
// in UTF-8, replacing `path` as above.
Status replaceTextFile(const std::string& path, const std::vector<std::string>& lines);

// Removes from `folder` the temporary files that writers no longer running
// left (killed while they wrote); those being written stay.
void removeStaleTemporaries(const std::string& folder);

// Normal files of `folder` whose names match `pattern` ("*" and "?",
// regardless of letter case): no folders, no names starting with ".",
// sorted without regard to letter case, as NTFS and CD directories deliver
// them. An unreadable folder gives its error.
//
// A link counts as what it points to; one whose target is missing or cannot
// be reached is passed over, or listed with BrokenLinks::List (by the
// catalogue, which names such a catalogue rather than lose it in silence).
enum class BrokenLinks { PassOver, List };
Result<std::vector<std::string>> dirSearch(
    const std::string& folder, const std::string& pattern = "*", BrokenLinks broken = BrokenLinks::PassOver);

// The folders of `folder` (no names starting with "."), sorted the same way.
Result<std::vector<std::string>> subfolders(const std::string& folder);

// Whether `path` names an existing normal file (exact name).
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

struct FileStat {
    std::uint64_t size = 0;
    std::int64_t modified = 0; // seconds since 1970
    // The file itself, whatever its name: the same after a rename.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool sameFile(const FileStat& other) const { return device == other.device && inode == other.inode; }
};
std::optional<FileStat> statFile(const std::string& path);

// "*"/"?" pattern match without regard to letter case.
bool matchesPattern(const std::string& name, const std::string& pattern);

// Folder part and name part of a path built with "/".
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// `path` made absolute against the process's current folder, with "." and
// ".." resolved lexically and no trailing "/" (except the root).
std::string absolutePath(const std::string& path);

std::string currentFolder();

} // namespace zondari::files
