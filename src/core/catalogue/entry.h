#pragma once

#include <string>
#include <string_view>

namespace zondari::catalogue {

// An entry of a catalogue is a folder entry, "(" + the folder's full path +
// ")", or a file entry, the file's full path.
inline bool isFolderEntry(std::string_view entry)
{
    return !entry.empty() && entry.front() == '(';
}

inline std::string folderEntry(std::string_view folderPath)
{
    return "(" + std::string(folderPath) + ")";
}

// The file-name function: the part of a path after its last "/" or "\"
// (catalogues made on Windows use "\"); the whole text when it has neither.
inline std::string fileNameOf(std::string_view path)
{
    const auto cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// A catalogue holds one entry per line: a name with a line break in it
// cannot be written without splitting its entry in two.
inline bool hasLineBreak(std::string_view text)
{
    // Two scans for one character each: a catalogue may hold 100,000 paths.
    return text.find('\n') != std::string_view::npos || text.find('\r') != std::string_view::npos;
}

} // namespace zondari::catalogue
