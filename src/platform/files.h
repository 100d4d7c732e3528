#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/common/result.h"

// Files and folders as the program sees them: text files in the program's
// encodings, the directory search, and safe replacement of a file.
namespace zondari::files {

Result<std::string> readBytes(const std::string& path);

// The lines of a text file (UTF-8 or Windows-1252; CR LF or LF), as UTF-8.
Result<std::vector<std::string>> readTextLines(const std::string& path);

// The first line of a text file, read without taking the rest (a catalogue's
// title); empty for an empty file.
Result<std::string> readFirstLine(const std::string& path);

// Writes `lines` (CR LF ends, Windows-1252 when every character fits, else
// UTF-8) to `tempPath`, flushes it to disk, then renames it over `path` in one
// step. On failure `path` is left as it was and the temporary file removed.
Status replaceTextFile(const std::string& path, const std::string& tempPath,
                       const std::vector<std::string>& lines);

// The same for raw bytes.
Status replaceFile(const std::string& path, const std::string& tempPath, const std::string& bytes);

// Normal files of `folder` whose names match `pattern` ("*" and "?",
// regardless of letter case): no folders, no names starting with ".",
// sorted without regard to letter case, as NTFS and CD directories deliver
// them. An unreadable folder gives its error.
Result<std::vector<std::string>> dirSearch(const std::string& folder, const std::string& pattern = "*");

// The folders of `folder` (no names starting with "."), sorted the same way.
Result<std::vector<std::string>> subfolders(const std::string& folder);

// Whether `path` names an existing normal file (exact name).
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

struct FileStat {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds since 1970
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

}  // namespace zondari::files
