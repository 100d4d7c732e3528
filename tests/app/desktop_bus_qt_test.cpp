// The program as the desktop starts it: the real zondari, given a file on
// its command line, on a session bus of the test's own (ctest starts this
// test under dbus-run-session), driven with playerctl as the media keys
// drive it, and heard on a sink of the test's own.

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "platform/mp3file.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/qt/sound.h"
#include "support/sinkrecorder.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::test;
using Clock = SinkRecorder::Clock;
using std::chrono::milliseconds;

namespace {

constexpr int kWaitMs = 15000;
constexpr double kHz[] = {440.0, 880.0, 1320.0};

std::string ctl(const std::string& args)
{
    return output("playerctl -p zondari " + args + " 2>/dev/null");
}

struct Desktop : ::testing::Test {
    void SetUp() override
    {
        REQUIRE_PLAYBACK();
        if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
            GTEST_SKIP() << "no session bus: run this test through ctest, which starts one with dbus-run-session";
        if (std::system("command -v playerctl >/dev/null") != 0)
            GTEST_SKIP() << "playerctl is missing (scripts/setup installs it)";
        if (!sink.ok())
            GTEST_SKIP() << "the sound server does not load a null sink for this test";
        const char* names[] = {"a.mp3", "b.mp3", "c.mp3"};
        for (int i = 0; i < 3; ++i)
            paths[i] = makeMp3(music.path(), names[i], {.seconds = 30, .frequency = kHz[i], .gainDb = -6});
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

    // Starts zondari in `folder` with `args`, its windows offscreen, its
    // sound to the test's sink.
    void start(QProcess& p, const QString& folder, const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZONDARI_PROGRAM_FOLDER", QString::fromStdString(programFolder.path()));
        env.insert("PULSE_SINK", QString::fromStdString(sink.name()));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder);
        p.start(QString::fromStdString(programBinary("zondari")), args);
        ASSERT_TRUE(p.waitForStarted(kWaitMs));
    }

    bool titleBecomes(const std::string& title)
    {
        return QTest::qWaitFor([&] { return ctl("metadata title") == title + "\n"; }, kWaitMs);
    }

    // Whether the tone of track `i` is what the sink hears now, the others
    // silent.
    bool hears(int i)
    {
        return QTest::qWaitFor(
            [&] {
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

    OwnSink sink;
    SinkRecorder recorder{sink.name()};
    TempDir music;
    TempDir programFolder;
    std::string paths[3];
    QProcess first, second;
};

} // namespace

TEST_F(Desktop, AFileOnTheCommandLinePlaysAndTheMediaKeysDriveIt)
{
    // A name relative to the folder the program was started in, as a
    // terminal gives it.
    start(first, QString::fromStdString(music.path()), {"b.mp3"});
    ASSERT_TRUE(titleBecomes("Secondo brano")) << first.readAllStandardError().toStdString();
    EXPECT_EQ(ctl("status"), "Playing\n");
    EXPECT_TRUE(hears(1));

    ctl("next");
    EXPECT_TRUE(titleBecomes("c.mp3"));
    EXPECT_TRUE(hears(2));

    // A second start with a file (the file manager's "open with") hands it to
    // the program that runs, and ends.
    start(second, "/", {QString::fromStdString(paths[0])});
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(titleBecomes("a.mp3"));
    EXPECT_TRUE(hears(0));

    ctl("pause");
    EXPECT_TRUE(QTest::qWaitFor([&] { return ctl("status") == "Paused\n"; }, kWaitMs));

    // Quit ends it as "Esci" does.
    output("dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.zondari /org/mpris/MediaPlayer2 "
           "org.mpris.MediaPlayer2.Quit >/dev/null 2>&1");
    ASSERT_TRUE(first.waitForFinished(kWaitMs));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
}

TEST_F(Desktop, AFolderOnTheCommandLineIsListedAndPlayStartsItsFirstRow)
{
    start(first, "/", {QString::fromStdString(music.path())});
    ASSERT_TRUE(QTest::qWaitFor([&] { return ctl("status") == "Stopped\n"; }, kWaitMs))
        << first.readAllStandardError().toStdString();
    ctl("play");
    EXPECT_TRUE(titleBecomes("a.mp3"));
    EXPECT_TRUE(hears(0));
    EXPECT_NE(readFile(programFolder / "zondari.ini").find("UltimoPath=" + music.path() + "\r\n"), std::string::npos);
}
