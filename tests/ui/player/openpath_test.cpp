// A file or folder handed to the program from outside (its command line,
// the file manager): the player window lists and plays it.

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
#include "ui/player/trackgrid.h"

using namespace zondari;
using namespace zondari::test;

namespace {

struct Opened : ::testing::Test {
    void SetUp() override
    {
        music.write("uno.mp3", std::string(300, 'x'));
        music.write("due.mp3", std::string(300, 'y'));
        music.write("note.ogg", std::string(300, 'z'));
        app.start();
        app.dialogs.messages.clear();
        f = app.player();
    }
    TempDir music;
    TestApp app;
    Form1* f = nullptr;
};

} // namespace

TEST_F(Opened, AFolderBecomesThePlayersFolderAndIsRemembered)
{
    f->openPath(music.path());
    EXPECT_EQ(f->Dir1->path(), music.path());
    EXPECT_EQ(f->ExtGrid1->rows(), 3); // the header and the two MP3s
    EXPECT_EQ(app.state.UltimoPath, music.path());
    EXPECT_NE(
        readFile(app.programFolder / "zondari.ini").find("UltimoPath=" + music.path() + "\r\n"), std::string::npos);
    EXPECT_TRUE(app.dialogs.messages.empty());
    // Nothing plays: a folder is only listed.
    EXPECT_FALSE(f->playMode());
}

TEST_F(Opened, AFileListsItsFolderAndPlaysAsAClickOnItsRow)
{
    REQUIRE_PLAYBACK();
    const std::string file = makeMp3(music.path(), "tre.mp3", {.seconds = 20});
    f->openPath(file);
    EXPECT_EQ(f->Dir1->path(), music.path());
    EXPECT_EQ(f->ExtGrid1->textMatrix(f->ExtGrid1->row(), 1).toStdString(), " tre.mp3");
    EXPECT_EQ(app.state.BranoCorrente, "tre.mp3");
    EXPECT_TRUE(f->playMode());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->media().playState() == kPlaying; }, 10000));
    EXPECT_TRUE(app.dialogs.messages.empty());
}

TEST_F(Opened, AnM3u8ListPlaysThoughTheGridDoesNotShowIt)
{
    REQUIRE_PLAYBACK();
    makeMp3(music.path(), "tre.mp3", {.seconds = 20});
    f->openPath(music.write("scelta.m3u8", "\xEF\xBB\xBF#EXTM3U\ntre.mp3\n"));
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(app.state.BranoCorrente, "scelta.m3u8");
    EXPECT_TRUE(f->playMode());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->media().playState() == kPlaying; }, 10000));
}

TEST_F(Opened, WhatCannotBeOpenedIsToldAndLeavesThePlayerAsItWas)
{
    const std::string before = f->Dir1->path();
    f->openPath(music / "manca.mp3");
    ASSERT_EQ(app.dialogs.texts().size(), 1u);
    EXPECT_EQ(app.dialogs.texts()[0], "File o cartella non trovati: " + music / "manca.mp3");
    EXPECT_EQ(f->Dir1->path(), before);

    // A type the player does not list: its folder is shown, nothing plays.
    f->openPath(music / "note.ogg");
    ASSERT_EQ(app.dialogs.texts().size(), 2u);
    EXPECT_EQ(app.dialogs.texts()[1], "Il file note.ogg non è tra i tipi di file musicali che il lettore elenca.");
    EXPECT_EQ(f->Dir1->path(), music.path());
    EXPECT_FALSE(f->playMode());
    EXPECT_EQ(app.state.BranoCorrente, "");
}
