// The master volume window, opened from the player's toolbar: its knob is
// dragged as a hand drags it, and the system's volume is read back from
// the sound server.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

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

    // The window as the player's "volume" button opens it, with the
    // system's volume at `volume`.
    frmVolume* openAt(int volume)
    {
        EXPECT_TRUE(setSinkVolume(volume));
        app.player()->button("volume")->trigger();
        QApplication::processEvents();
        return app.frame->findChild<frmVolume*>("frmVolume");
    }

    // Presses the knob with `button` and, unless `trackY` is empty, moves
    // the mouse to it in the track twice as a hand does, letting the drag
    // timer run; returns the knob's top just before the button is released.
    static int drag(frmVolume* w, Qt::MouseButton button, std::optional<int> trackY)
    {
        const QPoint grab(w->Image1->width() / 2, w->Image1->height() / 2);
        QTest::mousePress(w->Image1, button, {}, grab);
        QPoint to = grab;
        for (int i = 0; i < 2; ++i) {
            if (trackY)
                QTest::mouseMove(w->Image1, to = QPoint(grab.x(), *trackY - w->Image1->y()));
            QTest::qWait(60);
        }
        const int top = w->Image1->y();
        QTest::mouseRelease(w->Image1, button, {}, to);
        return top;
    }

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
    EXPECT_EQ(w->Text1->text(), "49152");
    QTest::qWait(50); // a moment in which nothing may be sent
    EXPECT_EQ(sinkVolume(), 49152);
    // 100 and 500 twips (15 to the pixel) from the player's right and top.
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    auto* player = qobject_cast<QMdiSubWindow*>(app.player()->parentWidget());
    EXPECT_EQ(sub->pos(), QPoint(player->x() + player->width() + 7, player->y() + 33));

    // One window and one mixer: the button again shows the same window;
    // closed, the mixer is released.
    EXPECT_EQ(ownSoundClients(), clients + 1);
    EXPECT_EQ(openAt(49152), w);
    EXPECT_EQ(app.frame->findChildren<frmVolume*>().size(), 1);
    EXPECT_EQ(ownSoundClients(), clients + 1);
    w->Command1->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(app.frame->findChildren<frmVolume*>().empty());
    EXPECT_EQ(ownSoundClients(), clients);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST_F(VolumeWindowTest, DraggingTheKnobSetsTheMasterVolumeAndAPressOrTheRightButtonMovesNothing)
{
    frmVolume* w = openAt(30000);
    ASSERT_NE(w, nullptr);
    const struct {
        Qt::MouseButton button;
        std::optional<int> trackY;
        int before; // the system's volume meanwhile
        int knob;
        const char* shown;
        int sent;
    } cases[] = {
        {Qt::LeftButton, -80, 30000, 0, "65536", 65536}, // above the track: the knob stops at the top
        {Qt::LeftButton, 100, 30000, 100, "32768", 32768},
        {Qt::LeftButton, {}, 10000, 100, "32768", 32768}, // the release sends the value
        {Qt::RightButton, 0, 10000, 100, "32768", 32768},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.knob);
        ASSERT_TRUE(setSinkVolume(c.before));
        EXPECT_EQ(drag(w, c.button, c.trackY), c.knob);
        EXPECT_EQ(w->Image1->y(), c.knob);
        EXPECT_EQ(w->Text1->text(), c.shown);
        EXPECT_EQ(sinkVolume(), c.sent);
    }
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
    EXPECT_EQ(w->Text1->text(), "16384");
    // The next move sends what the knob shows, before the button goes up.
    QTest::mouseMove(w->Image1, QPoint(grab.x(), 0));
    EXPECT_EQ(sinkVolume(), 16384);
    QTest::mouseRelease(w->Image1, Qt::LeftButton, {}, QPoint(grab.x(), 0));
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->Text1->text() == "49152"; }, 5000)) << w->Text1->text().toStdString();
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

TEST_F(VolumeWindowTest, WithoutAMixerOrItsSpeakersControlEveryPositionIsZeroAndNothingIsSent)
{
    const struct {
        const char* device;
        std::vector<std::string> controls;
        std::vector<std::string> said;
    } cases[] = {
        {"zondari_nessun_mixer", {}, {"Non posso aprire il mixer."}},
        {"default", {"Nessuno"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        ASSERT_TRUE(setSinkVolume(16384));
        app.dialogs.messages.clear();
        auto* w = new frmVolume(app.ctx,
            c.controls.empty() ? std::make_unique<AlsaMixer>(c.device)
                               : std::make_unique<AlsaMixer>(c.device, c.controls));
        QMdiSubWindow* sub = app.frame->addChild(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        app.ctx.handle([w] { w->Load(); });
        sub->show();
        EXPECT_EQ(app.dialogs.texts(), c.said);
        if (!c.said.empty()) {
            EXPECT_EQ(app.dialogs.messages[0].icon, MsgIcon::Information);
            EXPECT_EQ(app.dialogs.messages[0].title, "Volume");
        }
        EXPECT_EQ(w->Label2->text(), "MIN");
        EXPECT_EQ(w->Label3->text(), "MAX");
        EXPECT_EQ(w->Image1->y(), 50);
        EXPECT_EQ(w->Text1->text(), "0");
        // The knob still moves; nothing reaches the system.
        drag(w, Qt::LeftButton, 0);
        EXPECT_EQ(w->Image1->y(), 0);
        EXPECT_EQ(w->Text1->text(), "0");
        EXPECT_EQ(sinkVolume(), 16384);
        sub->close();
    }
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}
