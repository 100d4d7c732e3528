#include <gtest/gtest.h>
#include <map>

#include "core/player/trackrows.h"

using namespace zondari;

TEST(TrackRows, MusicFilesNumberedInTheOrderGiven)
{
    const std::map<std::string, FileFacts> facts = {
        {"b.mp3", {100, 1000}}, {"a.txt", {5, 5}}, {"A.WAV", {200, 2000}}, {"c.wma", {300, 3000}}};
    const auto rows = trackRows({"b.mp3", "a.txt", "A.WAV", "c.wma"}, ".WAV.MP3.M3U.WMA",
                                [&](const std::string& n) { return std::optional<FileFacts>(facts.at(n)); });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[0].title, " b.mp3");
    EXPECT_EQ(rows[0].size, 100u);
    EXPECT_EQ(rows[1].title, " A.WAV");
    EXPECT_EQ(rows[1].modified, 2000);
    EXPECT_EQ(rows[2].number, 3);
}

TEST(TrackRows, VanishedFileIsLeftOutAndNumbersCloseUp)
{
    const auto rows = trackRows({"a.mp3", "gone.mp3", "c.mp3"}, ".MP3", [](const std::string& n) {
        return n == "gone.mp3" ? std::nullopt : std::optional<FileFacts>(FileFacts{1, 1});
    });
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].title, " c.mp3");
    EXPECT_EQ(rows[1].number, 2);
}
