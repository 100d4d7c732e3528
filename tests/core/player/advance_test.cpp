#include <cmath>
// (A failed track reported as the next starts, a round with nothing
// played, an empty folder and Riprendi: ui/player/playback_test.cpp.)

#include <gtest/gtest.h>
#include <map>

#include "core/player/advance.h"
#include "core/player/mediavolume.h"
#include "core/player/playstate.h"
#include "core/player/trackrows.h"

using namespace zondari;

namespace {

std::vector<TrackRow> grid(std::initializer_list<const char*> names)
{
    std::vector<TrackRow> rows;
    for (const char* n : names)
        rows.push_back(TrackRow{static_cast<int>(rows.size()) + 1, std::string(" ") + n, 1, 1});
    return rows;
}

// The player stopped on `track`, which failed or played to its end.
PlayerFacts stopped(const std::string& track, bool unplayable, bool playMode = true)
{
    return PlayerFacts{kStopped, playMode, unplayable, track};
}

// Ticks on a failed track until the advance moves on; the steps seen.
std::vector<TickStep> untilAdvance(AutoAdvance& a, const std::string& track, const std::vector<TrackRow>& rows)
{
    std::vector<TickStep> steps;
    do
        steps.push_back(a.tick(stopped(track, true), rows));
    while (steps.back() != TickStep::SkipUnplayable && steps.back() != TickStep::ReportUnplayableAndRelease
        && steps.size() < 20);
    return steps;
}

} // namespace

TEST(AutoAdvance, ATrackThatPlaysKeepsTheRoundGoing)
{
    AutoAdvance a;
    const auto rows = grid({"a.mp3", "b.mp3", "c.mp3"});
    a.newRound();
    EXPECT_EQ(untilAdvance(a, "a.mp3", rows).back(), TickStep::SkipUnplayable);
    // b plays to its end: the next tick moves on at once.
    EXPECT_EQ(a.tick(PlayerFacts{kPlaying, true, false, " b.mp3"}, rows), TickStep::DisplayOnly);
    EXPECT_EQ(a.tick(stopped(" b.mp3", false), rows), TickStep::Advance);
    // c and a fail again; b played since, so the music goes on.
    EXPECT_EQ(untilAdvance(a, " c.mp3", rows).back(), TickStep::SkipUnplayable);
    EXPECT_EQ(untilAdvance(a, " a.mp3", rows).back(), TickStep::SkipUnplayable);
    EXPECT_EQ(a.tick(stopped(" b.mp3", false), rows), TickStep::Advance);
}

TEST(AutoAdvance, TheRoundFollowsTheGridAsFilesComeAndGo)
{
    AutoAdvance a;
    a.newRound();
    EXPECT_EQ(untilAdvance(a, "a.mp3", grid({"a.mp3", "b.mp3"})).back(), TickStep::SkipUnplayable);
    // A file copied in meanwhile has not been tried yet.
    const auto more = grid({"a.mp3", "b.mp3", "n.mp3"});
    EXPECT_EQ(untilAdvance(a, "b.mp3", more).back(), TickStep::SkipUnplayable);
    EXPECT_EQ(untilAdvance(a, "n.mp3", more).back(), TickStep::ReportUnplayableAndRelease);

    // A file removed shortens the round.
    AutoAdvance b;
    b.newRound();
    EXPECT_EQ(untilAdvance(b, "a.mp3", grid({"a.mp3", "b.mp3", "c.mp3"})).back(), TickStep::SkipUnplayable);
    EXPECT_EQ(untilAdvance(b, "b.mp3", grid({"a.mp3", "b.mp3"})).back(), TickStep::ReportUnplayableAndRelease);

    // A folder emptied under the player: the play mode ends quietly.
    EXPECT_EQ(b.tick(stopped("", false), {}), TickStep::ReleasePlayMode);
}

TEST(MediaVolume, HundredthsOfADecibelAreAGainAndAGainFromTheBusIsAVolume)
{
    for (const auto& [volume, gain] : {std::pair{0, 1.0}, {-2000, 0.1}, {-600, 0.501187}, {-9999, 1.0011e-5}})
        EXPECT_NEAR(volumeGain(volume), gain, gain * 1e-4) << volume;
    for (int volume : {kSilentVolume, -12000})
        EXPECT_EQ(volumeGain(volume), 0.0);
    EXPECT_EQ(volumeGain(300), 1.0);
    for (int v : {0, -1, -602, -6000, -9999})
        EXPECT_EQ(volumeOfGain(volumeGain(v)), v) << v;
    // No amplification; silence for what is no gain or below the quietest step.
    for (const auto& [gain, volume] : {std::pair{1.5, 0}, {0.0, kSilentVolume}, {-0.3, kSilentVolume},
             {1e-9, kSilentVolume}, {std::nan(""), kSilentVolume}})
        EXPECT_EQ(volumeOfGain(gain), volume) << gain;
}

TEST(TrackRows, MusicFilesNumberedInTheOrderGivenAVanishedOneLeftOut)
{
    // "gone.mp3" vanished between the listing and its facts: it is left
    // out, and the numbers close up.
    const std::map<std::string, FileFacts> facts
        = {{"b.mp3", {100, 1000}}, {"a.txt", {5, 5}}, {"A.WAV", {200, 2000}}, {"c.wma", {300, 3000}}};
    const auto rows
        = trackRows({"b.mp3", "a.txt", "gone.mp3", "A.WAV", "c.wma"}, ".WAV.MP3.M3U.WMA", [&](const std::string& n) {
              const auto f = facts.find(n);
              return f == facts.end() ? std::nullopt : std::optional<FileFacts>(f->second);
          });
    std::vector<std::string> shown;
    for (const TrackRow& r : rows)
        shown.push_back(
            std::to_string(r.number) + r.title + " " + std::to_string(r.size) + " " + std::to_string(r.modified));
    EXPECT_EQ(shown, (std::vector<std::string>{"1 b.mp3 100 1000", "2 A.WAV 200 2000", "3 c.wma 300 3000"}));
}
