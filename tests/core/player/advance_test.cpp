#include <gtest/gtest.h>
#include <map>

#include "core/player/advance.h"
#include "core/player/mediavolume.h"
#include "core/player/playstate.h"
#include "core/player/trackrows.h"

using namespace zondari;

TEST(AutomaticAdvance, NextRowFollowsTheGridAndWrapsToTheFirstTrack)
{
    // A grid of 3 tracks has 4 rows with its header.
    EXPECT_EQ(nextTrackRow(1, 4), 2);
    EXPECT_EQ(nextTrackRow(2, 4), 3);
    EXPECT_EQ(nextTrackRow(3, 4), 1);
    // Nothing chosen yet (the header): the first track.
    EXPECT_EQ(nextTrackRow(0, 4), 1);
    // One track: itself again.
    EXPECT_EQ(nextTrackRow(1, 2), 1);
    // No track at all.
    EXPECT_EQ(nextTrackRow(0, 1), 0);
}

TEST(AutomaticAdvance, OnlyAStoppedPlayerWithThePlayModeOnMovesOnAndAnEmptyGridEndsThePlayMode)
{
    EXPECT_EQ(tickStep(kStopped, true, 4), TickStep::Advance);
    EXPECT_EQ(tickStep(kPlaying, true, 4), TickStep::DisplayOnly);
    EXPECT_EQ(tickStep(kPaused, true, 4), TickStep::DisplayOnly);
    EXPECT_EQ(tickStep(kStopped, false, 4), TickStep::DisplayOnly);
    EXPECT_EQ(tickStep(kPlaying, false, 4), TickStep::DisplayOnly);
    // Any other state the player may report waits too.
    EXPECT_EQ(tickStep(3, true, 4), TickStep::DisplayOnly);
    // An empty grid ends the play mode instead of failing every tick.
    EXPECT_EQ(tickStep(kStopped, true, 1), TickStep::ReleasePlayMode);
    EXPECT_EQ(tickStep(kStopped, false, 1), TickStep::DisplayOnly);
}

TEST(MediaVolume, HundredthsOfADecibelBecomeAGain)
{
    EXPECT_DOUBLE_EQ(volumeGain(0), 1.0);
    EXPECT_NEAR(volumeGain(-2000), 0.1, 1e-12);   // -20 dB
    EXPECT_NEAR(volumeGain(-600), 0.501187, 1e-6);  // -6 dB
    EXPECT_NEAR(volumeGain(-9999), 1.0011e-5, 1e-8);
    EXPECT_EQ(volumeGain(kSilentVolume), 0.0);
    EXPECT_EQ(volumeGain(-12000), 0.0);
    EXPECT_EQ(volumeGain(300), 1.0);
}

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
