#include "core/player/trackrows.h"

#include "core/shell/filetypes.h"

namespace zondari {

std::vector<TrackRow> trackRows(const std::vector<std::string>& names, const std::string& musicFileTypes,
    const std::function<std::optional<FileFacts>(const std::string&)>& facts)
{
    std::vector<TrackRow> rows;
    for (const std::string& name : names) {
        if (!matchesFileTypes(name, musicFileTypes))
            continue;
        const auto f = facts(name);
        if (!f)
            continue;
        rows.push_back({static_cast<int>(rows.size()) + 1, " " + name, f->size, f->modified});
    }
    return rows;
}

} // namespace zondari
