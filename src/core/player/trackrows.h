#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zondari {

// One row of the player's track grid.
struct TrackRow {
    int number = 0; // column "N.": 1 for the first file
    std::string title; // column "Titolo": a space, then the file name
    std::uint64_t size = 0; // column "Dimensione": bytes
    std::int64_t modified = 0; // column "Data": last change, seconds since 1970
};

struct FileFacts {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
};

// Rows for the music files among `names` (in the order given), numbered from
// 1. `facts` answers a name's size and date; a file it cannot answer for
// (vanished since the listing) is left out and the numbering closes up.
std::vector<TrackRow> trackRows(const std::vector<std::string>& names, const std::string& musicFileTypes,
    const std::function<std::optional<FileFacts>(const std::string&)>& facts);

} // namespace zondari
