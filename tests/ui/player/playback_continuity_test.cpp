// What a listener of the player hears across tracks: a recording cut into
// tracks plays as one, and tracks of different loudness play alike with
// ReplayGain on. Recorded at a sink of the test's own. (The music picking up
// where it stopped at the next start: app/desktop_bus_qt_test.)

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>

#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/listener.h"
#include "support/qt/testapp.h"
#include "ui/player/form1.h"
#include "ui/player/trackgrid.h"

using namespace zondari;
using namespace zondari::test;
using Clock = Listener::Clock;
using std::chrono::milliseconds;

TEST(PlaybackContinuity, ARecordingCutIntoTracksPlaysAsOneWithoutAGapOrAClick)
{
    REQUIRE_PLAYBACK();
    Listener ear;
    if (!ear.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    // Ten seconds of a tone cut at arbitrary points, each piece encoded by
    // lame on its own (which notes its encoder delay and padding), at a
    // rate whose own error at a cut stays under the click threshold.
    TempDir music;
    const std::string whole = music / "intero.wav";
    ASSERT_EQ(run("sox -q -n -r 44100 -c 2 -b 16 '" + whole + "' synth 10 sine 440 gain -6"), 0);
    const std::vector<std::pair<double, double>> cuts = {{0, 3.217}, {3.217, 3.564}, {6.781, 3.219}};
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        const std::string part = music / ("parte.wav");
        ASSERT_EQ(run("sox '" + whole + "' '" + part + "' trim " + std::to_string(cuts[i].first) + " "
                      + std::to_string(cuts[i].second)),
            0);
        ASSERT_EQ(run("lame --quiet -b 320 '" + part + "' '" + music / (std::to_string(i + 1) + ".mp3") + "'"), 0);
    }
    std::filesystem::remove(whole);
    std::filesystem::remove(music / "parte.wav");

    TestApp app;
    std::vector<std::string> details;
    app.ctx.openers.riempimp3 = [&](const std::string& track) { details.push_back(track); };
    Form1* f = app.startIn(music.path());
    f->playRow(1);
    ASSERT_TRUE(ear.hears(440));
    const auto start = *ear.recording().firstTime(
        440, Clock::now() - std::chrono::seconds(2), Clock::now(), [](double level) { return level > -30; },
        milliseconds(40), milliseconds(2));
    // The three tracks, and the first again, heard.
    ASSERT_TRUE(QTest::qWaitFor([&] { return details.size() >= 4; }, 20000)) << details.size();
    QTest::qWait(300);
    EXPECT_EQ(details, (std::vector<std::string>{"1.mp3", "2.mp3", "3.mp3", "1.mp3"}));

    // A tenth of a second in, to the same before the first track comes round.
    const std::vector<std::int16_t> heard
        = ear.recording().samples(start + milliseconds(100), start + milliseconds(9900));
    ASSERT_GT(heard.size(), 9u * SinkRecorder::kRate);
    const std::size_t window = SinkRecorder::kRate / 100; // 10 ms
    const auto rmsOf = [&](std::size_t from, std::size_t n) {
        double sum = 0;
        for (std::size_t i = from; i < from + n; ++i)
            sum += double(heard[i]) * heard[i];
        return std::sqrt(sum / double(n));
    };
    // The tone's level and its largest step, from its first second.
    const double level = rmsOf(0, SinkRecorder::kRate);
    int largestStep = 0;
    for (std::size_t i = 1; i < SinkRecorder::kRate; ++i)
        largestStep = std::max(largestStep, std::abs(heard[i] - heard[i - 1]));
    double quietest = 1e9;
    int steepest = 0;
    for (std::size_t from = 0; from + window <= heard.size(); from += window / 2)
        quietest = std::min(quietest, rmsOf(from, window));
    for (std::size_t i = 1; i < heard.size(); ++i)
        steepest = std::max(steepest, std::abs(heard[i] - heard[i - 1]));
    EXPECT_GT(20 * std::log10(quietest / level), -3.0) << "a gap at a join";
    EXPECT_LE(steepest, 2 * largestStep) << "a click at a join (the tone's largest step is " << largestStep << ")";
}

TEST(PlaybackContinuity, WithReplayGainTracksOfDifferentLoudnessSoundAlike)
{
    REQUIRE_PLAYBACK();
    Listener ear;
    if (!ear.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    TempDir music;
    // Three tones, each gain bringing it to -18 dBFS: a tag's gain (-6 dB),
    // the encoder's (+6 dB), and none (the fixed -6 dB).
    const struct {
        const char* name;
        double hz, dbfs;
        const char* lame;
    } tracks[] = {
        {"a.mp3", 440, -12, "-b 128"},
        {"b.mp3", 660, -24, "-b 128 --noreplaygain"},
        {"c.mp3", 880, -12, "-b 128 --noreplaygain"},
    };
    for (const auto& t : tracks)
        ASSERT_FALSE(
            makeMp3(music.path(), t.name, {.seconds = 20, .lameOptions = t.lame, .frequency = t.hz, .gainDb = t.dbfs})
                .empty());
    ASSERT_EQ(run("mid3v2 --TXXX 'REPLAYGAIN_TRACK_GAIN:-6.00 dB' '" + music / "a.mp3" + "'"), 0);
    // The encoder's tag made to hold a radio gain of +6.0 dB (name 1, set
    // automatically, 60 tenths), as LAME writes one.
    std::string bytes = readFile(music / "b.mp3");
    const auto lame = bytes.find("LAME");
    ASSERT_NE(lame, std::string::npos);
    bytes[lame + 15] = 0x2C;
    bytes[lame + 16] = 0x3C;
    music.write("b.mp3", bytes);

    TestApp app;
    Form1* f = app.startIn(music.path());
    const auto heardLevels = [&] {
        std::vector<double> levels;
        for (int row = 1; row <= 3; ++row) {
            f->playRow(row);
            EXPECT_TRUE(ear.hears(tracks[row - 1].hz)) << tracks[row - 1].name;
            QTest::qWait(600);
            levels.push_back(ear.steadyLevel(tracks[row - 1].hz));
        }
        return levels;
    };
    // The player's menu item on the title display, as a right click shows it.
    QAction* normalise = nullptr;
    for (QAction* a : lcd1(f)->findChildren<QMenu*>().value(0)->actions())
        if (a->text() == "Normalizza il volume (ReplayGain)")
            normalise = a;
    ASSERT_NE(normalise, nullptr);
    const std::vector<double> off = heardLevels();
    normalise->trigger();
    const std::vector<double> on = heardLevels();
    EXPECT_NEAR(off[0] - off[1], 12.0, 0.5);
    EXPECT_NEAR(on[0], on[1], 0.5);
    EXPECT_NEAR(on[0], on[2], 0.5);
    EXPECT_NEAR(on[0], -18.0, 1.0);
}
