// The player window as a person plays a folder with it: rows clicked, the
// toolbar's buttons, the advance from track to track over files that play,
// files that do not and files that change under it; files opened from
// outside, and entries played from the catalogue.

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/mediaplayer.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/listener.h"
#include "support/qt/sound.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/playentry.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/player/mediaplayercontrol.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

// The player window on a folder of music, with the details routine
// recording the tracks it is run for. Tracks that must not end while a test
// looks at them are long: under load Qt reports the position a second or
// more late.
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
    void tone(const std::string& name, double seconds) const
    {
        EXPECT_FALSE(makeMp3(music.path(), name, {.seconds = seconds}).empty()) << name;
    }
    void noise(const std::string& name) const { music.write(name, output("head -c 40000 /dev/urandom")); }
    void clickRow(int row) const
    {
        TrackGrid* g = ExtGrid1(f);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->gridModel()->index(row - 1, 1)).center());
    }
    int state() const { return f->media().playState(); }
    double position() const { return f->media().currentPosition(); }
    std::string track() const { return app.state.BranoCorrente; }
    static bool waitFor(const std::function<bool()>& what, int ms = 10000) { return QTest::qWaitFor(what, ms); }

    TempDir music;
    TestApp app;
    Form1* f = nullptr;
    std::vector<std::string> details;
};

} // namespace

TEST(Playback, AOneTrackFolderPlaysItsTrackAgain)
{
    REQUIRE_PLAYBACK();
    Player p{{"solo.mp3", 1.0}};
    p.clickRow(1);
    ASSERT_TRUE(p.waitFor([&] { return p.details.size() == 2; }));
    EXPECT_EQ(p.track(), " solo.mp3");
    EXPECT_TRUE(p.waitFor([&] { return p.state() == kPlaying && p.position() > 0.1; }));
    EXPECT_TRUE(p.f->playMode());
}

TEST(Playback, RiprendiBeforeAnyTrackWasChosenStartsTheFolderAndNamesNoFailure)
{
    REQUIRE_PLAYBACK();
    Player p{{"solo.mp3", 3.0}};
    QStringList shown; // the display at each tick
    QObject::connect(
        Timer1(p.f), &QTimer::timeout, p.f, [&] { shown << QString::fromStdString(p.app.state.TitoloDisplay); });
    p.f->button("riprendi")->trigger();
    EXPECT_TRUE(p.waitFor([&] { return p.track() == " solo.mp3" && p.state() == kPlaying; }));
    EXPECT_FALSE(shown.join("|").contains("Impossibile")) << shown.join("|").toStdString();
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
    QObject::connect(Timer1(p.f), &QTimer::timeout, p.f,
        [&] { ticks.emplace_back(p.track(), QString::fromStdString(p.app.state.TitoloDisplay)); });
    p.clickRow(1);
    ASSERT_TRUE(p.waitFor([&] { return p.track() == " e.mp3"; }));
    EXPECT_TRUE(p.waitFor([&] { return p.state() == kPlaying && p.position() > 0.1; }));
    const auto tickOf = [&](const std::string& track) {
        return std::ranges::find_if(ticks, [&](const auto& t) { return t.first == track; }) - ticks.begin();
    };
    // Three failed files, three ticks (one more when the machine is slow to
    // find out the first failure).
    EXPECT_LE(tickOf(" e.mp3") - tickOf(" b.mp3"), 4) << "ticks from b to e";
    for (const char* name : {"b.mp3", "c.mp3", "d.mp3"})
        EXPECT_TRUE(std::ranges::any_of(
            ticks, [&](const auto& t) { return t.second.contains(QString("Impossibile riprodurre: ") + name); }))
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
    ASSERT_EQ(ExtGrid1(p.f)->rows(), 4);
    // The file vanishes after the listing, just before the click.
    std::filesystem::remove(gone);
    p.clickRow(3);
    EXPECT_EQ(p.track(), "c.mp3");
    ASSERT_TRUE(p.waitFor([&] { return !p.f->playMode(); }, 15000)) << "the advance went on cycling";
    EXPECT_EQ(p.details, (std::vector<std::string>{"c.mp3", "a.mp3", "b.mp3"}));
    EXPECT_EQ(p.app.state.TitoloDisplay, "Impossibile riprodurre: b.mp3");
    EXPECT_TRUE(p.waitFor([&] { return lcd1(p.f)->text().contains("Impossibile riprodurre: b.mp3"); }, 2000));
    // Nothing starts by itself afterwards.
    QTest::qWait(1500);
    EXPECT_EQ(p.details.size(), 3u);
    EXPECT_EQ(p.state(), kStopped);
    EXPECT_TRUE(p.app.dialogs.messages.empty());
    EXPECT_TRUE(p.app.dialogs.runtimeErrors.empty());
    // A file that plays, copied in later, is played by the next "riprendi"
    // round.
    p.tone("d.mp3", 1.0);
    ASSERT_TRUE(p.waitFor([&] { return ExtGrid1(p.f)->rows() == 4; }, 2000));
    p.f->button("riprendi")->trigger();
    EXPECT_TRUE(p.f->playMode());
    EXPECT_TRUE(p.waitFor([&] { return p.track() == " d.mp3" && p.state() == kPlaying; }));
}

TEST(Playback, ThePlayingRowFollowsItsFileThroughNewFilesAndARenameAndTheAdvanceGoesOnFromIt)
{
    REQUIRE_PLAYBACK();
    Player p{{"b.mp3", 5.0}, {"d.mp3", 1.0}};
    p.clickRow(1);
    ASSERT_TRUE(p.waitFor([&] { return p.position() > 0.2; }));
    QSignalSpy toggles(p.f->button("riprendi"), &QAction::toggled);
    // A file that sorts before the one playing, and one after it.
    p.music.write("a.mp3", "x");
    p.music.write("c.mp3", "x");
    ASSERT_TRUE(p.waitFor([&] { return ExtGrid1(p.f)->rows() == 5; }, 1000));
    EXPECT_EQ(ExtGrid1(p.f)->row(), 2);
    EXPECT_EQ(ExtGrid1(p.f)->textMatrix(2, 1), " b.mp3");
    EXPECT_EQ(ExtGrid1(p.f)->selectionModel()->selectedRows().value(0).row(), 1);
    // Renamed, it is the last row.
    std::filesystem::rename(p.music / "b.mp3", p.music / "zz.mp3");
    ASSERT_TRUE(p.waitFor([&] { return ExtGrid1(p.f)->textMatrix(4, 1) == " zz.mp3"; }, 2000));
    EXPECT_EQ(ExtGrid1(p.f)->row(), 4);
    EXPECT_EQ(p.track(), " zz.mp3");
    EXPECT_EQ(p.state(), kPlaying);
    // After the last row, the first: a (text) fails, c too, d plays; the
    // renamed track is not played again.
    ASSERT_TRUE(p.waitFor([&] { return p.track() == " d.mp3"; }));
    EXPECT_EQ(p.details, (std::vector<std::string>{"b.mp3", "a.mp3", "c.mp3", "d.mp3"}));
    // The play button was never released meanwhile.
    for (const QList<QVariant>& toggled : toggles)
        EXPECT_TRUE(toggled.at(0).toBool());
}

TEST(Playback, AClickAfterAToolbarCommandEnterAndSpaceDoWhatAPersonExpects)
{
    REQUIRE_PLAYBACK();
    Player p{{"a.mp3", 6.0}, {"b.mp3", 4.0}};
    p.app.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.app.frame.get()));
    // After a toolbar command (help leaves the program folder current) a
    // click plays the row clicked, and nothing left over takes the player
    // elsewhere later.
    p.f->button("help")->trigger();
    p.clickRow(2);
    EXPECT_EQ(p.track(), "b.mp3");
    EXPECT_TRUE(p.waitFor([&] { return p.position() > 0.3; }));
    QTest::qWait(400);
    EXPECT_EQ(p.track(), "b.mp3");
    EXPECT_EQ(p.state(), kPlaying);

    // Enter on a row plays it.
    ExtGrid1(p.f)->setFocus();
    ExtGrid1(p.f)->setRow(1);
    QTest::keyClick(ExtGrid1(p.f), Qt::Key_Return);
    EXPECT_EQ(p.track(), "a.mp3");
    ASSERT_TRUE(p.waitFor([&] { return p.position() > 2.0; }));
    // Space is "riprendi": it suspends, then plays the track from its
    // start, not from where it was (past 2 s).
    QTest::keyClick(ExtGrid1(p.f), Qt::Key_Space);
    EXPECT_EQ(p.state(), kPaused);
    EXPECT_FALSE(p.f->playMode());
    QTest::keyClick(ExtGrid1(p.f), Qt::Key_Space);
    EXPECT_TRUE(p.f->playMode());
    EXPECT_EQ(p.track(), "a.mp3");
    ASSERT_TRUE(p.waitFor([&] { return p.position() > 0.0; }));
    EXPECT_LT(p.position(), 1.5);
    EXPECT_EQ(p.details, (std::vector<std::string>{"b.mp3", "a.mp3"}));
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
    ASSERT_EQ(ExtGrid1(p.f)->rows(), 3);
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

// A file handed to the program from outside (its command line, the file
// manager) that is not a track of the grid: a playlist of another kind, a
// name that is gone, a type the player does not list. (A folder and a track
// are opened by the real program in tests/app/desktop_bus_qt_test.)
TEST(OpenPath, AnM3u8ListPlaysThoughTheGridDoesNotShowItAndWhatCannotBeOpenedIsTold)
{
    REQUIRE_PLAYBACK();
    TempDir music;
    TestApp app;
    Form1* f = app.startIn(music.path());
    app.dialogs.messages.clear();
    f->openPath(music / "manca.mp3");
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{"File o cartella non trovati: " + music / "manca.mp3"});
    EXPECT_EQ(Dir1(f)->path(), music.path());
    // A type the player does not list: its folder is shown, nothing plays.
    f->openPath(music.write("altra/note.ogg", std::string(300, 'z')));
    EXPECT_EQ(app.dialogs.texts().back(), "Il file note.ogg non è tra i tipi di file musicali che il lettore elenca.");
    EXPECT_EQ(Dir1(f)->path(), music / "altra");
    EXPECT_FALSE(f->playMode());
    EXPECT_EQ(app.state.BranoCorrente, "");

    app.dialogs.messages.clear();
    makeMp3(music.path(), "tre.mp3", {.seconds = 20});
    f->openPath(music.write("scelta.m3u8", "\xEF\xBB\xBF#EXTM3U\ntre.mp3\n"));
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(app.state.BranoCorrente, "scelta.m3u8");
    EXPECT_TRUE(f->playMode());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->media().playState() == kPlaying; }, 10000));
}

// An entry played from the catalogue window's list while its disc is out and
// the player closed: the question waits, a disc of the same label and
// another serial is not taken, and the track is heard once the disc is
// mounted anywhere. Then what each kind of entry plays.
TEST(CataloguePlayback, TheQuestionWaitsForTheDiscAndEachKindOfEntryPlaysAsItShould)
{
    REQUIRE_PLAYBACK();
    Listener ear;
    TempDir work;
    const std::string a = work.mkdir("a"), b = work.mkdir("b"), img = work / "brani.img", other = work / "altro.img";
    TestApp app;
    // The impostor (same label, another UUID) is mounted first, so that it
    // never takes a loop device the disc has just let go of.
    for (const auto& [image, uuid] : {std::pair{img, "1a2b3c4d-0000-4000-8000-000000000001"},
             std::pair{other, "5e6f7a8b-0000-4000-8000-000000000002"}})
        run("truncate -s 16M " + image + " && mkfs.ext4 -q -F -L Brani -U " + uuid + " " + image);
    MountedImage impostor(work.mkdir("c"), "mount -o loop " + other + " " + work / "c");
    {
        MountedImage disc(a, "mount -o loop " + img + " " + a);
        if (!disc.ok() || !ear.ok())
            GTEST_SKIP() << "no mounting, or no sink of the test's own, here";
        run("mkdir " + a + "/Musica && touch " + a + "/note.txt");
        makeMp3(a + "/Musica", "1.mp3", {.seconds = 20, .frequency = 660});
        makeMp3(a + "/Musica", "2.mp3", {.seconds = 20, .frequency = 880});
        ASSERT_EQ(runCli("scan --tutti --titolo Brani " + a, app.programFolder.path()).status, 0);
    }
    app.start();
    app.player()->parentWidget()->close();
    frmMP3print* w = findCatalogueWindow(app.ctx);
    Command2(w)->click(); // shows the catalogue
    const auto play = [&](const std::string& entry) {
        List1(w)->setCurrentItem(List1(w)->findItems(QString::fromStdString(entry), Qt::MatchExactly).value(0));
        control<QAction>(List1(w), "menuRiproduci")->trigger();
    };
    play(a + "/Musica/2.mp3");
    play(a + "/Musica/2.mp3"); // a second request replaces the question
    QTest::qWait(500);
    const auto questions = [&] { return app.frame->findChildren<QMessageBox*>("InserireCD"); };
    ASSERT_EQ(questions().size(), 1);
    EXPECT_EQ(questions()[0]->text(), "Inserire il CD «Brani» (etichetta Brani, numero di serie 439041101)");
    const auto mountedAt = std::chrono::steady_clock::now();
    MountedImage disc(b, "mount -o loop " + img + " " + b);
    ASSERT_TRUE(ear.hears(880));
    EXPECT_LT(std::chrono::steady_clock::now() - mountedAt, std::chrono::seconds(2));
    EXPECT_TRUE(questions().empty());
    const struct {
        std::string entry, track, started;
    } cases[] = {
        {"(" + a + "/Musica)", "1.mp3", ""},
        {a + "/Musica/2.mp3", "2.mp3", ""},
        {a + "/note.txt", "2.mp3", app.programFolder / "start " + b + "/note.txt"},
    };
    for (const auto& row : cases) {
        app.shell.runs.clear();
        play(row.entry);
        EXPECT_EQ(app.ctx.player.musicFolder() + " " + app.state.BranoCorrente, b + "/Musica " + row.track);
        EXPECT_EQ(app.shell.runs.empty() ? "" : app.shell.runs.back().words(), row.started);
    }
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{});
    // A catalogue that names no disc plays its recorded path, and says so.
    app.programFolder.write("ZOND_DEFAULT__0.txt", "Senza disco\r\n" + b + "/Musica/1.mp3\r\n");
    playCatalogueEntry(app.ctx, "ZOND_DEFAULT__0.txt", b + "/Musica/1.mp3");
    EXPECT_EQ(app.state.BranoCorrente, "1.mp3");
    EXPECT_EQ(app.dialogs.texts(),
        std::vector<std::string>{"Non è stato possibile verificare il disco di «Senza disco»: si "
                                 "riproduce "
            + b + "/Musica/1.mp3."});
    app.ctx.player.stop();
}
