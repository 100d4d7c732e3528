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

// The file-name function: the part of a path after its last "/" or "\"
// (catalogues made on Windows use "\"); the whole text when it has neither.
inline std::string fileNameOf(std::string_view path)
{
    const auto cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace zondari::catalogue
