// The player window on a session bus of the test's own (ctest starts this
// test under dbus-run-session), driven by the programs a desktop drives it
// with: playerctl, as the media keys do, and dbus-send; its sound recorded
// on a sink of the test's own.

#include <QAction>
#include <QDBusConnection>
#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "core/player/playstate.h"
#include "platform/mediaplayer.h"
#include "platform/mp3file.h"
#include "support/mp3fixtures.h"
#include "support/qt/sound.h"
#include "support/qt/testapp.h"
#include "support/sinkrecorder.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/player/mpris.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
using Clock = SinkRecorder::Clock;
using std::chrono::milliseconds;

namespace {

constexpr int kWaitMs = 10000;
constexpr double kHz[] = {440.0, 880.0, 1320.0};

// Runs a program and waits for it while this process goes on answering the
// bus; what it printed, trimmed.
std::string runAnswering(const QStringList& argv)
{
    QProcess p;
    p.start(argv.front(), argv.mid(1));
    if (!p.waitForStarted(kWaitMs))
        return "<" + argv.front().toStdString() + " non parte>";
    (void)QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, kWaitMs);
    return p.readAllStandardOutput().trimmed().toStdString();
}

std::string ctl(const QStringList& args)
{
    return runAnswering(QStringList{"playerctl", "-p", "zondari"} + args);
}

// A method of the player's object called with dbus-send.
void call(const char* method, const QStringList& args = {})
{
    runAnswering(QStringList{"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.zondari",
                     "/org/mpris/MediaPlayer2", method}
        + args);
}

// Three tones of their own pitch in a folder, listed in the player window,
// which serves the bus; its streams go to the test's sink, recorded.
struct OnTheBus : ::testing::Test {
    void SetUp() override
    {
        REQUIRE_PLAYBACK();
        if (!std::getenv("DBUS_SESSION_BUS_ADDRESS") || !QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no session bus: run this test through ctest, which starts one with dbus-run-session";
        if (std::system("command -v playerctl >/dev/null") != 0)
            GTEST_SKIP() << "playerctl is missing (scripts/setup installs it)";
        if (!sink.ok())
            GTEST_SKIP() << "the sound server does not load a null sink for this test";
        ::setenv("PULSE_SINK", sink.name().c_str(), 1);
        const char* names[] = {"a.mp3", "b.mp3", "c.mp3"};
        for (int i = 0; i < 3; ++i)
            paths[i] = makeMp3(music.path(), names[i], {.seconds = 20, .frequency = kHz[i], .gainDb = -6});
        TagRecord tag;
        tag.Title = "Secondo brano";
        tag.Artist = "Artista";
        tag.Album = "Album";
        ASSERT_TRUE(WriteTag(paths[1], tag));
        f = app.startIn(music.path());
        mpris = std::make_unique<Mpris>(app.ctx);
        ASSERT_TRUE(mpris->registerOnSessionBus());
        ASSERT_EQ(mpris->serviceName().toStdString(), "org.mpris.MediaPlayer2.zondari");
    }
    void TearDown() override
    {
        mpris.reset();
        ::unsetenv("PULSE_SINK");
    }

    // Whether the tone of track `i` (0-based) is what the sink hears now,
    // loud, with the other two silent.
    bool hears(int i)
    {
        return QTest::qWaitFor(
            [&] {
                moveOwnSinkInputs(sink.name());
                const auto at = Clock::now() - milliseconds(120);
                for (int k = 0; k < 3; ++k) {
                    const auto level = recorder.levelDb(kHz[k], at);
                    if (!level || (k == i ? *level < -20 : *level > -50))
                        return false;
                }
                return true;
            },
            kWaitMs);
    }
    bool playing() const { return f->media().playState() == kPlaying; }

    OwnSink sink;
    SinkRecorder recorder{sink.name()};
    TempDir music;
    std::string paths[3];
    TestApp app;
    Form1* f = nullptr;
    std::unique_ptr<Mpris> mpris;
};

} // namespace

TEST_F(OnTheBus, NextAndPreviousMoveAlongTheGridAndTheNewRowIsHeard)
{
    f->ExtGrid1->setRow(1);
    f->ExtGrid1_Click();
    ASSERT_TRUE(hears(0));

    ctl({"next"});
    EXPECT_EQ(f->ExtGrid1->row(), 2);
    EXPECT_EQ(app.state.BranoCorrente, "b.mp3");
    EXPECT_TRUE(f->playMode());
    EXPECT_TRUE(hears(1)) << "the second row's tone is not what plays";

    ctl({"next"});
    ctl({"next"});
    // After the last row, the first again, as the automatic advance goes.
    EXPECT_EQ(f->ExtGrid1->row(), 1);
    EXPECT_TRUE(hears(0));

    ctl({"previous"});
    EXPECT_EQ(f->ExtGrid1->row(), 3);
    EXPECT_EQ(app.state.BranoCorrente, "c.mp3");
    EXPECT_TRUE(hears(2));
}

TEST_F(OnTheBus, PlayPauseAndStopGoThroughThePlayersOwnCommands)
{
    EXPECT_EQ(ctl({"status"}), "Stopped");
    // Nothing chosen yet: play starts the first row.
    ctl({"play"});
    EXPECT_EQ(f->ExtGrid1->row(), 1);
    EXPECT_TRUE(playing());
    EXPECT_TRUE(f->button("riprendi")->isChecked());
    EXPECT_EQ(ctl({"status"}), "Playing");
    EXPECT_TRUE(hears(0));

    // Pause is the toolbar's button: suspended, the play mode off.
    ctl({"pause"});
    EXPECT_EQ(f->media().playState(), kPaused);
    EXPECT_FALSE(f->button("riprendi")->isChecked());
    EXPECT_EQ(ctl({"status"}), "Paused");
    // A pause that finds nothing playing changes nothing.
    ctl({"pause"});
    EXPECT_EQ(f->media().playState(), kPaused);

    // The same button again: the track from its beginning.
    ctl({"play-pause"});
    EXPECT_TRUE(playing());
    EXPECT_TRUE(f->button("riprendi")->isChecked());
    EXPECT_LT(f->media().currentPosition(), 1.0);
    EXPECT_TRUE(hears(0));

    // Stop is the player's: back at the start, the play mode off, and the
    // timer does not start the next row.
    ctl({"stop"});
    EXPECT_EQ(f->media().playState(), kStopped);
    EXPECT_FALSE(f->button("riprendi")->isChecked());
    QTest::qWait(700); // time for the timer to have started a row, were it to
    EXPECT_EQ(f->ExtGrid1->row(), 1);
    EXPECT_EQ(ctl({"status"}), "Stopped");
}

TEST_F(OnTheBus, MetadataNamesTheTrackByItsTagOrItsFileName)
{
    f->ExtGrid1->setRow(2);
    f->ExtGrid1_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f->media().duration() > 0; }, kWaitMs));
    EXPECT_EQ(ctl({"metadata", "--format", "{{title}}|{{artist}}|{{album}}|{{xesam:url}}"}),
        "Secondo brano|Artista|Album|file://" + paths[1]);
    const double length = std::stod(ctl({"metadata", "mpris:length"})) / 1e6;
    EXPECT_NEAR(length, 20.0, 0.1);

    // No tag: the file's name, as the grid shows it.
    ctl({"previous"});
    EXPECT_EQ(ctl({"metadata", "title"}), "a.mp3");
    EXPECT_EQ(ctl({"metadata", "artist"}), "");
}

TEST_F(OnTheBus, EveryChangeIsAnnouncedWhateverMadeIt)
{
    // playerctl --follow prints a line each time the player announces a
    // change of its properties.
    QProcess follow;
    follow.start("playerctl", {"-p", "zondari", "--follow", "metadata", "--format", "{{status}} {{title}}"});
    ASSERT_TRUE(follow.waitForStarted(kWaitMs));
    std::string seen;
    const auto shows = [&](const std::string& line) {
        return QTest::qWaitFor(
            [&] {
                seen += follow.readAllStandardOutput().toStdString();
                return seen.find(line + "\n") != std::string::npos;
            },
            kWaitMs);
    };
    // A person's click on a row, not the bus.
    f->ExtGrid1->setRow(2);
    f->ExtGrid1_Click();
    EXPECT_TRUE(shows("Playing Secondo brano")) << seen;
    // The tag editor saves a new title while the track plays.
    TagRecord tag;
    tag.Title = "Titolo nuovo";
    ASSERT_TRUE(WriteTag(paths[1], tag));
    EXPECT_TRUE(shows("Playing Titolo nuovo")) << seen;
    // The toolbar's button.
    f->button("riprendi")->trigger();
    EXPECT_TRUE(shows("Paused Titolo nuovo")) << seen;
    follow.kill();
    follow.waitForFinished();
}

TEST_F(OnTheBus, VolumeIsThePlayersStreamAndIsHeard)
{
    f->ExtGrid1->setRow(1);
    f->ExtGrid1_Click();
    ASSERT_TRUE(hears(0));
    // The level from 300 ms after now on, once the recording holds some of
    // it: a slow machine delivers the recording late, never skips it.
    const auto level = [&] {
        const auto from = Clock::now() + milliseconds(300);
        std::optional<double> heard;
        (void)QTest::qWaitFor([&] { return bool(heard = recorder.levelDb(kHz[0], from)); }, kWaitMs);
        return heard.value_or(-999);
    };
    const double full = level();
    ctl({"volume", "0.5"});
    EXPECT_EQ(f->media().volume(), -602); // hundredths of a decibel
    EXPECT_NEAR(std::stod(ctl({"volume"})), 0.5, 0.001);
    EXPECT_NEAR(level() - full, -6.0, 1.0) << "half the amplitude is 6 dB down";
}

TEST_F(OnTheBus, RaiseBringsTheFrameBackAndQuitEndsAsEsciDoes)
{
    app.frame->showMinimized();
    ASSERT_TRUE(app.frame->isMinimized());
    call("org.mpris.MediaPlayer2.Raise");
    EXPECT_FALSE(app.frame->isMinimized());
    EXPECT_TRUE(app.frame->isVisible());

    EXPECT_EQ(app.ended, 0);
    call("org.mpris.MediaPlayer2.Quit");
    EXPECT_EQ(app.ended, 1);
}

TEST_F(OnTheBus, OpenUriListsTheFilesFolderAndPlaysIt)
{
    TempDir other;
    const std::string file = makeMp3(other.path(), "altro brano.mp3", {.seconds = 20, .frequency = kHz[2]});
    call("org.mpris.MediaPlayer2.Player.OpenUri",
        {"string:file://" + QString::fromStdString(other.path()) + "/altro%20brano.mp3"});
    EXPECT_EQ(f->Dir1->path(), other.path());
    EXPECT_EQ(app.state.BranoCorrente, "altro brano.mp3");
    EXPECT_TRUE(playing());
    EXPECT_TRUE(hears(2));
}

TEST_F(OnTheBus, ASecondPlayerTakesAnInstanceNameAndNoBusIsNoError)
{
    QDBusConnection second = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "secondo");
    {
        Mpris other(app.ctx);
        ASSERT_TRUE(other.registerOn(second));
        const std::string instance = "org.mpris.MediaPlayer2.zondari.instance" + std::to_string(::getpid());
        EXPECT_EQ(other.serviceName().toStdString(), instance);
        const std::string players = runAnswering({"playerctl", "-l"});
        EXPECT_NE(players.find("zondari\n"), std::string::npos) << players;
        EXPECT_NE(players.find(instance.substr(std::string("org.mpris.MediaPlayer2.").size())), std::string::npos)
            << players;
    }
    QDBusConnection::disconnectFromBus("secondo");

    Mpris unconnected(app.ctx);
    EXPECT_FALSE(unconnected.registerOn(QDBusConnection("nessun bus")));
    EXPECT_EQ(unconnected.serviceName(), "");
}
