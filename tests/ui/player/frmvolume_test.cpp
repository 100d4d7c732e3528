// The master volume window, opened from the player's toolbar: its knob is
// dragged as a hand drags it, and the system's volume is read back from
// the sound server.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

#include "support/qt/controls.h"
#include "support/qt/mastervolume.h"
#include "support/qt/testapp.h"
#include "ui/player/form1.h"
#include "ui/player/frmvolume.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

// Presses the knob with `button` and, unless `trackY` is empty, moves
// the mouse to it in the track twice as a hand does, letting the drag
// timer run; returns the knob's top and the system's volume just before
// the button is released.
std::pair<int, int> drag(frmVolume* w, Qt::MouseButton button, std::optional<int> trackY)
{
    const QPoint grab(Image1(w)->width() / 2, Image1(w)->height() / 2);
    QTest::mousePress(Image1(w), button, {}, grab);
    QPoint to = grab;
    for (int i = 0; i < 2; ++i) {
        if (trackY)
            QTest::mouseMove(Image1(w), to = QPoint(grab.x(), *trackY - Image1(w)->y()));
        QTest::qWait(60);
    }
    const std::pair<int, int> before{Image1(w)->y(), sinkVolume()};
    QTest::mouseRelease(Image1(w), button, {}, to);
    return before;
}

} // namespace

TEST(VolumeWindow, OpensAtTheSystemsVolumeLeavesItAloneTakesTheKnobsDragsAndReleasesItsMixerWhenClosed)
{
    REQUIRE_MASTER_VOLUME();
    SinkVolumeKept kept;
    TestApp app;
    app.start();
    // The window as the player's "volume" button opens it, with the
    // system's volume at `volume`.
    const auto openAt = [&](int volume) {
        EXPECT_TRUE(setSinkVolume(volume));
        app.player()->button("volume")->trigger();
        QApplication::processEvents();
        return app.frame->findChild<frmVolume*>("frmVolume");
    };
    const int clients = ownSoundClients();
    frmVolume* w = openAt(49152);
    ASSERT_NE(w, nullptr);
    // 75% is a quarter of the way down the track.
    EXPECT_EQ(Image1(w)->y(), 50);
    EXPECT_EQ(Text1(w)->text(), "49152");
    QTest::qWait(50); // a moment in which nothing may be sent
    EXPECT_EQ(sinkVolume(), 49152);
    // One window and one mixer, however often the button is pressed.
    EXPECT_EQ(openAt(49152), w);
    EXPECT_EQ(ownSoundClients(), clients + 1);

    // The knob dragged with the left button; the right one moves nothing.
    const struct {
        Qt::MouseButton button;
        std::optional<int> trackY;
        int before; // the system's volume meanwhile
        int knob;
        int dragging; // the system's volume before the button goes up
        const char* shown;
        int sent;
    } cases[] = {
        {Qt::LeftButton, -80, 30000, 0, 65536, "65536", 65536}, // above the track: the knob stops at the top
        {Qt::LeftButton, 100, 30000, 100, 32768, "32768", 32768}, // each move sends what the knob shows
        {Qt::LeftButton, {}, 10000, 100, 10000, "32768", 32768}, // the release sends the value
        {Qt::RightButton, 0, 10000, 100, 32768, "32768", 32768},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.knob);
        ASSERT_TRUE(setSinkVolume(c.before));
        EXPECT_EQ(drag(w, c.button, c.trackY), std::pair(c.knob, c.dragging));
        EXPECT_EQ(Image1(w)->y(), c.knob);
        EXPECT_EQ(Text1(w)->text(), c.shown);
        EXPECT_EQ(sinkVolume(), c.sent);
    }
    Command1(w)->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ownSoundClients(), clients);
}
