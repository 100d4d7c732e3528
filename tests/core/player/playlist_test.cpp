#include <cstdio>
#include <gtest/gtest.h>
#include <map>

#include "core/player/playlist.h"

using namespace zondari;
using namespace zondari::playlist;

TEST(Playlist, RecognisesPlaylistNamesInAnyCase)
{
    for (const auto& [name, is] : {std::pair{"/musica/LISTA.M3U", true}, {"lista.m3u8", true},
             {"lista.m3u8.bak", false}, {"m3u", false}, {"brano.mp3", false}})
        EXPECT_EQ(isPlaylist(name), is) << name;
}

TEST(Playlist, EntriesSkipCommentsAndBlankLinesAndResolveAgainstTheListsFolder)
{
    const std::string text = "#EXTM3U\r\n"
                             "#EXTINF:123,Artista - Brano\r\n"
                             "uno.mp3\r\n"
                             "\r\n"
                             "   \r\n"
                             "Dischi\\Secondo Disco\\due.mp3\r\n"
                             "../altrove/tre.wav\n"
                             "/assoluto/quattro.mp3\n"
                             "  cinque.mp3  \n"
                             "http://radio.example/stream\n"
                             "# un commento\n"
                             "sei.mp3";
    const std::vector<std::string> expected = {
        "/musica/uno.mp3",
        "/musica/Dischi/Secondo Disco/due.mp3",
        "/musica/../altrove/tre.wav",
        "/assoluto/quattro.mp3",
        "/musica/cinque.mp3",
        "http://radio.example/stream",
        "/musica/sei.mp3",
    };
    EXPECT_EQ(entries(text, "/musica"), expected);
    EXPECT_EQ(entries(text, "/musica/"), expected);
    // (UTF-8 with its mark: ui/player/playback_test.) Windows-1252.
    EXPECT_EQ(entries("Citt\xE0.mp3\r\n", "/m"), std::vector<std::string>{"/m/Città.mp3"});
    EXPECT_TRUE(entries("#EXTM3U\r\n", "/m").empty());
}

TEST(Playlist, NestedPlaylistsOpenInPlaceAndLoopsEnd)
{
    const std::map<std::string, std::string> disk = {
        {"/m/tutto.m3u", "a.mp3\r\naltri\\altri.m3u\r\nz.mp3\r\ntutto.m3u\r\nmancante.m3u\r\n"},
        {"/m/altri/altri.m3u", "b.mp3\r\n../tutto.m3u\r\nutf8.m3u8\r\nc.mp3\r\n"},
        {"/m/altri/utf8.m3u8", "\xEF\xBB\xBF#EXTM3U\nCitt\xC3\xA0.mp3\n"},
    };
    const Reader read = [&](const std::string& path) -> std::optional<std::string> {
        const auto f = disk.find(path);
        return f == disk.end() ? std::nullopt : std::optional<std::string>(f->second);
    };
    // "../tutto.m3u" is the list being opened, under another name.
    const std::vector<std::string> expected
        = {"/m/a.mp3", "/m/altri/b.mp3", "/m/altri/Città.mp3", "/m/altri/c.mp3", "/m/z.mp3"};
    EXPECT_EQ(expand("/m/tutto.m3u", read), expected);
    EXPECT_TRUE(expand("/m/assente.m3u", read).empty());
    // An endless chain: each list names a new one, as links that loop
    // back would.
    int opened = 0;
    const Reader chain = [&](const std::string& path) -> std::optional<std::string> {
        ++opened;
        return "x.mp3\r\n" + path.substr(path.rfind('/') + 1) + "x.m3u\r\n";
    };
    const auto all = expand("/m/l.m3u", chain);
    EXPECT_EQ(opened, 16);
    EXPECT_EQ(all.size(), 16u);
}

TEST(Playlist, ListsThatNameEachOtherStopWithinTheBudget)
{
    // Ten lists, each naming a track and all the others: every order of
    // them is a new path, so following paths alone never ends in practice.
    int opened = 0;
    const Reader mesh = [&](const std::string& path) -> std::optional<std::string> {
        ++opened;
        std::string text = "brano" + path.substr(path.size() - 5, 1) + ".mp3\r\n";
        for (char c = '0'; c <= '9'; ++c)
            text += std::string("lista") + c + ".m3u\r\n";
        return text;
    };
    const std::vector<std::string> all = expand("/m/lista0.m3u", mesh);
    EXPECT_EQ(opened, 1000);
    ASSERT_FALSE(all.empty());
    // What it has is in order: the first list's track, then the second's.
    EXPECT_EQ(all[0], "/m/brano0.mp3");
    EXPECT_EQ(all[1], "/m/brano1.mp3");

    // A list of many tracks that names itself through a link to its own
    // folder ("d") stops at 10,000 entries.
    const Reader big = [&](const std::string&) -> std::optional<std::string> {
        std::string text;
        for (int i = 0; i < 3000; ++i)
            text += "t" + std::to_string(i) + ".mp3\n";
        return text + "d/l.m3u\n";
    };
    EXPECT_EQ(expand("/m/l.m3u", big).size(), 10000u);
}

namespace {

// Line k of a made list: 256 bytes, "/m/00000042xxx...x.mp3".
std::string lineOf(std::size_t k)
{
    char number[16];
    std::snprintf(number, sizeof number, "%08zu", k);
    return "/m/" + std::string(number) + std::string(240, 'x') + ".mp3\n";
}

// A source over bytes in memory that counts what is read of it.
class CountedSource : public StringSource {
public:
    CountedSource(std::string bytes, std::size_t& count)
        : StringSource(std::move(bytes))
        , count_(count)
    {
    }
    Result<std::size_t> read(char* to, std::size_t most) override
    {
        auto n = StringSource::read(to, most);
        count_ += *n;
        return n;
    }

private:
    std::size_t& count_;
};

} // namespace

TEST(Playlist, ReadingStopsAtTheEntryBudgetAndAtSixteenMebibytesOfAList)
{
    constexpr std::size_t kMiB = std::size_t(1) << 20, kLines16MiB = 16 * kMiB / 256;
    std::string lines; // 32 MiB
    for (std::size_t k = 0; k < 2 * kLines16MiB; ++k)
        lines += lineOf(k);
    const struct {
        const char* what;
        std::string head;
        std::size_t entries; // the budget
        std::size_t given; // entries given: the last is line given - 1
        std::size_t mostRead;
    } cases[] = {
        {"the entry budget", "", 10000, 10000, 10000 * 256 + 64 * 1024},
        {"16 MiB", "", 1000000, kLines16MiB, 16 * kMiB},
        {"16 MiB cutting a line, which is not taken", "#EXTM3U\n", 1000000, kLines16MiB - 1, 16 * kMiB},
    };
    for (const auto& c : cases) {
        std::size_t read = 0;
        const SourceOpener open = [&](const std::string&) -> Result<std::unique_ptr<ByteSource>> {
            return std::unique_ptr<ByteSource>(std::make_unique<CountedSource>(c.head + lines, read));
        };
        const auto all = expand("/m/lista.m3u", open, {1000, c.entries});
        ASSERT_EQ(all.size(), c.given) << c.what;
        EXPECT_EQ(all.back() + "\n", lineOf(c.given - 1)) << c.what;
        EXPECT_LE(read, c.mostRead) << c.what;
    }
}
