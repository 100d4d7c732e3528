#include "core/player/playlist.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/common/encoding.h"
#include "core/common/paths.h"
#include "core/common/text.h"

namespace zondari::playlist {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Playlists inside playlists go this deep at most: a loop that names give
// no sign of (through links) still ends.
constexpr std::size_t kMaxDepth = 16;

std::string trimBlanks(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

// Lists that name each other (or a folder link that leads back to their own
// folder) open again along ever new paths: the number of paths grows
// exponentially with the depth. The budget stops the expansion, with what it
// has, long before that costs the user anything.
struct Expansion {
    const Reader& read;
    Budget budget;
    std::set<std::string> opening; // the playlists on the current path
    std::size_t opened = 0;
    std::vector<std::string> out;

    bool full() const { return out.size() >= budget.entries; }
};

void expandInto(const std::string& path, Expansion& x)
{
    // "a/../list.m3u" and "list.m3u" are one list.
    const std::string key = std::filesystem::path(path).lexically_normal().string();
    if (x.opening.size() >= kMaxDepth || x.opened >= x.budget.playlists || x.full() || !x.opening.insert(key).second)
        return;
    ++x.opened;
    if (const auto bytes = x.read(path)) {
        const auto slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
        for (const std::string& entry : entries(*bytes, folder)) {
            if (x.full())
                break;
            if (isPlaylist(entry) && !isWebAddress(entry))
                expandInto(entry, x);
            else
                x.out.push_back(entry);
        }
    }
    x.opening.erase(key);
}

} // namespace

bool isPlaylist(std::string_view name)
{
    return name.size() >= 4 && text::toLowerAscii(name.substr(name.size() - 4)) == ".m3u";
}

bool isWebAddress(std::string_view entry)
{
    const auto scheme = entry.find("://");
    return scheme != std::string_view::npos && scheme > 1
        && std::all_of(entry.begin(), entry.begin() + static_cast<std::ptrdiff_t>(scheme),
            [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

std::vector<std::string> entries(std::string_view bytes, const std::string& folder)
{
    if (text::startsWith(bytes, kUtf8Bom))
        bytes.remove_prefix(kUtf8Bom.size());
    std::vector<std::string> out;
    for (const std::string& line : text::splitLines(encoding::decodeText(bytes))) {
        std::string entry = trimBlanks(line);
        if (entry.empty() || entry.front() == '#')
            continue;
        if (isWebAddress(entry)) {
            out.push_back(entry);
            continue;
        }
        std::replace(entry.begin(), entry.end(), '\\', '/');
        out.push_back(entry.front() == '/' ? entry : joinPath(folder, entry));
    }
    return out;
}

std::vector<std::string> expand(const std::string& path, const Reader& read, Budget budget)
{
    Expansion x{read, budget, {}, 0, {}};
    expandInto(path, x);
    return std::move(x.out);
}

} // namespace zondari::playlist
