#include <gtest/gtest.h>
#include <map>

#include "core/player/trackrows.h"

using namespace zondari;

TEST(TrackRows, MusicFilesNumberedInTheOrderGivenAVanishedOneLeftOut)
{
    // "gone.mp3" vanished between the listing and its facts: it is left
    // out, and the numbers close up.
    const std::map<std::string, FileFacts> facts = {
        {"b.mp3", {100, 1000}}, {"a.txt", {5, 5}}, {"A.WAV", {200, 2000}}, {"c.wma", {300, 3000}}};
    const auto rows = trackRows({"b.mp3", "a.txt", "gone.mp3", "A.WAV", "c.wma"}, ".WAV.MP3.M3U.WMA",
                                [&](const std::string& n) {
                                    const auto f = facts.find(n);
                                    return f == facts.end() ? std::nullopt : std::optional<FileFacts>(f->second);
                                });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[0].title, " b.mp3");
    EXPECT_EQ(rows[0].size, 100u);
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[1].title, " A.WAV");
    EXPECT_EQ(rows[1].modified, 2000);
    EXPECT_EQ(rows[2].number, 3);
}
