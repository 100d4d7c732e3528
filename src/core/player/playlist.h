#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ".m3u" playlists, which the player plays entry after entry.
namespace zondari::playlist {

// Whether a file name is a playlist's: it ends in ".m3u", in any case.
bool isPlaylist(std::string_view name);

// Whether an entry is a web address ("http://..."), not a file.
bool isWebAddress(std::string_view entry);

// The entries of a playlist's bytes (UTF-8 or Windows-1252, CR LF or LF),
// in order: blank lines and lines starting with "#" (comments and the
// extended format's information lines) are skipped, "\" is read as "/"
// (playlists made on Windows), and a relative entry is taken against
// `folder`, the playlist's own folder. Web addresses stay as they are.
std::vector<std::string> entries(std::string_view bytes, const std::string& folder);

// Reads a file's bytes; nothing when it cannot be read.
using Reader = std::function<std::optional<std::string>(const std::string& path)>;

// How much one expansion may open and give.
struct Budget {
    std::size_t playlists = 1000;
    std::size_t entries = 10000;
};

// The entries of the playlist at `path` (absolute), with each playlist named
// in it replaced by its own entries. A playlist already being opened is not
// opened again, so one that names itself ends, and nesting stops at 16
// levels. The whole expansion opens at most `budget.playlists` playlists and
// gives at most `budget.entries` entries; past either it stops with what it
// has. Unreadable playlists add nothing.
std::vector<std::string> expand(const std::string& path, const Reader& read, Budget budget = {});

} // namespace zondari::playlist
