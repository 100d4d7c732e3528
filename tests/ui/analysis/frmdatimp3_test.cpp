#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/mp3fixtures.h"
#include "support/qt/testapp.h"
#include "ui/analysis/frmdatimp3.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

struct DetailsTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(haveMp3Tools());
        app.startIn(music.path());
    }

    frmDATIMP3* open()
    {
        app.ctx.openers.showTrackDetails();
        return app.frame->findChild<frmDATIMP3*>("frmDATIMP3");
    }

    QString field(frmDATIMP3* w, int i) { return w->findChild<QLineEdit*>(QString("Text1_%1").arg(i))->text(); }

    TestApp app;
    TempDir music;
};

} // namespace

TEST_F(DetailsTest, ADamagedTrackNeverShowsThePreviousTracksValues)
{
    makeMp3(music.path(), "buono.mp3", {2.5, 44100, 2, "-b 128 --id3v1-only --tt Buono"});
    music.write("rotto.mp3", std::string(5000, '\xFF'));
    frmDATIMP3* w = open();
    app.ctx.openers.riempimp3(" buono.mp3"); // as the grid's title column names it
    ASSERT_EQ(field(w, 0), "128");
    app.ctx.openers.riempimp3("rotto.mp3");
    EXPECT_EQ(field(w, 0), "0");
    EXPECT_EQ(field(w, 1), "0");
    EXPECT_EQ(field(w, 2), "0:00");
    EXPECT_EQ(field(w, 8), "");
    EXPECT_EQ(field(w, 13), "");
    EXPECT_EQ(field(w, 17), "");
    EXPECT_EQ(field(w, 18), "Falso");

    // A folder named like a track is read as nothing.
    app.ctx.openers.riempimp3("buono.mp3");
    music.mkdir("cartella.mp3");
    app.ctx.openers.riempimp3("cartella.mp3");
    EXPECT_EQ(field(w, 0), "0");
    EXPECT_EQ(field(w, 13), "");
}

TEST_F(DetailsTest, StandsAtTheCatalogueWindowOrBesideThePlayer)
{
    frmDATIMP3* w = open();
    QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    QMdiSubWindow* player = qobject_cast<QMdiSubWindow*>(app.player()->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->width(), 3650 / 15);
    EXPECT_EQ(sub->height(), player->height());
    EXPECT_EQ(sub->x(), player->geometry().right() + 1);

    // The catalogue window, moved elsewhere.
    auto* catalogueSub = qobject_cast<QMdiSubWindow*>(findCatalogueWindow(app.ctx)->parentWidget());
    catalogueSub->move(120, 30);
    w = open();
    sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    EXPECT_EQ(sub->pos(), QPoint(120, 30));
    // Opened again, it is one window.
    QApplication::processEvents();
    EXPECT_EQ(app.frame->findChildren<frmDATIMP3*>().size(), 1);
}

TEST_F(DetailsTest, LogoOpensTheSiteAndCloseUnloads)
{
    frmDATIMP3* w = open();
    QLabel* logo = w->findChild<QLabel*>("Picture7");
    QMouseEvent release(
        QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(logo, &release);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].program, app.ctx.programPath() + "start");
    EXPECT_EQ(app.shell.runs[0].args, std::vector<std::string>{"https://www.zondari.it/"});

    w->findChild<QPushButton*>("Command2")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.frame->findChild<frmDATIMP3*>(), nullptr);
}

TEST_F(DetailsTest, PlayerGridAndToolbarFillTheWindowWithTheClickedTracksHeaderPlayTimeAndTag)
{
    makeMp3(music.path(), "a.mp3", {5.5, 44100, 2, "-V 2 -m s --id3v1-only --tt Titolo --ta Autore --tg 17"});
    makeMp3(music.path(), "b.mp3", {.seconds = 3, .lameOptions = "-b 192"});
    Form1* f = app.player();
    f->RiempiTabella();

    // The toolbar opens the window on the current track...
    f->ExtGrid1->setRow(1);
    f->ExtGrid1_Click();
    f->button("dettagli")->trigger();
    frmDATIMP3* w = app.frame->findChild<frmDATIMP3*>("frmDATIMP3");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Zondari - Header TAG");
    EXPECT_EQ(field(w, 1), "44100");
    EXPECT_EQ(field(w, 2), "0:05");
    EXPECT_EQ(field(w, 3), "1");
    EXPECT_EQ(field(w, 4), "3");
    EXPECT_EQ(field(w, 8), "stereo");
    EXPECT_EQ(field(w, 12), "Autore");
    EXPECT_EQ(field(w, 13), "Titolo");
    EXPECT_EQ(field(w, 17), "Rock");
    EXPECT_EQ(field(w, 18), "Vero");
    EXPECT_EQ(w->findChild<QLabel*>("Label20")->text(), "VBR Vero");
    EXPECT_EQ(app.state.TrackInfo.SampleRate, 44100);
    // The analysis leaves the player's folder current.
    EXPECT_EQ(files::currentFolder(), music.path());

    // ...and a click on another row refills it.
    f->ExtGrid1->setRow(2);
    f->ExtGrid1_Click();
    EXPECT_EQ(field(w, 0), "192");
    EXPECT_EQ(field(w, 2), "0:03");
    EXPECT_EQ(field(w, 18), "Falso");
    EXPECT_EQ(w->findChild<QLabel*>("Label20")->text(), "VBR Falso");
    EXPECT_EQ(app.state.BranoCorrente, "b.mp3");
}
