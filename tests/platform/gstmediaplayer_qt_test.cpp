#include <QElapsedTimer>
#include <QTest>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <unistd.h>
#include <vector>

#include "platform/qt/gstmediaplayer.h"
#include "support/mp3fixtures.h"
#include "support/qt/sound.h"
#include "support/sinkrecorder.h"
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

bool waitForState(const MediaPlayer& m, int state, int ms = kWaitMs)
{
    return QTest::qWaitFor([&] { return m.playState() == state; }, ms);
}

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

TEST(GstMediaPlayer, VolumePauseAndStopAreHeardWithinATenthOfASecond)
{
    REQUIRE_PLAYBACK();
    using Clock = SinkRecorder::Clock;
    using std::chrono::milliseconds;
    OwnSink sink;
    if (!sink.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    ::setenv("PULSE_SINK", sink.name().c_str(), 1);
    TempDir music;
    const std::string file = makeMp3(music.path(), "tono.mp3", {.seconds = 30.0, .gainDb = -6});
    SinkRecorder heard(sink.name());
    Player p;
    ASSERT_TRUE(p.media.setFileName(file));
    ASSERT_TRUE(p.media.play());
    ::unsetenv("PULSE_SINK");
    const auto levelNow = [&] {
        std::optional<double> level;
        (void)QTest::qWaitFor([&] { return bool(level = heard.levelDb(440, Clock::now() - milliseconds(60))); }, 1000);
        return level.value_or(-999);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return levelNow() > -20; }, kWaitMs)) << "the tone is not heard";
    QTest::qWait(300); // played and recorded a while, so that the reference level has settled
    const double full = levelNow();

    // How long after `change` the tone stays within 1 dB of `target` dB
    // below full (or silent, for a target under -60).
    const auto delayOf = [&](const std::function<void()>& change, double target) {
        const Clock::time_point t0 = Clock::now();
        change();
        QTest::qWait(700); // the span measured below, recorded
        const auto when = heard.firstTime(440, t0, t0 + milliseconds(500),
            [&](double level) { return target < -60 ? level < full - 60 : std::abs(level - full - target) <= 1.0; });
        return when ? std::chrono::duration<double, std::milli>(*when - t0).count() : 9999.0;
    };
    // Hundredths of a decibel: -20 dB is a tenth of the amplitude; -10000
    // is silence. Down and up alike.
    for (const auto& [volume, target] : {std::pair{-2000, -20.0}, {0, 0.0}, {-10000, -100.0}, {-600, -6.0}, {0, 0.0}}) {
        const double delay = delayOf([&] { p.media.setVolume(volume); }, target);
        std::cout << "[heard] volume " << volume << " after " << delay << " ms\n";
        EXPECT_LE(delay, 100) << volume;
        EXPECT_EQ(p.media.volume(), volume);
    }
    const double paused = delayOf([&] { p.media.pause(); }, -100);
    const double resumed = delayOf([&] { ASSERT_TRUE(p.media.play()); }, 0);
    const double stopped = delayOf([&] { p.media.stop(); }, -100);
    std::cout << "[heard] pause after " << paused << " ms, play after " << resumed << " ms, stop after " << stopped
              << " ms\n";
    EXPECT_LE(paused, 100);
    EXPECT_LE(resumed, 100);
    EXPECT_LE(stopped, 100);
    EXPECT_EQ(p.media.playState(), kStopped);
}
