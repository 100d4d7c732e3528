// The program as the desktop starts it: the real zondari, given a file or a
// folder on its command line, on a session bus of the test's own (ctest
// starts this test under dbus-run-session), driven with playerctl as the
// media keys drive it, ended and started again, and heard on a sink of the
// test's own.

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <signal.h>
#include <string>
#include <vector>

#include "core/catalogue/playaddress.h"
#include "core/player/playersettings.h"
#include "platform/mp3file.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/qt/bus.h"
#include "support/qt/listener.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;
using Clock = Listener::Clock;
using std::chrono::milliseconds;

namespace {

constexpr int kWaitMs = 15000;
constexpr double kHz[] = {440.0, 880.0, 1320.0};
// The first in a folder of its own, with a space, which the address carries
// as %20.
const char* const kNames[] = {"altro/primo brano.mp3", "b.mp3", "c.mp3"};

struct Desktop : ::testing::Test {
    void SetUp() override
    {
        REQUIRE_BUS();
        if (!ear.ok())
            GTEST_SKIP() << "the sound server does not load a null sink for this test";
        music.mkdir("altro");
        for (int i = 0; i < 3; ++i)
            paths[i] = makeMp3(music.path(), kNames[i], {.seconds = 30, .frequency = kHz[i], .gainDb = -6});
        TagRecord tag;
        tag.Title = "Secondo brano";
        ASSERT_TRUE(WriteTag(paths[1], tag));
        // A catalogue, so that the catalogue window's start-up box (no CD
        // catalogued yet), which nobody here would close, does not appear.
        programFolder.write("ZOND_DEFAULT_PROVA_1.txt", "Prova\r\n");
    }
    void TearDown() override
    {
        for (QProcess* p : {&first, &second})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished();
            }
    }

    // Starts zondari in `folder` with `args`, its windows offscreen; its
    // sound goes to the test's sink, named in the environment it inherits.
    void start(QProcess& p, const QString& folder, const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZONDARI_PROGRAM_FOLDER", QString::fromStdString(programFolder.path()));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder);
        p.start(QString::fromStdString(programBinary("zondari")), args);
        ASSERT_TRUE(p.waitForStarted(kWaitMs));
    }

    bool shows(const std::string& status, const std::string& title)
    {
        return QTest::qWaitFor(
            [&] {
                return playerctl({"metadata", "--format", "{{status}} {{title}}"}) == status + " " + title;
            },
            kWaitMs);
    }
    // The tone of track `i` heard, the others silent.
    bool hears(int i)
    {
        std::vector<double> others;
        for (int k = 0; k < 3; ++k)
            if (k != i)
                others.push_back(kHz[k]);
        return ear.hears(kHz[i], others);
    }

    Listener ear;
    TempDir music;
    TempDir programFolder;
    std::string paths[3];
    QProcess first, second;
};

} // namespace

TEST_F(Desktop, AFolderOrAFileOnTheCommandLinePlaysAndTheMediaKeysDriveIt)
{
    // A folder is listed, and play starts its first row.
    start(first, "/", {QString::fromStdString(music.path())});
    ASSERT_TRUE(QTest::qWaitFor([&] { return playerctl({"status"}) == "Stopped"; }, kWaitMs))
        << first.readAllStandardError().toStdString();
    playerctl({"play"});
    EXPECT_TRUE(shows("Playing", "Secondo brano"));
    EXPECT_TRUE(hears(1));
    EXPECT_NE(readFile(programFolder / "zondari.ini").find("UltimoPath=" + music.path() + "\r\n"), std::string::npos);
    playerctl({"next"});
    EXPECT_TRUE(shows("Playing", "c.mp3"));
    EXPECT_TRUE(hears(2));

    // A second start with a file (the file manager's "open with", or a name
    // relative to the folder a terminal is in) hands it to the program that
    // runs, by its address, and ends; the player lists the file's folder and
    // plays it.
    start(second, QString::fromStdString(music.path()), {"altro/primo brano.mp3"});
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(shows("Playing", "primo brano.mp3"));
    EXPECT_TRUE(hears(0));
    playerctl({"next"}); // the only row of its folder
    EXPECT_TRUE(shows("Playing", "primo brano.mp3"));

    // A catalogue entry's zondari: address (the pocket page's play link,
    // zondari-cli suona): the program that runs finds the volume that holds
    // it by the catalogue's identity, and plays it there.
    const CliRun scan = runCli("scan --titolo Prova " + shellQuoted(music.path()), programFolder.path());
    ASSERT_EQ(scan.status, 0) << scan.err;
    start(second, "/", {QString::fromStdString(catalogue::playAddress(scan.firstLine(), paths[2]))});
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(shows("Playing", "c.mp3"));
    EXPECT_TRUE(hears(2));

    playerctl({"pause"});
    EXPECT_TRUE(shows("Paused", "c.mp3"));

    // Quit ends it as "Esci" does.
    busCall("org.mpris.MediaPlayer2.Quit");
    ASSERT_TRUE(first.waitForFinished(kWaitMs));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
}

TEST_F(Desktop, TheMusicPicksUpWhereItStoppedWhenTheProgramStartsAgain)
{
    // Second k sounds at 300 + 100 k Hz.
    const std::string track
        = makeMp3(music.path(), "passi.mp3", {.seconds = 20, .frequency = 300, .gainDb = -6, .stepHz = 100});
    ASSERT_FALSE(track.empty());
    PlayerSettings resume;
    resume.resume = true;
    programFolder.write(kPlayerSettingsFile, formatPlayerSettings(resume));
    start(first, "/", {QString::fromStdString(track)});
    ASSERT_TRUE(ear.hears(300)) << "the first start is not heard";
    // Seven seconds into the track, the desktop ends the program.
    ASSERT_TRUE(ear.hears(1000));
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(kWaitMs));
    EXPECT_EQ(first.exitCode(), 0);
    const PlayerSettings kept = parsePlayerSettings(readFile(programFolder / kPlayerSettingsFile));
    EXPECT_EQ(kept.track, track);
    EXPECT_NEAR(kept.position, 7.0, 0.6);

    QTest::qWait(500); // silence between the two runs
    start(second, "/", {});
    const Clock::time_point asked = Clock::now();
    // The first pitch heard is the one of the second it stopped in.
    const auto loud = [](double level) { return level > -30; };
    std::optional<Clock::time_point> heard;
    (void)QTest::qWaitFor(
        [&] {
            heard = ear.recording().firstTime(1000, asked, Clock::now(), loud, milliseconds(60));
            return heard.has_value();
        },
        kWaitMs);
    QTest::qWait(2500);
    ASSERT_TRUE(heard) << "nothing heard after the second start";
    EXPECT_FALSE(ear.recording().firstTime(300, asked, *heard + std::chrono::seconds(1), loud, milliseconds(40)))
        << "the track started from its beginning";
    const auto next = ear.recording().firstTime(1100, *heard, *heard + std::chrono::seconds(3), loud);
    ASSERT_TRUE(next);
    const double toNextStep = std::chrono::duration<double>(*next - *heard).count();
    EXPECT_NEAR(toNextStep, 1.0 - (kept.position - 7.0), 0.5) << "heard from second " << 8.0 - toNextStep;
}
