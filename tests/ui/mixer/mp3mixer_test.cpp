#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <tuple>

#include "platform/mediaplayer.h"
#include "support/mp3fixtures.h"
#include "support/qt/sound.h"
#include "support/qt/testapp.h"
#include "support/qt/widgets.h"
#include "support/sinkrecorder.h"
#include "ui/mixer/filelistbox.h"
#include "ui/mixer/mixer.h"
#include "ui/mixer/mp3mixer.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/drivelistbox.h"
#include "ui/player/form1.h"
#include "ui/player/mediaplayercontrol.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr int kWaitMs = 10000;

// The program started on a folder of music, and the mixer opened from the
// player's toolbar.
struct MixerApp {
    explicit MixerApp(std::initializer_list<std::pair<const char*, double>> tones = {})
    {
        for (const auto& [name, seconds] : tones)
            EXPECT_FALSE(makeMp3(music.path(), name, {.seconds = seconds}).empty()) << name;
    }
    // Starts the program on the folder (once) and opens the mixer.
    mp3MIXER* open()
    {
        if (!app.frame)
            player = app.startIn(music.path());
        player->button("mixer")->trigger();
        QApplication::processEvents();
        m = findMixer(app.ctx);
        return m;
    }
    MediaPlayer& left() const { return m->ActiveMovie1->media(); }
    MediaPlayer& right() const { return m->ActiveMovie2->media(); }

    // A double click on the file (or Enter), as the user loads a deck.
    static void load(FileListBox* list, const QString& name, bool byEnter = false)
    {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found[0]);
        const QPoint at = list->visualItemRect(found[0]).center();
        if (byEnter) {
            QTest::keyClick(list, Qt::Key_Return);
            return;
        }
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at); // the first click of the two
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    bool bothPlaying() const { return left().playState() == kPlaying && right().playState() == kPlaying; }
    bool waitFor(const std::function<bool()>& what, int ms = kWaitMs) const { return QTest::qWaitFor(what, ms); }

    TempDir music;
    TestApp app;
    Form1* player = nullptr;
    mp3MIXER* m = nullptr;
};

} // namespace

TEST(Mixer, OpensFromThePlayerOnItsFolderWithTheRightDeckSilentBrowsesEachDeckAndCrossfades)
{
    MixerApp x;
    for (const char* name : {"b.mp3", "A.MP3", "note.txt", "dischi/c.Mp3"})
        x.music.write(name, "x");
    x.app.drives.extra.push_back({"/nonexistent-cd-zondari", "CD", "/dev/sr9", "iso9660"});
    mp3MIXER* m = x.open();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->windowTitle(), "Zondari Digital DJ");
    for (auto [drive, file] : {std::pair{m->Drive1, m->File1}, std::pair{m->Drive2, m->File2}}) {
        EXPECT_EQ(drive->drive(), x.player->Drive1->drive());
        EXPECT_EQ(file->path(), x.music.path());
        EXPECT_EQ(listTexts(file), (QStringList{"A.MP3", "b.mp3", "note.txt"}));
    }
    EXPECT_EQ(m->Label1->text(), "Nessuna canzone");
    EXPECT_EQ(m->Text1->text(), "1");
    // The crossfader at 0: the left deck full, the right silent.
    EXPECT_EQ(std::pair(x.left().volume(), x.right().volume()), std::pair(0, -10000));
    EXPECT_FALSE(m->Timer1->isActive() || m->Timer2->isActive());
    EXPECT_TRUE(m->Timer3->isActive());
    // In the frame's corner, as tall as the player window.
    ASSERT_NE(childWindowOf(m), nullptr);
    EXPECT_EQ(childWindowOf(m)->pos(), QPoint(0, 0));
    EXPECT_EQ(childWindowOf(m)->height(), childWindowOf(x.player)->height());

    // "Solo files Mp3" keeps the MP3 files, whatever the letter case.
    m->Check1->click();
    EXPECT_EQ(listTexts(m->File1), (QStringList{"A.MP3", "b.mp3"}));
    EXPECT_EQ(listTexts(m->File2).size(), 3);
    // Each deck browses on its own.
    ASSERT_TRUE(m->Dir2->setPath(x.music.path() + "/dischi"));
    EXPECT_EQ(listTexts(m->File2), QStringList{"c.Mp3"});
    EXPECT_EQ(listTexts(m->File1).size(), 2);
    // A drive that cannot be read is reported, and the deck stays.
    m->Drive1->setDrive("/nonexistent-cd-zondari");
    EXPECT_EQ(m->Drive1->drive(), x.player->Drive1->drive());
    EXPECT_EQ(m->File1->path(), x.music.path());
    ASSERT_EQ(x.app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(x.app.dialogs.runtimeErrors[0].description, "Disco non pronto");

    // The button again brings the same window forward.
    x.player->button("mixer")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(x.app.frame->findChildren<mp3MIXER*>().size(), 1);
    EXPECT_EQ(m->Dir2->path(), x.music.path() + "/dischi");

    // The crossfader sets both volumes and the deck heard: the law at its
    // middle and end (worked out by hand in the core tests).
    for (const auto& [value, heard, left, right] : {std::tuple{5001, "2", -603, -597}, {0, "1", 0, -10000}}) {
        m->HScroll1->setValue(value);
        EXPECT_EQ(m->Text1->text(), heard) << value;
        EXPECT_EQ(std::pair(x.left().volume(), x.right().volume()), std::pair(left, right)) << value;
    }
    // "Mix automatico" fades from the deck named, and takes the place of a
    // crossfade running; with neither deck named it does nothing.
    for (const auto& [named, one, two] : {std::tuple{"tre", false, false}, {"2", false, true}, {"1", true, false}}) {
        m->Text1->setText(named);
        m->Command1->click();
        EXPECT_EQ(std::pair(m->Timer1->isActive(), m->Timer2->isActive()), std::pair(one, two)) << named;
    }
}

TEST(MixerPlayback, CrossfadeFromLeftToRightInThirtyOneStepsThenStopsTheLeftDeck)
{
    REQUIRE_PLAYBACK();
    MixerApp x{{"sinistra.mp3", 30.0}, {"destra.mp3", 30.0}};
    mp3MIXER* m = x.open();
    ASSERT_NE(m, nullptr);

    MixerApp::load(m->File1, "sinistra.mp3");
    EXPECT_EQ(m->Label1->text(), "sinistra");
    MixerApp::load(m->File2, "destra.mp3", true);
    EXPECT_EQ(m->Label2->text(), "destra");
    ASSERT_TRUE(x.waitFor([&] { return x.bothPlaying(); }));
    EXPECT_EQ(x.left().fileName(), x.music.path() + "/sinistra.mp3");
    EXPECT_EQ(x.right().fileName(), x.music.path() + "/destra.mp3");
    EXPECT_TRUE(x.waitFor([] { return ownSinkInputs() >= 2; })) << "the two decks have no streams on the sound server";
    EXPECT_TRUE(x.app.dialogs.runtimeErrors.empty());

    m->Command1->click();
    ASSERT_TRUE(m->Timer1->isActive());
    int left = x.left().volume();
    int right = x.right().volume();
    // The ticks are driven here, one after the other, as the timer would.
    for (int step = 1; step <= 31; ++step) {
        m->Timer1_Timer();
        EXPECT_EQ(m->HScroll1->value(), std::min(step * 333, 10000)) << step;
        EXPECT_TRUE(x.left().volume() <= left && x.right().volume() >= right) << step;
        left = x.left().volume();
        right = x.right().volume();
        ASSERT_TRUE(m->Timer1->isActive() && x.left().playState() == kPlaying) << step;
    }
    EXPECT_EQ(std::pair(x.left().volume(), x.right().volume()), std::pair(-10000, 0));
    m->Timer1_Timer();
    EXPECT_FALSE(m->Timer1->isActive());
    EXPECT_EQ(std::pair(x.left().playState(), x.right().playState()), std::pair(kStopped, kPlaying));

    // And back: Timer2 fades to the left deck and stops the right one.
    ASSERT_TRUE(x.left().play());
    m->Command1->click();
    for (int step = 1; step <= 32; ++step)
        m->Timer2_Timer();
    EXPECT_EQ(std::pair(x.left().volume(), x.right().volume()), std::pair(0, -10000));
    EXPECT_FALSE(m->Timer2->isActive());
    EXPECT_EQ(std::pair(x.left().playState(), x.right().playState()), std::pair(kPlaying, kStopped));
}

TEST(MixerPlayback, TickersScrollTheTitlesOfThePlayingDecks)
{
    REQUIRE_PLAYBACK();
    MixerApp x{{"Però.mp3", 30.0}};
    ASSERT_FALSE(makeMp3(x.music.path(), "x.flac", {.seconds = 30.0}).empty());
    mp3MIXER* m = x.open();
    ASSERT_NE(m, nullptr);
    m->Timer3->stop(); // the ticks are driven here

    MixerApp::load(m->File1, "Però.mp3");
    MixerApp::load(m->File2, "x.flac");
    EXPECT_EQ(m->Label1->text(), "Però");
    EXPECT_EQ(m->Label2->text(), "x");
    ASSERT_TRUE(x.waitFor([&] { return x.bothPlaying(); }));

    // Each deck its own ticker, on the file's whole name.
    m->Timer3_Timer();
    EXPECT_EQ(m->Label1->text(), "Però.mp3   Però.mp3");
    EXPECT_EQ(m->Label2->text(), "x.flac   x.flac");

    // A deck that stops shows that nothing plays, from where its ticker is.
    x.right().stop();
    m->Timer3_Timer();
    EXPECT_EQ(m->Label2->text(), "essuna canzone   Nessuna ");
}

TEST(MixerPlayback, SliderSpansTheLoadedTrackAndMovesWithinIt)
{
    REQUIRE_PLAYBACK();
    MixerApp x{{"lungo.mp3", 30.0}, {"corto.mp3", 5.0}};
    mp3MIXER* m = x.open();
    ASSERT_NE(m, nullptr);
    m->Timer3->stop();

    // No track: the slider does not move.
    m->Slider1->setValue(200);
    EXPECT_EQ(m->Slider1->value(), 0);
    EXPECT_EQ(m->Label4->text(), "0");

    MixerApp::load(m->File1, "lungo.mp3");
    ASSERT_TRUE(x.waitFor([&] { return x.left().duration() > 0.0; }));
    m->Timer3_Timer();
    // 30 seconds of twentieths (lame may add a frame of padding).
    EXPECT_GE(m->Slider1->maximum(), 600);
    EXPECT_LE(m->Slider1->maximum(), 602);
    EXPECT_EQ(m->Slider2->maximum(), 0);

    // Once the track is well under way: a seek in its first second is
    // sometimes lost by the sound system underneath.
    ASSERT_TRUE(x.waitFor([&] { return x.left().currentPosition() > 1.5; }));
    m->Slider1->setValue(400);
    EXPECT_EQ(m->Label4->text(), "400");
    EXPECT_TRUE(x.waitFor([&] { return x.left().currentPosition() >= 20.0; }));
    EXPECT_LT(x.left().currentPosition(), 25.0);

    // A shorter track: the slider starts again and spans it.
    MixerApp::load(m->File1, "corto.mp3");
    EXPECT_EQ(m->Slider1->value(), 0);
    EXPECT_EQ(m->Label4->text(), "0");
    ASSERT_TRUE(x.waitFor([&] { return x.left().duration() > 0.0 && x.left().duration() < 10.0; }));
    m->Timer3_Timer();
    EXPECT_GE(m->Slider1->maximum(), 100);
    EXPECT_LE(m->Slider1->maximum(), 102);
    EXPECT_TRUE(x.app.dialogs.runtimeErrors.empty());
}

TEST(MixerPlayback, AutomaticMixStartsTheOtherDeckThenTheCrossfadeNearTheEnd)
{
    REQUIRE_PLAYBACK();
    MixerApp x{{"breve.mp3", 7.0}, {"seguente.mp3", 30.0}};
    mp3MIXER* m = x.open();
    ASSERT_NE(m, nullptr);
    m->Timer3->stop();

    // With nothing on the other deck the music is not faded into silence,
    // however near its end.
    m->Text2->setText("100");
    MixerApp::load(m->File1, "breve.mp3");
    ASSERT_TRUE(x.waitFor([&] { return x.left().playState() == kPlaying && x.left().duration() > 0.0; }));
    m->Timer3_Timer();
    EXPECT_FALSE(m->Timer1->isActive());
    x.left().stop();

    // The crossfade 2 seconds before the end, the other deck 2 seconds
    // before that ("2 s" reads as 2).
    m->Text2->setText("2");
    m->Text3->setText("2 s");
    // The right deck holds its track, stopped.
    MixerApp::load(m->File2, "seguente.mp3");
    ASSERT_TRUE(x.waitFor([&] { return x.right().duration() > 0.0; }));
    x.right().stop();
    ASSERT_TRUE(x.left().play());
    ASSERT_TRUE(x.waitFor([&] { return x.left().playState() == kPlaying; }));
    const double length = x.left().duration();

    double otherStartedAt = -1.0;
    double fadeStartedAt = -1.0;
    ASSERT_TRUE(x.waitFor(
        [&] {
            m->Timer3_Timer();
            const double at = x.left().currentPosition();
            if (otherStartedAt < 0 && x.right().playState() == kPlaying)
                otherStartedAt = at;
            if (m->Timer1->isActive()) {
                fadeStartedAt = at;
                return true;
            }
            return false;
        },
        15000));
    EXPECT_GT(otherStartedAt, length - 4.0) << "the other deck did not start before the crossfade";
    EXPECT_LE(otherStartedAt, fadeStartedAt); // late position reports may bring both in one tick
    EXPECT_GT(fadeStartedAt, length - 2.0);
    EXPECT_EQ(x.right().playState(), kPlaying);

    for (int step = 1; step <= 32; ++step)
        m->Timer1_Timer();
    EXPECT_FALSE(m->Timer1->isActive());
    EXPECT_EQ(std::pair(x.left().playState(), x.right().playState()), std::pair(kStopped, kPlaying));
    EXPECT_EQ(m->Text1->text(), "2");

    // The right deck is heard now, and far from its end: nothing more.
    m->Timer3_Timer();
    EXPECT_FALSE(m->Timer2->isActive());
    EXPECT_EQ(x.left().playState(), kStopped);
}

TEST(MixerPlayback, ADeckThatCannotPlaySaysSoUntilStoppedOrLoadedAgain)
{
    REQUIRE_PLAYBACK();
    MixerApp x({{"brano.mp3", 20.0}});
    x.music.write("rotto.mp3", "non sono musica\n");
    mp3MIXER* m = x.open();
    ASSERT_NE(m, nullptr);
    // The ticker scrolls the title: what it shows is a stretch of the title,
    // three spaces and the title again.
    const auto shows = [&](const QString& title) {
        return x.waitFor([&] {
            const QString t = m->Label1->text();
            return t.size() >= std::min<qsizetype>(title.size(), 25) && (title + "   " + title).contains(t);
        });
    };
    MixerApp::load(m->File1, "rotto.mp3");
    EXPECT_TRUE(shows("Impossibile riprodurre: rotto.mp3"));
    m->ActiveMovie1->stopButton()->click();
    EXPECT_TRUE(shows("Nessuna canzone"));
    MixerApp::load(m->File1, "rotto.mp3");
    EXPECT_TRUE(shows("Impossibile riprodurre: rotto.mp3"));
    MixerApp::load(m->File1, "brano.mp3");
    EXPECT_TRUE(shows("brano.mp3"));
}

TEST(MixerPlayback, UscitaAndClosingTheWindowStopBothDecks)
{
    REQUIRE_PLAYBACK();
    MixerApp x{{"uno.mp3", 30.0}, {"due.mp3", 30.0}};
    for (int round = 0; round < 2; ++round) {
        mp3MIXER* m = x.open();
        ASSERT_NE(m, nullptr) << round;
        // A new window shows no song, not the last round's: its caption, or
        // the ticker already scrolling it when the machine was slow to open.
        const QString shown = m->Label1->text();
        EXPECT_TRUE(shown == "Nessuna canzone"
            || (shown.size() == 25 && QString("Nessuna canzone   ").repeated(3).contains(shown)))
            << round << " " << shown.toStdString();
        MixerApp::load(m->File1, "uno.mp3");
        MixerApp::load(m->File2, "due.mp3");
        ASSERT_TRUE(x.waitFor([&] { return x.bothPlaying(); }));
        ASSERT_TRUE(x.waitFor([] { return ownSinkInputs() >= 2; })) << round;
        m->HScroll1->setValue(5000);
        m->Command1->click();

        QPointer<QMdiSubWindow> sub = childWindowOf(m);
        if (round == 0)
            QTest::mouseClick(m->Command2, Qt::LeftButton);
        else
            sub->close(); // by its frame
        EXPECT_EQ(std::pair(x.left().playState(), x.right().playState()), std::pair(kStopped, kStopped)) << round;
        EXPECT_FALSE(m->Timer1->isActive()) << round;
        EXPECT_EQ(findMixer(x.app.ctx), nullptr) << round;
        EXPECT_TRUE(x.waitFor([&] { return sub.isNull(); })) << round;
        EXPECT_TRUE(x.waitFor([] { return ownSinkInputs() == 0; })) << "music left playing, round " << round;
    }
    EXPECT_TRUE(x.app.dialogs.runtimeErrors.empty());
}

namespace {

using Clock = SinkRecorder::Clock;
using std::chrono::milliseconds;

constexpr double kLeftHz = 440.0;
constexpr double kRightHz = 1000.0;

double msSince(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The mixer with a tone on each deck, both playing into a sink of the
// test's own, and a recording of that sink: what a listener hears.
struct HeardMixer {
    HeardMixer()
    {
        // Streams opened from here on go to the test's sink.
        ::setenv("PULSE_SINK", sink.name().c_str(), 1);
        EXPECT_FALSE(
            makeMp3(x.music.path(), "sinistra.mp3", {.seconds = 60, .frequency = kLeftHz, .gainDb = -12}).empty());
        EXPECT_FALSE(
            makeMp3(x.music.path(), "destra.mp3", {.seconds = 60, .frequency = kRightHz, .gainDb = -12}).empty());
    }
    ~HeardMixer() { ::unsetenv("PULSE_SINK"); }

    // Both decks playing and heard; the crossfader at 0.
    bool start()
    {
        m = x.open();
        if (!m)
            return false;
        m->Timer3->stop();
        MixerApp::load(m->File1, "sinistra.mp3");
        MixerApp::load(m->File2, "destra.mp3");
        if (!x.waitFor([&] { return x.bothPlaying(); }))
            return false;
        return x.waitFor([&] {
            moveOwnSinkInputs(sink.name());
            const auto level = recorder.levelDb(kLeftHz, Clock::now() - milliseconds(80));
            return level && *level > -30;
        });
    }

    // The level of a tone over 40 ms from `at`, once the recording holds it.
    double level(double hz, Clock::time_point at)
    {
        std::optional<double> l;
        x.waitFor([&] { return bool(l = recorder.levelDb(hz, at)); }, 2000);
        return l.value_or(-999);
    }

    // A tone's steady level: the loudest of several windows over the last
    // 300 ms, since a loaded machine's dropouts only ever make one quieter.
    double steadyLevel(double hz)
    {
        const Clock::time_point now = Clock::now();
        double loudest = -999;
        for (int back = 300; back >= 60; back -= 60)
            loudest = std::max(loudest, level(hz, now - milliseconds(back)));
        return loudest;
    }

    // Moves the crossfader and gives, for each deck, how long it took until
    // its tone stayed within 1 dB of the level it settles on (or under
    // -60 dB, silence, when it settles there).
    std::pair<double, double> stepDelays(int value)
    {
        const Clock::time_point t0 = Clock::now();
        m->HScroll1->setValue(value);
        // The sound of the next second and a half, recorded to be measured.
        QTest::qWait(1500);
        std::pair<double, double> delays{-1, -1};
        for (auto [hz, delay] : {std::pair{kLeftHz, &delays.first}, std::pair{kRightHz, &delays.second}}) {
            const double settled = level(hz, t0 + milliseconds(1200));
            const auto when = recorder.firstTime(hz, t0, t0 + milliseconds(1100),
                [&](double l) { return settled < -60 ? l < -60 : std::abs(l - settled) <= 1.0; });
            *delay = when ? msSince(t0, *when) : 9999;
        }
        return delays;
    }

    OwnSink sink;
    MixerApp x;
    SinkRecorder recorder{sink.name()};
    mp3MIXER* m = nullptr;
};

} // namespace

TEST(MixerHeard, EveryCrossfaderMoveIsHeardWithinATenthOfASecondUpOrDown)
{
    REQUIRE_PLAYBACK();
    HeardMixer h;
    if (!h.sink.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    ASSERT_TRUE(h.start()) << "the decks are not heard";

    // Each deck all the way up and all the way down, both ways, the middle,
    // and a fast two-step drag whose first step must leave no trace.
    for (const int value : {10000, 0, 5000, 0}) {
        const auto [left, right] = h.stepDelays(value);
        std::cout << "[heard] crossfader to " << value << ": left deck after " << left << " ms, right deck after "
                  << right << " ms\n";
        EXPECT_LE(left, 100) << "left deck, crossfader to " << value;
        EXPECT_LE(right, 100) << "right deck, crossfader to " << value;
    }
    h.m->HScroll1->setValue(2000);
    QTest::qWait(60); // a hand's pace between the two steps
    const auto [left, right] = h.stepDelays(8000);
    std::cout << "[heard] drag through 2000 to 8000: left deck after " << left << " ms, right deck after " << right
              << " ms\n";
    EXPECT_LE(left, 100);
    EXPECT_LE(right, 100);
}

TEST(MixerHeard, AutomaticMixFollowsTheCrossfaderLawStepByStep)
{
    REQUIRE_PLAYBACK();
    HeardMixer h;
    if (!h.sink.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    ASSERT_TRUE(h.start()) << "the decks are not heard";

    // Each tone at full volume, as the reference of its levels, once it has
    // settled (the waits let it play and be recorded).
    QTest::qWait(600);
    const double leftFull = h.steadyLevel(kLeftHz);
    h.m->HScroll1->setValue(10000);
    QTest::qWait(600);
    const double rightFull = h.steadyLevel(kRightHz);
    h.m->HScroll1->setValue(0);
    QTest::qWait(600);

    std::vector<std::pair<int, Clock::time_point>> steps;
    QObject::connect(
        h.m->HScroll1, &QScrollBar::valueChanged, h.m, [&](int v) { steps.emplace_back(v, Clock::now()); });
    h.m->Command1->click();
    ASSERT_TRUE(h.x.waitFor([&] { return !h.m->Timer1->isActive(); }, 15000));
    // A while after the mix's end, to see that it stays ended (checked last).
    QTest::qWait(400);
    ASSERT_GE(steps.size(), 31u);

    // The law in decibels: the right deck at about -20, -6 and -1.8 dB, the
    // left the other way round.
    const std::map<int, std::pair<double, double>> law
        = {{2997, {-1.81, -19.87}}, {4995, {-6.01, -5.99}}, {6993, {-19.92, -1.81}}};
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        const auto& [value, at] = steps[i];
        const auto it = law.find(value);
        if (it == law.end())
            continue;
        // Heard while the step lasts: of the 40 ms windows between its first
        // 60 ms (the sound's way to the sink) and the next step, the one
        // nearest the law. A loaded machine shortens or shifts a step and
        // blurs the recording's clock by tens of milliseconds; a wrong law,
        // or a step not heard before the next one, still misses every window.
        const Clock::time_point last = std::max(at + milliseconds(60), steps[i + 1].second - milliseconds(40));
        double left = -999, right = -999, error = 1e9;
        long offset = 0;
        for (Clock::time_point from = at + milliseconds(60); from <= last; from += milliseconds(20)) {
            const double l = h.level(kLeftHz, from) - leftFull;
            const double r = h.level(kRightHz, from) - rightFull;
            const double e = std::max(std::abs(l - it->second.first), std::abs(r - it->second.second));
            if (e < error)
                std::tie(left, right, error, offset) = std::tuple(l, r, e, long(msSince(at, from)));
        }
        std::cout << "[heard] automatic mix at " << value << " (step of " << long(msSince(at, steps[i + 1].second))
                  << " ms, window at " << offset << " ms): left deck " << left << " dB, right deck " << right
                  << " dB\n";
        EXPECT_NEAR(left, it->second.first, 1.0) << value;
        EXPECT_NEAR(right, it->second.second, 1.0) << value;
    }
    EXPECT_EQ(std::pair(h.x.left().playState(), h.x.right().playState()), std::pair(kStopped, kPlaying));
}

TEST(MixerHeard, ADeckReloadedStoppedAndStartedAgainManyTimesStillPlaysAndIsHeard)
{
    REQUIRE_PLAYBACK();
    HeardMixer h;
    if (!h.sink.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    ASSERT_TRUE(h.start()) << "the decks are not heard";

    // What a user does in a long evening, fast: reloads, stops, plays,
    // crossfades cut short.
    for (int round = 0; round < 12; ++round) {
        MixerApp::load(h.m->File1, round % 2 ? "destra.mp3" : "sinistra.mp3");
        if (round % 3 == 0)
            h.x.left().stop();
        h.m->HScroll1->setValue(round % 2 ? 3000 : 0);
        h.m->Command1->click();
        QTest::qWait(40); // the user's pace
        ASSERT_TRUE(h.x.left().play());
    }
    h.m->Timer1->stop();
    h.m->Timer2->stop();
    h.m->HScroll1->setValue(0);
    MixerApp::load(h.m->File1, "sinistra.mp3");

    // Playing, moving on, and heard at full volume.
    ASSERT_TRUE(h.x.waitFor([&] { return h.x.left().playState() == kPlaying && h.x.left().currentPosition() > 0.5; }));
    const double at = h.x.left().currentPosition();
    EXPECT_TRUE(h.x.waitFor([&] { return h.x.left().currentPosition() > at + 0.3; }))
        << "stuck at " << h.x.left().currentPosition() << " s";
    EXPECT_GT(h.level(kLeftHz, Clock::now() - milliseconds(100)), -20);
    EXPECT_TRUE(h.x.app.dialogs.runtimeErrors.empty());
}

TEST(MixerHeard, ADeckAlwaysPlaysAtTheLevelTheCrossfaderGivesWhateverCameBefore)
{
    REQUIRE_PLAYBACK();
    HeardMixer h;
    if (!h.sink.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    ASSERT_TRUE(h.start()) << "the decks are not heard";

    const auto stop = [&] { h.m->ActiveMovie1->stopButton()->click(); };
    const auto play = [&] {
        // As a person clicks it: once the deck shows it stopped.
        ASSERT_TRUE(h.x.waitFor([&] { return h.m->ActiveMovie1->playButton()->isEnabled(); }));
        h.m->ActiveMovie1->playButton()->click();
    };
    const auto reload = [&] { MixerApp::load(h.m->File1, "sinistra.mp3"); };
    const auto automaticMix = [&] {
        h.m->HScroll1->setValue(0);
        h.m->Command1->click();
        ASSERT_TRUE(h.x.waitFor([&] { return !h.m->Timer1->isActive(); }, 15000));
    };
    // The crossfader all the way right: whatever the left deck went through,
    // it stays silent while the right deck is heard.
    const std::vector<std::pair<const char*, std::vector<std::function<void()>>>> cases = {
        {"stop, then a file loaded", {stop, reload}},
        {"stop, then play", {stop, play}},
        {"a file loaded while it plays", {reload}},
        {"the automatic mix's end, then play", {automaticMix, play}},
    };
    for (const auto& [what, steps] : cases) {
        SCOPED_TRACE(what);
        h.m->HScroll1->setValue(0);
        reload();
        h.m->HScroll1->setValue(10000);
        QTest::qWait(300);
        ASSERT_LT(h.steadyLevel(kLeftHz), -50) << "the crossfader does not silence the deck to begin with";
        for (const auto& step : steps)
            step();
        ASSERT_TRUE(h.x.waitFor([&] { return h.x.left().playState() == kPlaying; }));
        QTest::qWait(600);
        EXPECT_LT(h.steadyLevel(kLeftHz), -50) << "the faded deck is heard";
        EXPECT_GT(h.steadyLevel(kRightHz), -30) << "the deck on air is not heard";
    }
}

TEST(MixerHeard, ADecksSeekIsHeardWhereTheSliderSays)
{
    REQUIRE_PLAYBACK();
    HeardMixer h;
    if (!h.sink.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    // Second k of this track sounds at 300 + 100 k Hz.
    ASSERT_FALSE(makeMp3(h.x.music.path(), "passi.mp3", {.seconds = 20, .frequency = 300, .gainDb = -12, .stepHz = 100})
                     .empty());
    h.m = h.x.open();
    ASSERT_NE(h.m, nullptr);
    MixerApp::load(h.m->File1, "passi.mp3");
    ASSERT_TRUE(h.x.waitFor([&] { return h.x.left().duration() > 0 && h.m->Slider1->maximum() > 0; }));
    // The slider counts twentieths of a second; each value is heard at its
    // second, before the next step of the pitch: while the deck plays, moved
    // while it is stopped or paused and played then, and after a new load.
    const auto stop = [&] { h.m->ActiveMovie1->stopButton()->click(); };
    const auto pause = [&] { h.m->ActiveMovie1->pauseButton()->click(); };
    const auto play = [&] { h.m->ActiveMovie1->playButton()->click(); };
    const auto reload = [&] {
        MixerApp::load(h.m->File1, "passi.mp3");
        ASSERT_TRUE(h.x.waitFor([&] { return h.m->Slider1->maximum() > 0; }));
    };
    const std::vector<std::tuple<int, std::function<void()>, std::function<void()>>> cases = {
        {300, [] {}, [] {}},
        {100, [] {}, [] {}},
        {250, stop, play},
        {150, pause, play},
        {200, reload, [] {}},
    };
    for (const auto& [value, before, after] : cases) {
        SCOPED_TRACE(value);
        before();
        h.m->Slider1->setValue(value);
        after();
        const double hz = 300 + 100 * (value / 20);
        EXPECT_TRUE(h.x.waitFor(
            [&] {
                moveOwnSinkInputs(h.sink.name());
                return h.level(hz, Clock::now() - milliseconds(100)) > -30;
            },
            1500))
            << "second " << value / 20 << " (" << hz << " Hz) is not what plays";
    }
}
