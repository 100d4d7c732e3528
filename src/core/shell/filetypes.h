#pragma once

#include <string>
#include <string_view>

namespace zondari {

// A list of music file types is written as entries of a point and three
// characters run together (".WAV.MP3.M3U.WMA"); a two-letter type carries a
// trailing space (".IT ").

// The entry a file name would have: "." and the text after the name's last
// ".", in capitals, a two-letter extension padded with one space. Empty when
// the name has no ".".
std::string extensionEntry(std::string_view fileName);

// True when the file's extension equals one entry of the list.
bool matchesFileTypes(std::string_view fileName, std::string_view list);

} // namespace zondari
