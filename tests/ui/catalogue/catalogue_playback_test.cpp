// Playing a catalogued file or folder from the catalogue window: what the
// player does with each kind of entry, and the question that waits for a
// disc that is not in, on real loop-mounted volumes, heard at the sink.

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/listener.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/playentry.h"
#include "ui/player/form1.h"
#include "ui/player/playerport.h"

using namespace zondari;
using namespace zondari::test;
using namespace std::chrono;

namespace {

// The catalogue window with the catalogue of the program folder shown, and
// its entry `entry` played from the list's menu.
void playFromList(TestApp& app, const std::string& entry)
{
    frmMP3print* w = findCatalogueWindow(app.ctx);
    Command2(w)->click();
    app.shell.runs.clear(); // the page that shows the catalogue
    const auto found = List1(w)->findItems(QString::fromStdString(entry), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << entry;
    List1(w)->setCurrentItem(found[0]);
    List1(w)->findChild<QAction*>("menuRiproduci")->trigger();
}

std::vector<QMessageBox*> questions()
{
    std::vector<QMessageBox*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == kDiscQuestionName && w->isVisible())
            shown.push_back(qobject_cast<QMessageBox*>(w));
    return shown;
}

} // namespace

TEST(CataloguePlayback, AFilePlaysInItsFolderAFolderFromItsFirstTrackAndTheRestGoesToTheOpener)
{
    TestApp app;
    TempDir work;
    const std::string disc = work.mkdir("disco");
    MountedTmpfs mounted(disc, "16m");
    if (!mounted.ok())
        GTEST_SKIP() << "mounting is not allowed here";
    work.mkdir("disco/Musica");
    ASSERT_FALSE(makeMp3(disc + "/Musica", "a.mp3", {.seconds = 10}).empty());
    ASSERT_FALSE(makeMp3(disc + "/Musica", "b.mp3", {.seconds = 10}).empty());
    work.write("disco/note.txt", "testo");
    const CliRun scan = runCli("scan --tutti --titolo Misto " + shellQuoted(disc), app.programFolder.path());
    ASSERT_EQ(scan.status, 0) << scan.err;
    app.startIn(work.path());
    const std::string launcher = app.programFolder / "start";
    const struct {
        std::string entry;
        bool playerClosed;
        std::string folder, track, started;
    } cases[] = {
        {disc + "/Musica/b.mp3", false, disc + "/Musica", "b.mp3", ""},
        {"(" + disc + "/Musica)", false, disc + "/Musica", "a.mp3", ""},
        {disc + "/note.txt", false, disc + "/Musica", "a.mp3", launcher + " " + disc + "/note.txt"},
        {disc + "/Musica/b.mp3", true, disc + "/Musica", "b.mp3", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        if (c.playerClosed)
            app.player()->parentWidget()->close();
        ASSERT_EQ(app.ctx.player.present(), !c.playerClosed);
        playFromList(app, c.entry);
        EXPECT_TRUE(app.player()->isVisible());
        EXPECT_EQ(app.ctx.player.musicFolder(), c.folder);
        EXPECT_EQ(app.state.BranoCorrente, c.track);
        EXPECT_EQ(app.shell.runs.empty() ? "" : app.shell.runs.back().words(), c.started);
    }
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{});
}

TEST(CataloguePlayback, AskedForItsDiscTheTrackIsHeardAsSoonAsTheDiscIsMountedAnywhereButNotForAnotherOfItsLabel)
{
    REQUIRE_PLAYBACK();
    Listener ear;
    if (!ear.ok())
        GTEST_SKIP() << "the sound server does not load a null sink for this test";
    TempDir work;
    const std::string a = work.mkdir("a"), b = work.mkdir("b"), c = work.mkdir("c");
    // Two discs labelled alike; the second's serial (from its UUID) differs.
    const auto make = [&](const std::string& img, const char* uuid, const std::string& at, double hz) {
        ASSERT_EQ(run("truncate -s 8M " + img + " && mkfs.ext4 -q -F -L Brani -U " + uuid + " " + img + " >/dev/null"),
            0);
        MountedImage m(at, "mount -o loop " + img + " " + at);
        if (!m.ok())
            GTEST_SKIP() << "mounting is not allowed here";
        ASSERT_EQ(run("mkdir " + at + "/Musica"), 0);
        ASSERT_FALSE(makeMp3(at + "/Musica", "la.mp3", {.seconds = 30, .frequency = hz}).empty());
    };
    make(work / "brani.img", "1a2b3c4d-0000-4000-8000-000000000001", a, 660);
    make(work / "altro.img", "5e6f7a8b-0000-4000-8000-000000000002", c, 330);
    if (IsSkipped() || HasFatalFailure())
        return;
    TestApp app;
    MountedImage first(a, "mount -o loop " + work / "brani.img" + " " + a);
    const CliRun scan = runCli("scan --titolo Brani " + shellQuoted(a), app.programFolder.path());
    ASSERT_EQ(scan.status, 0) << scan.err;
    first.unmount();
    MountedImage impostor(c, "mount -o loop " + work / "altro.img" + " " + c);
    ASSERT_TRUE(impostor.ok());

    app.start();
    playFromList(app, a + "/Musica/la.mp3");
    playFromList(app, a + "/Musica/la.mp3"); // asked again: still one question
    ASSERT_EQ(questions().size(), 1u);
    EXPECT_EQ(questions()[0]->text(), "Inserire il CD «Brani» (etichetta Brani, numero di serie 439041101)");
    QTest::qWait(500);
    EXPECT_EQ(questions().size(), 1u) << "a volume of the same label and another serial was taken";
    EXPECT_EQ(app.state.BranoCorrente, "");

    const auto mountedAt = Listener::Clock::now();
    MountedImage second(b, "mount -o loop " + work / "brani.img" + " " + b);
    ASSERT_TRUE(ear.hears(660, {330}));
    QTest::qWait(300); // the tone held long enough to be told from a blip
    const auto heard = ear.recording().firstTime(
        660, mountedAt, Listener::Clock::now(), [](double level) { return level > -30; });
    ASSERT_TRUE(heard);
    EXPECT_LT(duration_cast<milliseconds>(*heard - mountedAt).count(), 2000);
    EXPECT_TRUE(questions().empty());
    EXPECT_EQ(app.ctx.player.musicFolder(), b + "/Musica");
    app.ctx.player.stop();
}
