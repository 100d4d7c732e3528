#include <cctype>
#include <cstdint>
#include <unistd.h>
#include <QElapsedTimer>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

#include "platform/files.h"
#include "platform/qt/qtmediaplayer.h"
#include "support/mp3fixtures.h"
#include "support/qt/sound.h"
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
    QtMediaPlayer media;
    std::vector<Jump> jumps;
};

bool waitForState(const MediaPlayer& m, int state, int ms = kWaitMs)
{
    return QTest::qWaitFor([&] { return m.playState() == state; }, ms);
}

class CurrentFolderGuard {
public:
    ~CurrentFolderGuard()
    {
        std::error_code ec;
        std::filesystem::current_path("/", ec);
    }
};

}  // namespace

TEST(QtMediaPlayer, PlaysAFileIntoTheSoundServerUntilItEndsWithoutAPositionChange)
{
    REQUIRE_PLAYBACK();
    TempDir music;
    ASSERT_FALSE(makeMp3(music.path(), "tono.mp3", {.seconds = 1.0}).empty());
    CurrentFolderGuard back;
    std::filesystem::current_path(music.path());

    Player p;
    ASSERT_TRUE(p.media.setFileName("tono.mp3"));
    // The name was resolved when it was set.
    std::filesystem::current_path("/");
    EXPECT_EQ(p.media.fileName(), "tono.mp3");
    EXPECT_EQ(p.media.playState(), kStopped);
    ASSERT_TRUE(p.media.play());
    EXPECT_EQ(p.media.playState(), kPlaying);
    EXPECT_TRUE(QTest::qWaitFor([] { return ownSinkInputs() > 0; }, kWaitMs)) << "no playback stream on the server";
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.media.currentPosition() > 0.2; }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.media.duration() > 0; }, kWaitMs));
    EXPECT_NEAR(p.media.duration(), 1.0, 0.1);

    ASSERT_TRUE(waitForState(p.media, kStopped));
    EXPECT_GT(p.media.currentPosition(), 0.8);  // left at the end, as a finished track is
    EXPECT_TRUE(p.jumps.empty());
}

TEST(QtMediaPlayer, FileThatCannotBeOpenedOrPlayedLeavesThePlayerStopped)
{
    REQUIRE_PLAYBACK();
    TempDir music;
    music.write("rumore.mp3", output("head -c 40000 /dev/urandom"));
    Player p;

    EXPECT_FALSE(p.media.setFileName(music / "manca.mp3"));
    EXPECT_FALSE(p.media.play());
    EXPECT_EQ(p.media.playState(), kStopped);
    EXPECT_FALSE(p.media.setFileName(""));
    EXPECT_FALSE(p.media.setFileName(music.path()));  // a folder

    ASSERT_TRUE(p.media.setFileName(music / "rumore.mp3"));
    (void)p.media.play();
    EXPECT_TRUE(waitForState(p.media, kStopped)) << "random bytes still reported as playing";
    EXPECT_TRUE(p.jumps.empty());
}

TEST(QtMediaPlayer, PauseHoldsThePositionStopAndSeekRaiseThePositionChange)
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
    QTest::qWait(400);
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

TEST(QtMediaPlayer, PlaylistPlaysItsEntriesOneAfterAnotherAsOnePlayback)
{
    REQUIRE_PLAYBACK();
    TempDir music;
    ASSERT_FALSE(makeMp3(music.path(), "uno.mp3", {.seconds = 1.0}).empty());
    music.mkdir("Disco 2");
    ASSERT_FALSE(makeMp3(music.path(), "Disco 2/due.mp3", {.seconds = 1.5, .frequency = 660}).empty());
    music.write("rumore.mp3", output("head -c 40000 /dev/urandom"));
    music.write("lista.m3u",
                "#EXTM3U\r\n#EXTINF:1,Uno\r\nuno.mp3\r\nmancante.mp3\r\nrumore.mp3\r\nDisco 2\\due.mp3\r\n");

    Player p;
    ASSERT_TRUE(p.media.setFileName(music / "lista.m3u"));
    ASSERT_TRUE(p.media.play());
    std::vector<double> lengths;
    QElapsedTimer clock;
    clock.start();
    // Sampled often: the player never looks stopped between entries.
    while (p.media.playState() == kPlaying && clock.elapsed() < 3 * kWaitMs) {
        const double d = std::round(p.media.duration() * 10) / 10;
        if (d > 0 && (lengths.empty() || lengths.back() != d))
            lengths.push_back(d);
        QTest::qWait(20);
    }
    EXPECT_EQ(p.media.playState(), kStopped);
    EXPECT_EQ(lengths, (std::vector<double>{1.0, 1.5}));
    EXPECT_GE(clock.elapsed(), 2300);
    EXPECT_TRUE(p.jumps.empty());

    // A playlist with nothing to play ends at once.
    music.write("vuota.m3u", "#EXTM3U\r\nmancante.mp3\r\n");
    ASSERT_TRUE(p.media.setFileName(music / "vuota.m3u"));
    (void)p.media.play();
    EXPECT_EQ(p.media.playState(), kStopped);
}

namespace {

// A null sink of its own, so that what the recording hears is this test's
// sound alone.
class OwnSink {
public:
    OwnSink() : name_("zondari_volume_" + std::to_string(::getpid()))
    {
        module_ = output("pactl load-module module-null-sink sink_name=" + name_ + " 2>/dev/null");
    }
    ~OwnSink()
    {
        if (ok())
            run("pactl unload-module " + module_);
    }
    bool ok() const { return !module_.empty() && std::isdigit(static_cast<unsigned char>(module_[0])); }
    const std::string& name() const { return name_; }

    // Root mean square of half a second of what reaches the sink, as a
    // fraction of full scale.
    double rms() const
    {
        const std::string raw = output("parecord --raw --format=s16le --rate=44100 --channels=1 --latency-msec=20 -d "
                                       + name_ + ".monitor 2>/dev/null | head -c 44100");
        double sum = 0;
        const std::size_t n = raw.size() / 2;
        for (std::size_t i = 0; i < n; ++i) {
            const auto s = static_cast<std::int16_t>(static_cast<unsigned char>(raw[2 * i])
                                                     | (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
            sum += double(s) * s;
        }
        return n ? std::sqrt(sum / double(n)) / 32768.0 : -1.0;
    }

private:
    std::string name_;
    std::string module_;
};

}  // namespace

TEST(QtMediaPlayer, VolumeInHundredthsOfADecibelReachesTheOutput)
{
    REQUIRE_PLAYBACK();
    OwnSink sink;
    if (!sink.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    TempDir music;
    const std::string file = makeMp3(music.path(), "tono.mp3", {.seconds = 8.0});
    Player p;
    ASSERT_TRUE(p.media.setFileName(file));
    ASSERT_TRUE(p.media.play());
    ASSERT_TRUE(QTest::qWaitFor([] { return ownSinkInputs() > 0; }, kWaitMs));
    // A 440 Hz sine from sox at full scale has an RMS of 0.707, less what
    // lame's filters take.
    ASSERT_TRUE(QTest::qWaitFor([&] { return moveOwnSinkInputs(sink.name()) && sink.rms() > 0.3; }, kWaitMs));
    const double full = sink.rms();  // a whole half second of it
    EXPECT_GT(full, 0.3);
    p.media.setVolume(-2000);  // -20 dB
    EXPECT_EQ(p.media.volume(), -2000);
    QTest::qWait(400);
    EXPECT_NEAR(sink.rms() / full, 0.1, 0.02);

    p.media.setVolume(-10000);
    QTest::qWait(400);
    EXPECT_LT(sink.rms(), 0.001);
    EXPECT_EQ(p.media.playState(), kPlaying);
}
