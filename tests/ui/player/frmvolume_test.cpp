#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt/alsamixer.h"
#include "support/qt/mastervolume.h"
#include "support/qt/testapp.h"
#include "ui/player/form1.h"
#include "ui/player/frmvolume.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

struct VolumeWindowTest : ::testing::Test {
    void SetUp() override
    {
        REQUIRE_MASTER_VOLUME();
        app.start();
    }

    // The window opened with the system's volume at `volume`.
    frmVolume* openAt(int volume)
    {
        EXPECT_TRUE(setSinkVolume(volume));
        return openFromToolbar();
    }

    // The window as the player's "volume" button opens it.
    frmVolume* openFromToolbar()
    {
        QAction* button = app.player()->button("volume");
        EXPECT_TRUE(button->isEnabled());
        button->trigger();
        QApplication::processEvents();
        return app.frame->findChild<frmVolume*>("frmVolume");
    }

    // A window on a mixer of the test's choosing, loaded in the frame.
    frmVolume* openWith(std::unique_ptr<Mixer> mixer)
    {
        auto* w = new frmVolume(app.ctx, std::move(mixer));
        QMdiSubWindow* sub = app.frame->addChild(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        app.ctx.handle([w] { w->Load(); });
        sub->show();
        return w;
    }

    // Drags the knob with `button` so that the mouse ends at `trackY` in
    // the track, moving twice as a hand does and letting the drag timer
    // run; returns the knob's top just before the button is released.
    int drag(frmVolume* w, Qt::MouseButton button, int trackY)
    {
        const QPoint grab(w->Image1->width() / 2, w->Image1->height() / 2);
        QTest::mousePress(w->Image1, button, {}, grab);
        QTest::mouseMove(w->Image1, QPoint(grab.x(), trackY - w->Image1->y()));
        QTest::qWait(60);
        QTest::mouseMove(w->Image1, QPoint(grab.x(), trackY - w->Image1->y()));
        QTest::qWait(60);
        const int top = w->Image1->y();
        QTest::mouseRelease(w->Image1, button, {}, QPoint(grab.x(), trackY - w->Image1->y()));
        return top;
    }

    QString text1(frmVolume* w) const { return w->Text1->text(); }

    SinkVolumeKept kept;
    TestApp app;
};

} // namespace

TEST_F(VolumeWindowTest, OpensBesideThePlayerAtTheSystemsVolumeAndLeavesItAlone)
{
    const int clients = ownSoundClients();
    frmVolume* w = openAt(49152);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Volume");
    EXPECT_EQ(w->Label2->text(), "0");
    EXPECT_EQ(w->Label3->text(), "65536");
    ASSERT_EQ(w->travel(), 200);
    // 75% is a quarter of the way down, centred across the track.
    EXPECT_EQ(w->Image1->y(), 50);
    EXPECT_EQ(w->Image1->x() + w->Image1->width() / 2, w->Picture4->width() / 2);
    EXPECT_EQ(text1(w), "49152");
    EXPECT_FALSE(w->Timer1->isActive());
    QTest::qWait(50); // a moment in which nothing may be sent
    EXPECT_EQ(sinkVolume(), 49152);
    // 100 and 500 twips (15 to the pixel) from the player's right and top.
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    auto* player = qobject_cast<QMdiSubWindow*>(app.player()->parentWidget());
    ASSERT_TRUE(sub && player);
    EXPECT_EQ(sub->pos(), QPoint(player->x() + player->width() + 7, player->y() + 33));

    // One window and one mixer: the button again shows the same window.
    EXPECT_EQ(ownSoundClients(), clients + 1);
    EXPECT_EQ(openFromToolbar(), w);
    EXPECT_EQ(app.frame->findChildren<frmVolume*>().size(), 1);
    EXPECT_EQ(ownSoundClients(), clients + 1);
    // Closed, the mixer is released.
    w->Command1->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(app.frame->findChildren<frmVolume*>().empty());
    EXPECT_EQ(ownSoundClients(), clients);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST_F(VolumeWindowTest, DraggingTheKnobSetsTheMasterVolume)
{
    frmVolume* w = openAt(30000);
    ASSERT_NE(w, nullptr);

    // Above the track: the knob stops at the top, the volume is the maximum.
    EXPECT_EQ(drag(w, Qt::LeftButton, -80), 0);
    EXPECT_EQ(w->Image1->y(), 0);
    EXPECT_EQ(text1(w), "65536");
    EXPECT_EQ(sinkVolume(), 65536);
    EXPECT_FALSE(w->Timer1->isActive());

    // Half way.
    drag(w, Qt::LeftButton, 100);
    EXPECT_EQ(w->Image1->y(), 100);
    EXPECT_EQ(text1(w), "32768");
    EXPECT_EQ(sinkVolume(), 32768);
    EXPECT_EQ(w->volumeValue(), 32768);
}

TEST_F(VolumeWindowTest, TheVolumeFollowsTheKnobWhileItIsDragged)
{
    frmVolume* w = openAt(49152);
    ASSERT_NE(w, nullptr);
    const QPoint grab(w->Image1->width() / 2, 0);
    QTest::mousePress(w->Image1, Qt::LeftButton, {}, grab);
    QTest::mouseMove(w->Image1, QPoint(grab.x(), 150 - w->Image1->y()));
    // The drag timer takes the knob to the mouse.
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->Image1->y() == 150; }, 5000)) << w->Image1->y();
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(text1(w), "16384");
    // The next move sends what the knob shows, before the button goes up.
    QTest::mouseMove(w->Image1, QPoint(grab.x(), 0));
    EXPECT_EQ(sinkVolume(), 16384);
    QTest::mouseRelease(w->Image1, Qt::LeftButton, {}, QPoint(grab.x(), 0));
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(VolumeWindowTest, APressWithoutAMoveOrARightButtonDragMovesNothingTheReleaseSendsTheValue)
{
    frmVolume* w = openAt(49152);
    ASSERT_NE(w, nullptr);
    QTest::mousePress(w->Image1, Qt::LeftButton, {}, QPoint(10, 7));
    QTest::qWait(60); // held while the drag timer runs
    QTest::mouseRelease(w->Image1, Qt::LeftButton, {}, QPoint(10, 7));
    EXPECT_EQ(w->Image1->y(), 50);
    EXPECT_EQ(text1(w), "49152");
    EXPECT_EQ(sinkVolume(), 49152);

    ASSERT_TRUE(setSinkVolume(10000));
    EXPECT_EQ(drag(w, Qt::RightButton, 0), 50);
    EXPECT_EQ(w->Image1->y(), 50);
    EXPECT_EQ(text1(w), "49152");
    EXPECT_EQ(sinkVolume(), 49152);
}

TEST_F(VolumeWindowTest, ATypedValueIsSentWithinTheBoundsOrIsAConversionError)
{
    frmVolume* w = openAt(49152);
    ASSERT_NE(w, nullptr);
    // A move sends the box as it is; the drag timer then writes the knob's
    // value into it.
    auto pressAndMove = [w](const QString& typed) {
        w->Text1->setText(typed);
        QTest::mousePress(w->Image1, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseMove(w->Image1, QPoint(5, 6));
    };
    pressAndMove("20000");
    EXPECT_EQ(sinkVolume(), 20000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return text1(w) == "49152"; }, 5000)) << text1(w).toStdString();
    QTest::mouseRelease(w->Image1, Qt::RightButton, {}, QPoint(5, 6));
    EXPECT_EQ(sinkVolume(), 49152);

    ASSERT_TRUE(app.dialogs.runtimeErrors.empty());
    ASSERT_TRUE(setSinkVolume(30000));
    pressAndMove("forte");
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 13);
    EXPECT_EQ(sinkVolume(), 30000);
    QTest::mouseRelease(w->Image1, Qt::RightButton, {}, QPoint(5, 6));
}

TEST_F(VolumeWindowTest, AMixerThatCannotBeOpenedIsSaidAndEverythingIsZero)
{
    ASSERT_TRUE(setSinkVolume(49152));
    app.dialogs.messages.clear();
    frmVolume* w = openWith(std::make_unique<AlsaMixer>("zondari_nessun_mixer"));
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_EQ(app.dialogs.messages[0].text, "Non posso aprire il mixer.");
    EXPECT_EQ(app.dialogs.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(app.dialogs.messages[0].title, "Volume");
    EXPECT_EQ(w->Label2->text(), "MIN");
    EXPECT_EQ(w->Label3->text(), "MAX");
    EXPECT_EQ(w->Image1->y(), 50);
    EXPECT_EQ(text1(w), "0");

    // The knob still moves; every position is 0 and nothing reaches the
    // system.
    drag(w, Qt::LeftButton, 0);
    EXPECT_EQ(w->Image1->y(), 0);
    EXPECT_EQ(text1(w), "0");
    EXPECT_EQ(sinkVolume(), 49152);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST_F(VolumeWindowTest, WithoutASpeakersControlTheKnobOpensAQuarterDown)
{
    ASSERT_TRUE(setSinkVolume(16384));
    app.dialogs.messages.clear();
    frmVolume* w = openWith(std::make_unique<AlsaMixer>("default", std::vector<std::string>{"Nessuno"}));
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(w->Label2->text(), "MIN");
    EXPECT_EQ(w->Label3->text(), "MAX");
    EXPECT_EQ(w->Image1->y(), 50);
    EXPECT_EQ(text1(w), "0");
    drag(w, Qt::LeftButton, 0);
    EXPECT_EQ(sinkVolume(), 16384);
}
