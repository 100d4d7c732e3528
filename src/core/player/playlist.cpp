#include "core/player/playlist.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <utility>

#include "core/common/encoding.h"
#include "core/common/paths.h"
#include "core/common/text.h"

namespace zondari::playlist {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Playlists inside playlists go this deep at most: a loop that names give
// no sign of (through links) still ends.
constexpr std::size_t kMaxDepth = 16;

// Each list is read through a buffer of this size. A longer line names no
// file: a path is at most 4,096 bytes.
constexpr std::size_t kLineBuffer = 64 * 1024;

std::string_view trimBlanks(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Hands each line of `source` (without its LF) to `each`, which answers
// false to stop, reading at most `most` bytes a buffer at a time. A line
// cut by the limit or by a failed read is not handed out; one that does not
// fit the buffer is passed over whole.
template <class Each> void forEachLine(ByteSource& source, std::size_t most, Each each)
{
    std::string buf(kLineBuffer, '\0');
    std::size_t held = 0, read = 0;
    bool skipping = false; // inside a line too long to keep
    for (;;) {
        const std::size_t want = std::min(buf.size() - held, most - read);
        const auto got = want > 0 ? source.read(buf.data() + held, want) : Result<std::size_t>(std::size_t(0));
        const std::size_t n = got ? *got : 0;
        read += n;
        held += n;
        std::size_t from = 0;
        for (const char* nl; (nl = static_cast<const char*>(std::memchr(buf.data() + from, '\n', held - from)));) {
            const auto at = static_cast<std::size_t>(nl - buf.data());
            if (!std::exchange(skipping, false) && !each(std::string_view(buf.data() + from, at - from)))
                return;
            from = at + 1;
        }
        if (n == 0) {
            // The end of the file: its last line may have no LF.
            if (got && read < most && from < held && !skipping)
                each(std::string_view(buf.data() + from, held - from));
            return;
        }
        if (from == 0 && held == buf.size()) {
            skipping = true;
            held = 0;
            continue;
        }
        std::memmove(buf.data(), buf.data() + from, held - from);
        held -= from;
    }
}

// Reads the lines of one list into entries.
class ListLines {
public:
    explicit ListLines(const std::string& folder)
        : folder_(folder)
    {
    }

    // The entry a line gives, if any.
    std::optional<std::string> entry(std::string_view line)
    {
        if (std::exchange(first_, false) && text::startsWith(line, kUtf8Bom))
            line.remove_prefix(kUtf8Bom.size());
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trimBlanks(line);
        if (line.empty() || line.front() == '#')
            return std::nullopt;
        if (!windows1252_ && !encoding::isValidUtf8(line))
            windows1252_ = true;
        std::string e = windows1252_ ? encoding::cp1252ToUtf8(line) : std::string(line);
        if (isWebAddress(e))
            return e;
        std::replace(e.begin(), e.end(), '\\', '/');
        return e.front() == '/' ? e : joinPath(folder_, e);
    }

private:
    const std::string& folder_;
    bool first_ = true;
    bool windows1252_ = false;
};

// Lists that name each other (or a folder link that leads back to their own
// folder) open again along ever new paths: the number of paths grows
// exponentially with the depth. The budget stops the expansion, with what it
// has, long before that costs the user anything.
struct Expansion {
    const SourceOpener& open;
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
    if (auto source = x.open(path); source && *source) {
        const auto slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
        ListLines lines(folder);
        forEachLine(**source, x.budget.listBytes, [&](std::string_view line) {
            if (auto entry = lines.entry(line)) {
                if (isPlaylist(*entry) && !isWebAddress(*entry))
                    expandInto(*entry, x);
                else
                    x.out.push_back(std::move(*entry));
            }
            return !x.full();
        });
    }
    x.opening.erase(key);
}

} // namespace

bool isPlaylist(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string extension = text::toLowerAscii(name.substr(dot));
    return extension == ".m3u" || extension == ".m3u8";
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
    StringSource source{std::string(bytes)};
    ListLines lines(folder);
    std::vector<std::string> out;
    forEachLine(source, std::string::npos, [&](std::string_view line) {
        if (auto entry = lines.entry(line))
            out.push_back(std::move(*entry));
        return true;
    });
    return out;
}

std::vector<std::string> expand(const std::string& path, const SourceOpener& open, Budget budget)
{
    Expansion x{open, budget, {}, 0, {}};
    expandInto(path, x);
    return std::move(x.out);
}

std::vector<std::string> expand(const std::string& path, const Reader& read, Budget budget)
{
    const SourceOpener open = [&read](const std::string& p) -> Result<std::unique_ptr<ByteSource>> {
        auto bytes = read(p);
        if (!bytes)
            return runtimeError(ErrorCode::FileNotFound);
        return std::unique_ptr<ByteSource>(std::make_unique<StringSource>(std::move(*bytes)));
    };
    return expand(path, open, budget);
}

} // namespace zondari::playlist
