// The program on a session bus of the test's own (ctest starts this test
// under dbus-run-session) with its media keys registered, driven as a
// desktop drives it: playerctl, as the media keys do, and dbus-send. What
// is heard is recorded at a sink of the test's own. A user's session: a
// track playing, every window open, the media keys pressed, then the windows
// closed one by one in several orders and the program quit; closing the
// window that plays silences it, closing any other leaves the sound as it
// was.

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "core/player/playstate.h"
#include "platform/mediaplayer.h"
#include "support/mp3fixtures.h"
#include "support/qt/bus.h"
#include "support/qt/controls.h"
#include "support/qt/listener.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/about/form3.h"
#include "ui/mixer/filelistbox.h"
#include "ui/mixer/mixer.h"
#include "ui/mixer/mp3mixer.h"
#include "ui/player/form1.h"
#include "ui/player/mpris.h"
#include "ui/printing/printing.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
using Clock = Listener::Clock;

namespace {

constexpr double kTrackHz[] = {440.0, 880.0, 1320.0};
constexpr double kDeckHz = 660.0;
const std::string kNotUtf8 = "b\xffnome.mp3";
const std::string kDeckFile = "piatto\xe8.mp3"; // Windows-1252
// How the player stands when its window is closed.
enum class PlayerState { Playing, Paused, Advancing };

struct Order {
    const char* name;
    std::vector<const char*> windows; // object names, closed in this order
    PlayerState player;
};

// Every window, three orders, the player in each of its states.
const Order kOrders[] = {
    {"PlayerFirst", {"Form1", "mp3MIXER", "frmDATIMP3", "frmMain", "frmVolume", "FrmPreview", "frmMP3print"},
        PlayerState::Playing},
    {"PlayerLast", {"frmDATIMP3", "frmMain", "frmMP3print", "FrmPreview", "frmVolume", "mp3MIXER", "Form1"},
        PlayerState::Paused},
    {"PlayerBetweenTracks", {"frmMP3print", "mp3MIXER", "FrmPreview", "Form1", "frmVolume", "frmMain", "frmDATIMP3"},
        PlayerState::Advancing},
};

// A media key, or playerctl's question ("volume 0.5", "status").
std::string key(const QString& command)
{
    return playerctl(command.split(' '));
}

std::string busProperty(const QString& name)
{
    return busCall("org.freedesktop.DBus.Properties.Get", {"string:org.mpris.MediaPlayer2.Player", "string:" + name});
}

// Four tones of their own pitch in a folder, listed in
// the player window, which serves the bus.
struct Session : ::testing::TestWithParam<Order> {
    void SetUp() override
    {
        REQUIRE_BUS();
        if (!ear.ok())
            GTEST_SKIP() << "the sound server does not load a null sink for this test";
        // Names as a disk may hold them: one is not UTF-8, one is the
        // mixer's.
        const std::string names[] = {"a.mp3", kNotUtf8, "c.mp3", kDeckFile};
        for (int i = 0; i < 4; ++i)
            ASSERT_FALSE(makeMp3(
                music.path(), names[i], {.seconds = 20, .frequency = i < 3 ? kTrackHz[i] : kDeckHz, .gainDb = -6})
                             .empty());
        // A catalogue, so that the start-up hint that none exists stays away.
        app.programFolder.write("ZOND_DEFAULT_PROVA_1.txt", "Prova\r\n" + music.path() + "/a.mp3\r\n");
        app.startIn(music.path());
        mpris = std::make_unique<Mpris>(app.ctx);
        ASSERT_TRUE(mpris->registerOnSessionBus());
        ASSERT_EQ(mpris->serviceName().toStdString(), "org.mpris.MediaPlayer2.zondari");
    }
    Form1* player() const { return app.player(); }
    QWidget* window(const char* name) const { return app.frame->findChild<QWidget*>(name); }
    mp3MIXER* mixer() { return findMixer(app.ctx); }

    // Opens every window there is, with a track playing and the media keys
    // pressed along the way; the mixer's left deck plays too.
    void openEverything()
    {
        player()->playRow(1);
        ASSERT_TRUE(ear.hears(kTrackHz[0]));
        // Before the first row the media keys go to the last, after the last
        // to the first.
        key("previous");
        EXPECT_TRUE(ear.hears(kDeckHz, {kTrackHz[0]})) << "the media key's previous row is not heard";
        key("next");
        ASSERT_TRUE(ear.hears(kTrackHz[0], {kDeckHz})) << "the media key's next row is not heard";
        for (const char* button : {"ID3", "dettagli", "volume"})
            player()->button(button)->trigger();
        showPreview(app.ctx);
        {
            // The about box is modal: it is looked at and closed.
            ModalSteps<Form3> about({[](Form3&) {}});
            player()->button("informazioni")->trigger();
        }
        EXPECT_EQ(key("next"), "");
        EXPECT_TRUE(ear.hears(kTrackHz[1], {kTrackHz[0]})) << "the media key's next row, not UTF-8, is not heard";
        // Its address keeps the name's bytes; its title shows U+FFFD.
        EXPECT_EQ(playerctl({"metadata", "--format", "{{xesam:url}} {{title}}"}),
            "file://" + music.path() + "/b%FFnome.mp3 b\uFFFDnome.mp3");

        // The mixer's button suspends the player; a deck plays the tone of
        // its own, and the media keys start the player again beside it.
        player()->button("mixer")->trigger();
        QApplication::processEvents();
        ASSERT_NE(mixer(), nullptr);
        FileListBox* list = File1(mixer());
        const auto found = list->findItems(QString::fromStdString(kDeckFile), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found[0]);
        QTest::keyClick(list, Qt::Key_Return);
        ASSERT_TRUE(ear.hears(kDeckHz)) << "the mixer's deck is not heard";
        key("play");
        ASSERT_TRUE(ear.hears(kTrackHz[1])) << "the media key's play is not heard";
        for (const char* name :
            {"Form1", "mp3MIXER", "frmDATIMP3", "frmMain", "frmVolume", "FrmPreview", "frmMP3print"})
            ASSERT_NE(window(name), nullptr) << name << " is not open";
    }

    // Puts the player in the state it is to be closed in.
    void bring(PlayerState state)
    {
        if (state == PlayerState::Paused) {
            key("pause");
            ASSERT_TRUE(QTest::qWaitFor([&] { return player()->media().playState() == kPaused; }, 5000));
        } else if (state == PlayerState::Advancing) {
            // To the last moment of the track: closed as the next row,
            // handed over before the end, takes its place.
            MediaPlayer& m = player()->media();
            const std::string playing = m.fileName();
            player()->seekTo(m.duration() - 0.3);
            ASSERT_TRUE(QTest::qWaitFor([&] { return m.fileName() != playing && player()->playMode(); }, 5000))
                << "the next track did not follow with the play mode on";
        }
    }

    // Which tones are heard now, by the window that plays them.
    std::map<double, bool> heard()
    {
        std::map<double, bool> h;
        for (double hz : {kTrackHz[0], kTrackHz[1], kTrackHz[2], kDeckHz})
            h[hz] = ear.steadyLevel(hz) > -30;
        return h;
    }

    Listener ear;
    TempDir music;
    TestApp app;
    std::unique_ptr<Mpris> mpris;
};

} // namespace

TEST_P(Session, ClosingTheWindowsInAnyOrderNeverFailsAndOnlyThePlayingOnesGoSilent)
{
    const Order& order = GetParam();
    openEverything();
    for (const char* name : order.windows) {
        SCOPED_TRACE(name);
        const bool isPlayer = std::string(name) == "Form1";
        if (isPlayer)
            bring(order.player);
        const std::map<double, bool> before = heard();
        const Clock::time_point t0 = Clock::now();
        QPointer<QWidget> w = window(name);
        ASSERT_TRUE(w);
        windowOf(w)->close();
        QApplication::processEvents();
        // A media key now and then, as a person presses one.
        key(isPlayer ? "play-pause" : "position");
        EXPECT_FALSE(window(name)) << "still open";

        for (const auto& [hz, wasHeard] : before) {
            const bool played = hz == kDeckHz ? std::string(name) == "mp3MIXER" : isPlayer;
            if (played && wasHeard)
                EXPECT_LE(ear.silencedAfter(hz, t0), 100) << hz << " Hz still heard after its window closed";
            else
                EXPECT_EQ(ear.steadyLevel(hz) > -30, wasHeard && !played) << hz << " Hz changed";
        }
        if (isPlayer) {
            // Nothing can be played any more, and the keys do nothing.
            EXPECT_EQ(busProperty("CanPlay"), "variant boolean false");
            EXPECT_EQ(busProperty("PlaybackStatus"), "variant Stopped");
            key("next");
            key("play");
        }
    }
    // Every window is gone but the frame; "Esci" ends the program.
    EXPECT_TRUE(app.frame->mdiArea()->subWindowList().isEmpty());
    control<QAction>(app.frame.get(), "MenuEsci")->trigger();
    EXPECT_EQ(app.ended, 1);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty()) << app.dialogs.runtimeErrors.front().description;
}

INSTANTIATE_TEST_SUITE_P(
    Orders, Session, ::testing::ValuesIn(kOrders), [](const auto& order) { return std::string(order.param.name); });
