// The M3U reader and the expansion of playlists inside playlists. The input
// is up to four playlists, separated by a NUL byte, named /m/a.m3u,
// /m/b.m3u, /m/sub/c.m3u and /m/d.m3u; the first is expanded.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/encoding.h"
#include "core/player/playlist.h"
#include "fuzzcheck.h"

using namespace zondari;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::array<std::string, 4> names = {"/m/a.m3u", "/m/b.m3u", "/m/sub/c.m3u", "/m/d.m3u"};
    std::array<std::string, 4> lists;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < lists.size() && !rest.empty(); ++i) {
        const auto cut = rest.find('\0');
        lists[i] = std::string(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    for (const std::string& e : playlist::entries(lists[0], "/m")) {
        FUZZ_CHECK(!e.empty() && encoding::isValidUtf8(e));
        FUZZ_CHECK(playlist::isWebAddress(e) || e.front() == '/');
        FUZZ_CHECK(e.find('\n') == std::string::npos);
    }
    // A small budget: the rules are the same, and each input costs a
    // fraction of what the program's own budget would let it.
    constexpr playlist::Budget budget{24, 400};
    std::size_t opened = 0;
    const auto all = playlist::expand(
        names[0],
        [&](const std::string& path) -> std::optional<std::string> {
            ++opened;
            // Any name that leads back to one of the four is that list, as a
            // link would make it.
            for (std::size_t i = 0; i < names.size(); ++i)
                if (path.size() >= 5 && path.compare(path.size() - 5, 5, names[i].substr(names[i].size() - 5)) == 0)
                    return lists[i];
            return std::nullopt;
        },
        budget);
    FUZZ_CHECK(opened <= budget.playlists);
    FUZZ_CHECK(all.size() <= budget.entries);
    return 0;
}
