// The DJ mixer as a person uses it: opened from the player, a file loaded on
// each deck, the crossfader and the sliders moved, the automatic mix. What
// the decks play is heard at a sink of the test's own.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

#include "platform/mediaplayer.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/listener.h"
#include "support/qt/testapp.h"
#include "support/qt/widgets.h"
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
using Clock = Listener::Clock;
using std::chrono::milliseconds;

namespace {

constexpr double kLeftHz = 440.0;
constexpr double kRightHz = 1000.0;

// The program started on a folder of music, the mixer opened from the
// player's toolbar; the decks' streams go to the listener's sink.
struct MixerTest : ::testing::Test {
    void tone(const char* name, double seconds, double hz = kLeftHz, double stepHz = 0)
    {
        ASSERT_FALSE(
            makeMp3(music.path(), name, {.seconds = seconds, .frequency = hz, .gainDb = -12, .stepHz = stepHz}).empty())
            << name;
    }
    // Starts the program on the folder (once) and opens the mixer.
    mp3MIXER* open()
    {
        if (!app.frame)
            player = app.startIn(music.path());
        player->button("mixer")->trigger();
        QApplication::processEvents();
        return m = findMixer(app.ctx);
    }
    MediaPlayer& left() const { return ActiveMovie1(m)->media(); }
    MediaPlayer& right() const { return ActiveMovie2(m)->media(); }

    // A double click on the file (or Enter), as the user loads a deck.
    static void load(FileListBox* list, const QString& name, bool byEnter = false)
    {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found[0]);
        const QPoint at = list->visualItemRect(found[0]).center();
        if (byEnter)
            return QTest::keyClick(list, Qt::Key_Return);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at); // the first click of the two
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    bool bothPlaying() const { return left().playState() == kPlaying && right().playState() == kPlaying; }
    static bool waitFor(const std::function<bool()>& what, int ms = 10000) { return QTest::qWaitFor(what, ms); }

    Listener ear;
    TempDir music;
    TestApp app;
    Form1* player = nullptr;
    mp3MIXER* m = nullptr;
};

// A tone on each deck, both playing and the left one heard; the crossfader
// at 0.
struct HeardMixer : MixerTest {
    void SetUp() override
    {
        REQUIRE_PLAYBACK();
        if (!ear.ok())
            GTEST_SKIP() << "the sound server does not load a null sink for this test";
        tone("sinistra.mp3", 60);
        tone("destra.mp3", 60, kRightHz);
        ASSERT_NE(open(), nullptr);
        load(File1(m), "sinistra.mp3");
        load(File2(m), "destra.mp3", true);
        ASSERT_TRUE(waitFor([&] { return bothPlaying(); }));
        ASSERT_TRUE(ear.hears(kLeftHz)) << "the decks are not heard";
    }
};

} // namespace

TEST_F(MixerTest, OpensFromThePlayerOnItsFolderEachDeckBrowsesOnItsOwnAndOneAutomaticMixRunsAtATime)
{
    for (const char* name : {"b.mp3", "A.MP3", "note.txt", "dischi/c.Mp3"})
        music.write(name, "x");
    ASSERT_NE(open(), nullptr);
    for (auto [drive, file] : {std::pair{Drive1(m), File1(m)}, std::pair{Drive2(m), File2(m)}}) {
        EXPECT_EQ(drive->drive(), Drive1(player)->drive());
        EXPECT_EQ(file->path(), music.path());
        EXPECT_EQ(listTexts(file), (QStringList{"A.MP3", "b.mp3", "note.txt"}));
    }

    // "Solo files Mp3" keeps the MP3 files, whatever the letter case.
    Check1(m)->click();
    EXPECT_EQ(listTexts(File1(m)), (QStringList{"A.MP3", "b.mp3"}));
    ASSERT_TRUE(Dir2(m)->setPath(music.path() + "/dischi"));
    EXPECT_EQ(listTexts(File2(m)), QStringList{"c.Mp3"});
    EXPECT_EQ(listTexts(File1(m)).size(), 2);

    // "Mix automatico" fades from the deck named, and takes the place of a
    // crossfade running.
    HScroll1(m)->setValue(5001);
    Text1(m)->setText("2");
    Command1(m)->click();
    ASSERT_TRUE(waitFor([&] { return HScroll1(m)->value() < 5001; }));
    Text1(m)->setText("1");
    Command1(m)->click();
    EXPECT_TRUE(waitFor([&] { return HScroll1(m)->value() == 10000; }));
    QTest::qWait(600);
    EXPECT_EQ(HScroll1(m)->value(), 10000) << "two crossfades pull the fader both ways";
}

TEST_F(MixerTest, TheTickerScrollsTheTitleADeckThatCannotPlaySaysSoUntilStoppedOrLoadedAgainAndUscitaStopsIt)
{
    REQUIRE_PLAYBACK();
    tone("Però.mp3", 20);
    music.write("rotto.mp3", "non sono musica\n");
    ASSERT_NE(open(), nullptr);
    // The ticker scrolls the title: a stretch of it, three spaces and the
    // title again.
    const auto shows = [&](const QString& title) {
        return waitFor([&] {
            const QString t = Label1(m)->text();
            return t.size() >= std::min<qsizetype>(title.size(), 25) && (title + "   " + title).contains(t);
        });
    };
    load(File1(m), "rotto.mp3");
    EXPECT_TRUE(shows("Impossibile riprodurre: rotto.mp3"));
    ActiveMovie1(m)->stopButton()->click();
    EXPECT_TRUE(shows("Nessuna canzone"));
    load(File1(m), "rotto.mp3");
    EXPECT_TRUE(shows("Impossibile riprodurre: rotto.mp3"));
    // A new track is named without its extension until the ticker takes
    // over with its whole name.
    load(File1(m), "Però.mp3");
    EXPECT_EQ(Label1(m)->text(), "Però");
    EXPECT_TRUE(shows("Però.mp3"));
    // "Uscita" stops the deck, and a new window shows no song, not the last
    // one's.
    QTest::mouseClick(Command2(m), Qt::LeftButton);
    EXPECT_EQ(left().playState(), kStopped);
    EXPECT_EQ(findMixer(app.ctx), nullptr);
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(shows("Nessuna canzone"));
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST_F(MixerTest, TheSliderSpansTheTrackAndEverySeekIsHeardWhereItSays)
{
    REQUIRE_PLAYBACK();
    if (!ear.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    // Second k of this track sounds at 300 + 100 k Hz.
    tone("passi.mp3", 20, 300, 100);
    ASSERT_NE(open(), nullptr);
    load(File1(m), "passi.mp3");
    // Twentieths of a second (lame may add a frame of padding).
    ASSERT_TRUE(waitFor([&] { return Slider1(m)->maximum() > 0; }));
    EXPECT_GE(Slider1(m)->maximum(), 400);
    EXPECT_LE(Slider1(m)->maximum(), 402);
    EXPECT_EQ(Slider2(m)->maximum(), 0);
    // Once the track is under way: a seek in its first second is sometimes
    // lost by the sound system underneath.
    ASSERT_TRUE(waitFor([&] { return left().currentPosition() > 1.5; }));
    // Each value is heard at its second, before the next step of the pitch:
    // while the deck plays, moved while it is stopped or paused and played
    // then, and after a new load.
    const auto stop = [&] { ActiveMovie1(m)->stopButton()->click(); };
    const auto pause = [&] { ActiveMovie1(m)->pauseButton()->click(); };
    const auto play = [&] { ActiveMovie1(m)->playButton()->click(); };
    const auto reload = [&] {
        load(File1(m), "passi.mp3");
        EXPECT_EQ(Label4(m)->text(), "0");
        ASSERT_TRUE(waitFor([&] { return Slider1(m)->maximum() > 0; }));
    };
    const std::function<void()> none = [] {};
    const std::vector<std::tuple<int, std::function<void()>, std::function<void()>>> cases = {
        {300, none, none},
        {100, none, none},
        {250, stop, play},
        {150, pause, play},
        {200, reload, none},
    };
    for (const auto& [value, before, after] : cases) {
        SCOPED_TRACE(value);
        before();
        Slider1(m)->setValue(value);
        EXPECT_EQ(Label4(m)->text().toInt(), value);
        after();
        const double hz = 300 + 100 * (value / 20);
        EXPECT_TRUE(waitFor(
            [&] {
                moveOwnSinkInputs(ear.sinkName());
                return ear.level(hz, Clock::now() - milliseconds(100)) > -30;
            },
            1500))
            << "second " << value / 20 << " (" << hz << " Hz) is not what plays";
    }
}

TEST_F(HeardMixer, EveryCrossfaderMoveIsHeardWithinATenthOfASecondUpOrDown)
{
    // Each deck all the way up and all the way down, both ways, the middle,
    // and a fast two-step drag (through 2000) whose first step must leave no
    // trace.
    for (const auto& [through, value] : {std::pair{-1, 10000}, {-1, 0}, {-1, 5000}, {-1, 0}, {2000, 8000}}) {
        if (through >= 0) {
            HScroll1(m)->setValue(through);
            QTest::qWait(60); // a hand's pace between the two steps
        }
        const Clock::time_point t0 = Clock::now();
        HScroll1(m)->setValue(value);
        EXPECT_LE(ear.settledAfter(kLeftHz, t0), 100) << "left deck, crossfader to " << value;
        EXPECT_LE(ear.settledAfter(kRightHz, t0), 100) << "right deck, crossfader to " << value;
    }
}

TEST_F(HeardMixer, AutomaticMixFollowsTheCrossfaderLawStepByStep)
{
    // Each tone at full volume, as the reference of its levels, once it has
    // settled (the waits let it play and be recorded).
    QTest::qWait(600);
    const double leftFull = ear.steadyLevel(kLeftHz);
    HScroll1(m)->setValue(10000);
    QTest::qWait(600);
    const double rightFull = ear.steadyLevel(kRightHz);
    HScroll1(m)->setValue(0);
    QTest::qWait(600);

    std::vector<std::pair<int, Clock::time_point>> steps;
    QObject::connect(HScroll1(m), &QScrollBar::valueChanged, m, [&](int v) { steps.emplace_back(v, Clock::now()); });
    Command1(m)->click();
    ASSERT_TRUE(waitFor([&] { return left().playState() == kStopped; }, 15000));
    ASSERT_GE(steps.size(), 31u);
    EXPECT_EQ(steps.back().first, 10000);

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
        for (Clock::time_point from = at + milliseconds(60); from <= last; from += milliseconds(20)) {
            const double l = ear.level(kLeftHz, from) - leftFull;
            const double r = ear.level(kRightHz, from) - rightFull;
            const double e = std::max(std::abs(l - it->second.first), std::abs(r - it->second.second));
            if (e < error)
                std::tie(left, right, error) = std::tuple(l, r, e);
        }
        EXPECT_NEAR(left, it->second.first, 1.0) << value;
        EXPECT_NEAR(right, it->second.second, 1.0) << value;
    }
    EXPECT_EQ(right().playState(), kPlaying);
}

TEST_F(HeardMixer, ADeckAlwaysPlaysAtTheLevelTheCrossfaderGivesWhateverCameBefore)
{
    const auto stop = [&] { ActiveMovie1(m)->stopButton()->click(); };
    const auto play = [&] {
        // As a person clicks it: once the deck shows it stopped.
        ASSERT_TRUE(waitFor([&] { return ActiveMovie1(m)->playButton()->isEnabled(); }));
        ActiveMovie1(m)->playButton()->click();
    };
    const auto reload = [&] { load(File1(m), "sinistra.mp3"); };
    const auto automaticMix = [&] {
        HScroll1(m)->setValue(0);
        Command1(m)->click();
        ASSERT_TRUE(waitFor([&] { return left().playState() == kStopped; }, 15000));
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
        HScroll1(m)->setValue(0);
        reload();
        HScroll1(m)->setValue(10000);
        QTest::qWait(300);
        ASSERT_LT(ear.steadyLevel(kLeftHz), -50) << "the crossfader does not silence the deck to begin with";
        for (const auto& step : steps)
            step();
        ASSERT_TRUE(waitFor([&] { return left().playState() == kPlaying; }));
        QTest::qWait(600);
        EXPECT_LT(ear.steadyLevel(kLeftHz), -50) << "the faded deck is heard";
        EXPECT_GT(ear.steadyLevel(kRightHz), -30) << "the deck on air is not heard";
    }
}
