// A file handed to the program from outside (its command line, the file
// manager) that is not a track of the grid: a playlist of another kind, a
// name that is gone, a type the player does not list. (A folder, and a
// track, are opened by the real program in tests/app/desktop_bus_qt_test.)

#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include "core/player/playstate.h"
#include "platform/mediaplayer.h"
#include "support/mp3fixtures.h"
#include "support/qt/sound.h"
#include "support/qt/testapp.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"

using namespace zondari;
using namespace zondari::test;

TEST(OpenPath, AnM3u8ListPlaysThoughTheGridDoesNotShowIt)
{
    REQUIRE_PLAYBACK();
    TempDir music;
    TestApp app;
    Form1* f = app.startIn(music.path());
    app.dialogs.messages.clear();
    makeMp3(music.path(), "tre.mp3", {.seconds = 20});
    f->openPath(music.write("scelta.m3u8", "\xEF\xBB\xBF#EXTM3U\ntre.mp3\n"));
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(app.state.BranoCorrente, "scelta.m3u8");
    EXPECT_TRUE(f->playMode());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->media().playState() == kPlaying; }, 10000));
}

TEST(OpenPath, WhatCannotBeOpenedIsToldAndLeavesThePlayerAsItWas)
{
    TempDir music;
    music.write("note.ogg", std::string(300, 'z'));
    TestApp app;
    app.start();
    app.dialogs.messages.clear();
    Form1* f = app.player();
    const std::string before = f->Dir1->path();
    f->openPath(music / "manca.mp3");
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{"File o cartella non trovati: " + music / "manca.mp3"});
    EXPECT_EQ(f->Dir1->path(), before);
    // A type the player does not list: its folder is shown, nothing plays.
    f->openPath(music / "note.ogg");
    EXPECT_EQ(app.dialogs.texts().back(), "Il file note.ogg non è tra i tipi di file musicali che il lettore elenca.");
    EXPECT_EQ(f->Dir1->path(), music.path());
    EXPECT_FALSE(f->playMode());
    EXPECT_EQ(app.state.BranoCorrente, "");
}
