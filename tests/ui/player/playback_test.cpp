#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/mediaplayer.h"
#include "support/mp3fixtures.h"
#include "support/qt/sound.h"
#include "support/qt/testapp.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/player/mediaplayercontrol.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr int kWaitMs = 10000;
// Tracks that must not end while a test looks at them are long: under load
// Qt reports the position a second or more late.

// The player window on a folder of music, with the details routine
// recording the tracks it is run for.
struct Player {
    explicit Player(bool listFolder = true)
    {
        app.ctx.openers.riempimp3 = [this](const std::string& track) { details.push_back(track); };
        if (listFolder)
            start();
    }
    // A folder of tones (name, seconds), listed.
    explicit Player(std::initializer_list<std::pair<const char*, double>> tones)
        : Player(false)
    {
        for (const auto& [name, seconds] : tones)
            tone(name, seconds);
        start();
    }
    void start() { f = app.startIn(music.path()); }
    std::string tone(const std::string& name, double seconds)
    {
        const std::string path = makeMp3(music.path(), name, {.seconds = seconds});
        EXPECT_FALSE(path.empty()) << name;
        return path;
    }
    void noise(const std::string& name) const { music.write(name, output("head -c 40000 /dev/urandom")); }
    void clickRow(int row) const
    {
        TrackGrid* g = f->ExtGrid1;
        const QRect cell = g->visualRect(g->gridModel()->index(row - 1, 1));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    }
    int state() const { return f->media().playState(); }
    std::string track() const { return app.state.BranoCorrente; }
    bool waitFor(const std::function<bool()>& what, int ms = kWaitMs) const { return QTest::qWaitFor(what, ms); }

    TempDir music;
    TestApp app;
    Form1* f = nullptr;
    std::vector<std::string> details;
};

// Whether the play button was ever released since the spy started.
bool everReleased(const QSignalSpy& toggles)
{
    for (const auto& args : toggles)
        if (!args.at(0).toBool())
            return true;
    return false;
}

} // namespace

TEST(PlayerToolbar, HoldsItsEightButtonsWithTheirKeysTooltipsAndPicturesAndTheTimerScrollsTheTitle)
{
    Player p;
    const std::vector<std::pair<QString, QString>> expected = {
        {"riprendi", "Avvia/Sospendi suono"},
        {"volume", "Visualizza volume generale"},
        {"ID3", "Visualizza editor di ID3"},
        {"dettagli", "Dettagli brano"},
        {"help", "Aiuto"},
        {"informazioni", "Informazioni sul programma"},
        {"mixer", "Digital DJ"},
        {"quit", "Avvia vortafon"},
    };
    const QList<QAction*> actions = p.f->Toolbar1->actions();
    ASSERT_EQ(actions.size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(actions[i]->objectName(), expected[i].first);
        EXPECT_EQ(actions[i]->toolTip(), expected[i].second);
        EXPECT_FALSE(actions[i]->icon().pixmap(24).toImage().isNull()) << i;
    }
    // Each picture differs from the others.
    for (int i = 0; i < 8; ++i)
        for (int j = i + 1; j < 8; ++j)
            EXPECT_NE(actions[i]->icon().pixmap(24).toImage(), actions[j]->icon().pixmap(24).toImage()) << i << j;
    // A button that opens another subsystem's window is enabled when that
    // window is part of the program.
    const Openers& o = p.app.ctx.openers;
    const std::vector<std::pair<const char*, bool>> windows
        = {{"volume", bool(o.showVolume)}, {"ID3", bool(o.showTagEditor)}, {"dettagli", bool(o.showTrackDetails)},
            {"informazioni", bool(o.showAbout)}, {"mixer", bool(o.showMixer)}};
    for (const auto& [key, present] : windows)
        EXPECT_EQ(p.f->button(key)->isEnabled(), present) << key;
    for (const char* key : {"riprendi", "help", "quit"})
        EXPECT_TRUE(p.f->button(key)->isEnabled()) << key;
    EXPECT_TRUE(p.f->button("riprendi")->isCheckable());
    EXPECT_FALSE(p.f->playMode());
    EXPECT_EQ(p.f->Timer1->interval(), 300);
    EXPECT_TRUE(p.f->Timer1->isActive());

    // Each tick scrolls the title on the display.
    p.f->Timer1->stop();
    ASSERT_EQ(p.app.state.TitoloDisplay, "Zondari - Mp3 Player");
    // Wherever the timer had got to before it was stopped: a title of 20
    // characters comes round every 26 ticks.
    QStringList shown;
    for (int i = 0; i <= 26; ++i) {
        p.f->Timer1_Timer();
        shown << p.f->lcd1->text();
    }
    EXPECT_EQ(shown[26], shown[0]);
    const int start = static_cast<int>(shown.indexOf("   Zondari - Mp3 Player   Zondari -"));
    ASSERT_GE(start, 0) << shown.join("|").toStdString();
    EXPECT_EQ(shown[(start + 3) % 26], "Zondari - Mp3 Player   Zondari - Mp");
}

TEST(PlayerToolbar, TheMixerTakesTheSoundTheButtonEndsThePlayModeFirst)
{
    // The other buttons are pressed by the tests of the windows they open.
    Player p(false);
    std::string mixer;
    p.app.ctx.openers.showMixer = [&] { mixer = p.f->playMode() ? "play mode on" : "play mode off"; };
    p.start();
    p.app.state.BranoCorrente = "brano.mp3";
    p.f->setFocus();
    p.f->button("riprendi")->trigger(); // a track that cannot be opened: the play mode is on all the same
    ASSERT_TRUE(p.f->playMode());
    p.f->button("mixer")->trigger();
    EXPECT_EQ(mixer, "play mode off");
    EXPECT_NE(p.state(), kPlaying);
    EXPECT_TRUE(p.app.dialogs.runtimeErrors.empty());
}

TEST(PlayerToolbar, HelpOpensThePageFromTheProgramFolderAndQuitHandsOverToVortafon)
{
    Player p;
    ASSERT_EQ(files::currentFolder(), p.music.path());
    p.f->button("help")->trigger();
    ASSERT_EQ(p.app.shell.runs.size(), 1u);
    EXPECT_EQ(p.app.shell.runs[0].program, "start");
    EXPECT_EQ(p.app.shell.runs[0].args, std::vector<std::string>{"zondari.htm"});
    EXPECT_EQ(files::currentFolder(), p.app.programFolder.path());
    EXPECT_EQ(p.app.ended, 0);

    // vortafon beside the program: the launcher starts it, and this one ends.
    const std::string vortafon = p.app.programFolder.write("vortafon", "#!/bin/sh\n");
    std::filesystem::permissions(vortafon, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    p.f->button("quit")->trigger();
    ASSERT_EQ(p.app.shell.runs.size(), 2u);
    EXPECT_EQ(p.app.shell.runs[1].program, "start");
    EXPECT_EQ(p.app.shell.runs[1].args, std::vector<std::string>{"vortafon"});
    EXPECT_EQ(p.app.ended, 1);

    // Without the launcher the runtime reports it, and the program ends all
    // the same.
    p.app.shell.failWith = RuntimeError{53, "File non trovato"};
    p.f->button("quit")->trigger();
    ASSERT_EQ(p.app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(p.app.dialogs.runtimeErrors[0].number, 53);
    EXPECT_EQ(p.app.ended, 2);
}

TEST(PlayerGrid, OnAnEmptyFolderAClickAsksForAFolderAndThePlayModeEndsQuietly)
{
    Player p;
    emit p.f->ExtGrid1->Click(); // the grid of an empty folder: its row is the header
    EXPECT_EQ(p.app.dialogs.texts(), std::vector<std::string>{"Scegli una cartella che contenga i files musicali."});
    EXPECT_EQ(p.track(), "Titolo");
    EXPECT_FALSE(p.f->playMode());
    EXPECT_EQ(p.state(), kStopped);
    EXPECT_TRUE(p.details.empty());

    // "riprendi" turns the play mode on, and the timer finds nothing to
    // move on to.
    p.app.dialogs.messages.clear();
    p.f->button("riprendi")->trigger();
    EXPECT_TRUE(p.f->playMode());
    EXPECT_TRUE(p.waitFor([&] { return !p.f->playMode(); }, 2000));
    EXPECT_TRUE(p.app.dialogs.runtimeErrors.empty());
    EXPECT_TRUE(p.app.dialogs.messages.empty());
}

TEST(Playback, GridClickPlaysAndTheFolderPlaysOnAndWrapsToTheFirstRow)
{
    REQUIRE_PLAYBACK();
    Player p{{"a.mp3", 1.0}, {"b.mp3", 1.0}};

    p.clickRow(1);
    EXPECT_EQ(p.track(), "a.mp3");
    EXPECT_EQ(p.app.state.TitoloDisplay, "a.mp3");
    EXPECT_EQ(p.state(), kPlaying);
    EXPECT_TRUE(p.f->playMode());
    EXPECT_TRUE(p.waitFor([&] { return p.f->lcd1->text().contains("a.mp3"); }, 2000));
    EXPECT_TRUE(p.waitFor([] { return ownSinkInputs() > 0; })) << "no playback stream on the sound server";

    QSignalSpy toggles(p.f->button("riprendi"), &QAction::toggled);
    ASSERT_TRUE(p.waitFor([&] { return p.track() == " b.mp3"; }));
    EXPECT_EQ(p.f->ExtGrid1->row(), 2);
    EXPECT_EQ(p.app.state.TitoloDisplay, " b.mp3");
    EXPECT_TRUE(p.waitFor([&] { return p.state() == kPlaying; }));
    EXPECT_EQ(files::currentFolder(), p.music.path());

    ASSERT_TRUE(p.waitFor([&] { return p.track() == " a.mp3"; }));
    EXPECT_EQ(p.f->ExtGrid1->row(), 1);
    EXPECT_TRUE(p.f->playMode());
    EXPECT_FALSE(everReleased(toggles));
    EXPECT_EQ(p.details, (std::vector<std::string>{"a.mp3", "b.mp3", "a.mp3"}));
    EXPECT_TRUE(p.app.dialogs.runtimeErrors.empty());

    // The next toolbar command starts from the program folder.
    p.f->button("help")->trigger();
    EXPECT_EQ(files::currentFolder(), p.app.programFolder.path());
}

TEST(Playback, OneTrackFolderPlaysItsTrackAgain)
{
    REQUIRE_PLAYBACK();
    Player p{{"solo.mp3", 1.0}};
    p.clickRow(1);
    ASSERT_TRUE(p.waitFor([&] { return p.details.size() == 2; }));
    EXPECT_EQ(p.track(), " solo.mp3");
    EXPECT_EQ(p.f->ExtGrid1->row(), 1);
    EXPECT_TRUE(p.waitFor([&] { return p.state() == kPlaying && p.f->media().currentPosition() > 0.1; }));
    EXPECT_TRUE(p.f->playMode());
}

TEST(Playback, FilesThatCannotBePlayedAreNamedOnTheDisplayAndSkippedOneATick)
{
    REQUIRE_PLAYBACK();
    Player p(false);
    p.tone("a.mp3", 1.0);
    for (const char* name : {"b.mp3", "c.mp3", "d.mp3"})
        p.noise(name);
    p.tone("e.mp3", 3.0);
    p.start();
    // Each tick of the timer, with the track it left the player on and what
    // the display showed.
    std::vector<std::pair<std::string, QString>> ticks;
    QObject::connect(p.f->Timer1, &QTimer::timeout, p.f,
        [&] { ticks.emplace_back(p.track(), QString::fromStdString(p.app.state.TitoloDisplay)); });
    p.clickRow(1);
    ASSERT_TRUE(p.waitFor([&] { return p.track() == " e.mp3"; }));
    EXPECT_TRUE(p.waitFor([&] { return p.state() == kPlaying && p.f->media().currentPosition() > 0.1; }));
    const auto tickOf = [&](const std::string& track) {
        return std::find_if(ticks.begin(), ticks.end(), [&](const auto& t) { return t.first == track; })
            - ticks.begin();
    };
    // Three failed files, three ticks (one more when the machine is slow to
    // find out the first failure).
    EXPECT_LE(tickOf(" e.mp3") - tickOf(" b.mp3"), 4) << "ticks from b to e";
    for (const char* name : {"b.mp3", "c.mp3", "d.mp3"})
        EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(),
            [&](const auto& t) { return t.second.contains(QString("Impossibile riprodurre: ") + name); }))
            << name << " was never named on the display";
    // Once e is heard, its title.
    EXPECT_TRUE(p.waitFor([&] { return p.app.state.TitoloDisplay == " e.mp3"; }, 2000));
    EXPECT_EQ(p.details, (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
    EXPECT_TRUE(p.app.dialogs.messages.empty());
    EXPECT_TRUE(p.app.dialogs.runtimeErrors.empty());
}

TEST(Playback, FolderWhereNothingPlaysStopsAfterOneRoundAndSaysSo)
{
    REQUIRE_PLAYBACK();
    Player p(false);
    p.music.write("a.mp3", "non sono musica\n");
    p.music.write("b.mp3", "neanche io\n");
    const std::string gone = p.music.write("c.mp3", "sparito\n");
    p.start();
    ASSERT_EQ(p.f->ExtGrid1->rows(), 4);
    // The file vanishes after the listing, just before the click.
    std::filesystem::remove(gone);
    p.clickRow(3);
    EXPECT_EQ(p.track(), "c.mp3");
    ASSERT_TRUE(p.waitFor([&] { return !p.f->playMode(); }, 15000)) << "the advance went on cycling";
    EXPECT_EQ(p.details, (std::vector<std::string>{"c.mp3", "a.mp3", "b.mp3"}));
    EXPECT_EQ(p.app.state.TitoloDisplay, "Impossibile riprodurre: b.mp3");
    EXPECT_TRUE(p.waitFor([&] { return p.f->lcd1->text().contains("Impossibile riprodurre: b.mp3"); }, 2000));
    // Nothing starts by itself afterwards.
    QTest::qWait(1500);
    EXPECT_EQ(p.details.size(), 3u);
    EXPECT_EQ(p.state(), kStopped);
    EXPECT_FALSE(p.f->playMode());
    EXPECT_TRUE(p.app.dialogs.messages.empty());
    EXPECT_TRUE(p.app.dialogs.runtimeErrors.empty());
    // Another folder: the report was about this one, and goes.
    ASSERT_TRUE(p.f->Dir1->setPath(p.app.programFolder.path()).ok());
    EXPECT_EQ(p.app.state.TitoloDisplay, "Zondari - Mp3 Player");
    ASSERT_TRUE(p.f->Dir1->setPath(p.music.path()).ok());

    // A file that plays, copied in later, is played by the next "riprendi"
    // round.
    p.tone("d.mp3", 1.0);
    ASSERT_TRUE(p.waitFor([&] { return p.f->ExtGrid1->rows() == 4; }, 2000));
    p.f->button("riprendi")->trigger();
    EXPECT_TRUE(p.f->playMode());
    EXPECT_TRUE(p.waitFor([&] { return p.track() == " d.mp3" && p.state() == kPlaying; }));
}

TEST(Playback, OneTrackThatCannotBePlayedIsNotRetriedForever)
{
    REQUIRE_PLAYBACK();
    Player p(false);
    p.noise("solo.mp3");
    p.start();
    p.clickRow(1);
    ASSERT_TRUE(p.waitFor([&] { return !p.f->playMode(); }, 5000));
    EXPECT_EQ(p.app.state.TitoloDisplay, "Impossibile riprodurre: solo.mp3");
    // A second in which no retry may come.
    QTest::qWait(1000);
    EXPECT_EQ(p.details.size(), 1u);
    EXPECT_EQ(p.state(), kStopped);
}

TEST(Playback, ThePlayingRowStaysSelectedWhileTheFolderChangesUnderIt)
{
    REQUIRE_PLAYBACK();
    Player p{{"b.mp3", 3.0}, {"d.mp3", 1.0}};
    p.clickRow(1);
    ASSERT_TRUE(p.waitFor([&] { return p.f->media().currentPosition() > 0.2; }));
    QSignalSpy toggles(p.f->button("riprendi"), &QAction::toggled);

    // A file that sorts before the one playing, and one after it.
    p.music.write("a.mp3", "x");
    p.music.write("c.mp3", "x");
    ASSERT_TRUE(p.waitFor([&] { return p.f->ExtGrid1->rows() == 5; }, 1000));
    EXPECT_EQ(p.f->ExtGrid1->row(), 2);
    EXPECT_EQ(p.f->ExtGrid1->textMatrix(2, 1), " b.mp3");
    EXPECT_EQ(p.f->ExtGrid1->selectionModel()->selectedRows().value(0).row(), 1);
    EXPECT_EQ(p.state(), kPlaying);
    EXPECT_TRUE(p.f->playMode());

    // The advance goes on from the playing row: c (text) fails, d plays.
    ASSERT_TRUE(p.waitFor([&] { return p.track() == " d.mp3"; }));
    EXPECT_EQ(p.details, (std::vector<std::string>{"b.mp3", "c.mp3", "d.mp3"}));
    EXPECT_FALSE(everReleased(toggles));
}

TEST(Playback, ThePlayingRowFollowsItsFileThroughARenameAndTheAdvanceGoesOnFromIt)
{
    REQUIRE_PLAYBACK();
    Player p{{"a.mp3", 1.0}, {"b.mp3", 2.0}, {"c.mp3", 1.0}};
    p.clickRow(2);
    ASSERT_TRUE(p.waitFor([&] { return p.f->media().currentPosition() > 0.2; }));
    std::filesystem::rename(p.music.path() + "/b.mp3", p.music.path() + "/zz.mp3");
    ASSERT_TRUE(p.waitFor([&] { return p.f->ExtGrid1->textMatrix(3, 1) == " zz.mp3"; }, 2000));
    EXPECT_EQ(p.f->ExtGrid1->row(), 3);
    EXPECT_EQ(p.track(), " zz.mp3");
    // After the last row, the first: the renamed track is not played again.
    ASSERT_TRUE(p.waitFor([&] { return p.details.size() == 2; }));
    EXPECT_EQ(p.details, (std::vector<std::string>{"b.mp3", "a.mp3"}));
}

TEST(Playback, RiprendiSuspendsAndThenStartsTheTrackFromItsBeginning)
{
    REQUIRE_PLAYBACK();
    Player p{{"a.mp3", 6.0}, {"b.mp3", 1.0}};
    p.app.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.app.frame.get()));

    // Enter on a row plays it.
    p.f->ExtGrid1->setFocus();
    p.f->ExtGrid1->setRow(1);
    QTest::keyClick(p.f->ExtGrid1, Qt::Key_Return);
    EXPECT_EQ(p.track(), "a.mp3");
    ASSERT_TRUE(p.waitFor([&] { return p.f->media().currentPosition() > 2.0; }));

    p.f->button("riprendi")->trigger();
    EXPECT_EQ(p.state(), kPaused);
    EXPECT_FALSE(p.f->playMode());
    QTest::qWait(700); // suspended it stays, with no timer moving it on
    EXPECT_EQ(p.state(), kPaused);
    EXPECT_EQ(p.track(), "a.mp3");

    // Space is the same command.
    QTest::keyClick(p.f->ExtGrid1, Qt::Key_Space);
    EXPECT_TRUE(p.f->playMode());
    EXPECT_EQ(p.track(), "a.mp3");
    ASSERT_TRUE(p.waitFor([&] { return p.f->media().currentPosition() > 0.0; }));
    EXPECT_LT(p.f->media().currentPosition(), 1.5); // from the start, not from where it was (past 2 s)
    EXPECT_EQ(p.state(), kPlaying);
}

TEST(Playback, UserStopReleasesThePlayModeAndNothingStartsByItself)
{
    REQUIRE_PLAYBACK();
    Player p{{"a.mp3", 4.0}, {"b.mp3", 1.0}};
    p.clickRow(1);
    ASSERT_TRUE(p.waitFor([&] { return p.f->media().currentPosition() > 0.3; }));

    QTest::mouseClick(p.f->MediaPlayer1->stopButton(), Qt::LeftButton);
    EXPECT_FALSE(p.f->playMode());
    EXPECT_EQ(p.state(), kStopped);
    QTest::qWait(1000); // long enough for the advance's timer to have started a row
    EXPECT_EQ(p.state(), kStopped);
    EXPECT_EQ(p.f->ExtGrid1->row(), 1);
    EXPECT_EQ(p.details.size(), 1u);
}

TEST(Playback, PlaylistRowPlaysItsEntriesThenTheGridMovesOn)
{
    REQUIRE_PLAYBACK();
    Player p(false);
    p.music.mkdir("Disco");
    p.tone("Disco/uno.mp3", 1.0);
    p.tone("Disco/due.mp3", 1.5);
    p.music.write("lista.m3u", "#EXTM3U\r\nDisco\\uno.mp3\r\n# pausa\r\nDisco/due.mp3\r\n");
    p.tone("z.mp3", 1.0);
    p.start();
    ASSERT_EQ(p.f->ExtGrid1->rows(), 3);

    p.clickRow(1);
    EXPECT_EQ(p.track(), "lista.m3u");
    std::vector<double> lengths;
    ASSERT_TRUE(p.waitFor([&] {
        const double d = std::round(p.f->media().duration() * 10) / 10;
        if (p.track() == "lista.m3u" && d > 0 && (lengths.empty() || lengths.back() != d))
            lengths.push_back(d);
        return p.track() == " z.mp3";
    }));
    EXPECT_EQ(lengths, (std::vector<double>{1.0, 1.5}));
    EXPECT_TRUE(p.f->playMode());
}

TEST(Playback, ClickAfterAToolbarCommandPlaysTheRowClicked)
{
    REQUIRE_PLAYBACK();
    Player p{{"a.mp3", 4.0}, {"b.mp3", 4.0}};
    // The help button leaves the program folder current.
    p.f->button("help")->trigger();
    p.clickRow(2);
    EXPECT_EQ(p.track(), "b.mp3");
    EXPECT_TRUE(p.waitFor([&] { return p.f->media().currentPosition() > 0.3; }));
    // Nothing left over from the command takes the player elsewhere later.
    QTest::qWait(400);
    EXPECT_EQ(p.track(), "b.mp3");
    EXPECT_EQ(p.f->ExtGrid1->row(), 2);
    EXPECT_EQ(p.state(), kPlaying);
}
