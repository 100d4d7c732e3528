#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/bytesource.h"

// ".m3u" playlists, which the player plays entry after entry.
namespace zondari::playlist {

// Whether a file name is a playlist's: it ends in ".m3u", or ".m3u8" (the
// same list in UTF-8), in any case.
bool isPlaylist(std::string_view name);

// Whether an entry is a web address ("http://..."), not a file.
bool isWebAddress(std::string_view entry);

// The entries of a playlist's bytes (CR LF or LF), in order: blank lines
// and lines starting with "#" (comments and the extended format's
// information lines) are skipped, "\" is read as "/" (playlists made on
// Windows), and a relative entry is taken against `folder`, the playlist's
// own folder. Web addresses stay as they are. Lines read as UTF-8 up to the
// first that is not: from that one on the list is taken for a Windows
// list, in Windows-1252.
std::vector<std::string> entries(std::string_view bytes, const std::string& folder);

// Reads a file's bytes; nothing when it cannot be read.
using Reader = std::function<std::optional<std::string>(const std::string& path)>;

// How much one expansion may open, read and give.
struct Budget {
    std::size_t playlists = 1000;
    std::size_t entries = 10000;
    std::size_t listBytes = std::size_t(16) << 20; // read of any one list
};

// The entries of the playlist at `path` (absolute), with each playlist named
// in it replaced by its own entries. A playlist already being opened is not
// opened again, so one that names itself ends, and nesting stops at 16
// levels. Each list is read a line at a time through a buffer of its own:
// a list of any size costs the same memory, a line longer than any path is
// passed over, and reading ends after `budget.listBytes` bytes of one list
// (a line cut there is not taken). The whole expansion opens at most
// `budget.playlists` playlists and gives at most `budget.entries` entries:
// reading stops there, with what it has. Unreadable playlists add nothing.
std::vector<std::string> expand(const std::string& path, const SourceOpener& open, Budget budget = {});
// The same over lists read whole.
std::vector<std::string> expand(const std::string& path, const Reader& read, Budget budget = {});

} // namespace zondari::playlist
