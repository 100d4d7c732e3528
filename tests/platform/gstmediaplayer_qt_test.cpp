#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "platform/qt/gstmediaplayer.h"
#include "support/mp3fixtures.h"
#include "support/qt/listener.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr int kWaitMs = 8000;

struct Jump {
    double from;
    double to;
};

// A real player whose position changes are recorded.
struct Player {
    Player()
    {
        media.onPositionChange([this](double from, double to) { jumps.push_back({from, to}); });
    }
    GstMediaPlayer media;
    std::vector<Jump> jumps;
};

} // namespace

// (A track played to its end, with no position change, and the next one
// after it: ui/player/playback_test; its length: the mixer's slider in
// ui/mixer/mp3mixer_test.)
TEST(GstMediaPlayer, PauseHoldsThePositionStopAndSeekRaiseThePositionChange)
{
    REQUIRE_PLAYBACK();
    TempDir music;
    const std::string file = makeMp3(music.path(), "lungo.mp3", {.seconds = 6.0});
    Player p;
    ASSERT_TRUE(p.media.setFileName(file));
    ASSERT_TRUE(p.media.play());
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.media.currentPosition() > 0.3; }, kWaitMs));

    p.media.pause();
    EXPECT_EQ(p.media.playState(), kPaused);
    const double held = p.media.currentPosition();
    QTest::qWait(400); // paused, it does not move on
    EXPECT_NEAR(p.media.currentPosition(), held, 0.05);
    EXPECT_EQ(p.media.playState(), kPaused);
    EXPECT_TRUE(p.jumps.empty());

    ASSERT_TRUE(p.media.play());
    EXPECT_EQ(p.media.playState(), kPlaying);
    // Far ahead of wherever a loaded machine has got to.
    p.media.setCurrentPosition(4.0);
    ASSERT_EQ(p.jumps.size(), 1u);
    // Where it was before the seek (Qt's reports of it come late).
    EXPECT_GE(p.jumps[0].from, held - 0.05);
    EXPECT_LT(p.jumps[0].from, 4.0);
    EXPECT_EQ(p.jumps[0].to, 4.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.media.currentPosition() >= 4.0; }, kWaitMs));

    p.media.stop();
    EXPECT_EQ(p.media.playState(), kStopped);
    ASSERT_EQ(p.jumps.size(), 2u);
    EXPECT_GE(p.jumps[1].from, 4.0);
    EXPECT_EQ(p.jumps[1].to, 0.0);
    EXPECT_EQ(p.media.currentPosition(), 0.0);
    // Stopped by the user: it does not start again by itself.
    QTest::qWait(300);
    EXPECT_EQ(p.media.playState(), kStopped);
}

TEST(GstMediaPlayer, PauseAndStopAreHeardWithinATenthOfASecond)
{
    REQUIRE_PLAYBACK();
    Listener ear;
    if (!ear.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    TempDir music;
    Player p;
    ASSERT_TRUE(p.media.setFileName(makeMp3(music.path(), "tono.mp3", {.seconds = 30.0, .gainDb = -6})));
    ASSERT_TRUE(p.media.play());
    ASSERT_TRUE(ear.hears(440)) << "the tone is not heard";
    QTest::qWait(300); // played and recorded a while, so that the reference level has settled
    const double full = ear.steadyLevel(440);
    // (The volume, in hundredths of a decibel, heard at its level within a
    // tenth of a second: the mixer's crossfader in ui/mixer/mp3mixer_test.)
    auto t0 = Listener::Clock::now();
    p.media.pause();
    EXPECT_LE(ear.silencedAfter(440, t0), 100);
    t0 = Listener::Clock::now();
    ASSERT_TRUE(p.media.play());
    EXPECT_LE(ear.settledAfter(440, t0), 100);
    EXPECT_NEAR(ear.level(440, t0 + std::chrono::milliseconds(1200)), full, 1.0);
    t0 = Listener::Clock::now();
    p.media.stop();
    EXPECT_LE(ear.silencedAfter(440, t0), 100);
    EXPECT_EQ(p.media.playState(), kStopped);
    p.media.setVolume(-600);
    EXPECT_EQ(p.media.volume(), -600); // as the media keys' bus reads it back
}
