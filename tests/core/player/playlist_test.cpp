#include <gtest/gtest.h>
#include <map>

#include "core/player/playlist.h"

using namespace zondari;
using namespace zondari::playlist;

TEST(Playlist, RecognisesPlaylistNamesInAnyCase)
{
    EXPECT_TRUE(isPlaylist("lista.m3u"));
    EXPECT_TRUE(isPlaylist("/musica/LISTA.M3U"));
    EXPECT_FALSE(isPlaylist("lista.m3u8"));
    EXPECT_FALSE(isPlaylist("m3u"));
    EXPECT_FALSE(isPlaylist("brano.mp3"));
}

TEST(Playlist, EntriesSkipCommentsAndBlankLinesAndResolveAgainstTheListsFolder)
{
    const std::string text =
        "#EXTM3U\r\n"
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
}

TEST(Playlist, ReadsUtf8WithOrWithoutMarkAndWindows1252)
{
    EXPECT_EQ(entries("\xEF\xBB\xBF" "Citt\xC3\xA0.mp3\r\n", "/m"), std::vector<std::string>{"/m/Città.mp3"});
    EXPECT_EQ(entries("Citt\xE0.mp3\r\n", "/m"), std::vector<std::string>{"/m/Città.mp3"});
    EXPECT_TRUE(entries("", "/m").empty());
    EXPECT_TRUE(entries("#EXTM3U\r\n", "/m").empty());
}

TEST(Playlist, NestedPlaylistsOpenInPlaceAndLoopsEnd)
{
    const std::map<std::string, std::string> disk = {
        {"/m/tutto.m3u", "a.mp3\r\naltri\\altri.m3u\r\nz.mp3\r\ntutto.m3u\r\nmancante.m3u\r\n"},
        {"/m/altri/altri.m3u", "b.mp3\r\n../tutto.m3u\r\nc.mp3\r\n"},
    };
    const Reader read = [&](const std::string& path) -> std::optional<std::string> {
        const auto f = disk.find(path);
        return f == disk.end() ? std::nullopt : std::optional<std::string>(f->second);
    };
    // "../tutto.m3u" is the list being opened, under another name.
    const std::vector<std::string> expected = {"/m/a.mp3", "/m/altri/b.mp3", "/m/altri/c.mp3", "/m/z.mp3"};
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

