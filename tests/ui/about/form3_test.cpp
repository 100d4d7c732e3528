#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

#include "core/about/version.h"
#include "support/pathset.h"
#include "support/projectversion.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/about/form3.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr const char* kNoTool = "Informazioni di sistema non disponibili in questo momento";

QImage imageOf(const QLabel* label)
{
    return label->pixmap().toImage();
}

struct AboutTest : ::testing::Test {
    TestApp app;
};

} // namespace

TEST_F(AboutTest, TheFramesAboutAndThePlayersButtonShowItModally)
{
    app.start();
    std::filesystem::copy_file(
        std::string(ZONDARI_SOURCE_DIR) + "/assets/zondlogo.jpg", app.programFolder / "zondlogo.jpg");
    QAction* menu = app.frame->findChild<QAction*>("MenuInfo");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isEnabled());
    bool closed = false;
    {
        ModalSteps<Form3> person({[&](Form3& about) {
            EXPECT_EQ(about.windowTitle(), "Zondari - Informazioni");
            EXPECT_EQ(about.Label3->text().toStdString(), "Zondari - Versione " + projectVersion());
            EXPECT_EQ(about.Label5->text(), "per sistemi a 32 bit");
            EXPECT_EQ(about.Label10->text(), "System info");
            EXPECT_EQ(about.Command1->toolTip(), "Informazioni generali sul sistema");
            EXPECT_EQ(about.Command3d1->toolTip(), "OK, fatto!");
            EXPECT_EQ(about.Picture7->toolTip(), "Visita la pagina dell'autore");
            EXPECT_FALSE(about.Picture2->pixmap().isNull());
            EXPECT_EQ(about.focusWidget(), about.Command3d1);
            // Centred on the 1024 x 768 screen.
            EXPECT_EQ(about.x(), (1024 - about.width()) / 2);
            EXPECT_EQ(about.y(), (768 - about.height()) / 2);
            about.Command3d1->click();
            closed = !about.isVisible();
        }});
        menu->trigger();
    }
    EXPECT_TRUE(closed);

    // Without the logo the picture stays empty; the player's button opens
    // the same window.
    std::filesystem::remove(app.programFolder / "zondlogo.jpg");
    QAction* button = app.player()->button("informazioni");
    EXPECT_TRUE(button->isEnabled());
    {
        ModalSteps<Form3> person({[](Form3& about) { EXPECT_TRUE(about.Picture2->pixmap().isNull()); }});
        button->trigger();
    }
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST_F(AboutTest, TheAnimationLoopsThroughItsThreeFrames)
{
    Form3 about(app.ctx);
    about.Activate();
    const QImage frames[3] = {imageOf(about.Image3[0]), imageOf(about.Image3[1]), imageOf(about.Image3[2])};
    ASSERT_FALSE(frames[0].isNull());
    EXPECT_NE(frames[0], frames[1]);
    EXPECT_NE(frames[1], frames[2]);
    EXPECT_NE(frames[0], frames[2]);
    EXPECT_EQ(imageOf(about.Picture6), frames[0]);
    for (int expected : {1, 2, 0, 1, 2}) {
        about.Timer1_Timer();
        EXPECT_EQ(about.frame(), expected);
        EXPECT_EQ(imageOf(about.Picture6), frames[expected]);
    }

    // The timer runs by itself.
    const int before = about.frame();
    // Awaited, not timed: a loaded machine may fire it late.
    QSignalSpy fired(about.Timer1, &QTimer::timeout);
    EXPECT_TRUE(fired.wait(5000));
    EXPECT_NE(about.frame(), before);
}

TEST_F(AboutTest, TheLinksOpenTheSiteTheMailAndTheTextFile)
{
    Form3 about(app.ctx);
    about.Load();
    QTest::mouseClick(about.Picture7, Qt::LeftButton);
    QTest::mouseClick(about.Label8, Qt::LeftButton);
    EXPECT_EQ(app.shell.opened, (std::vector<std::string>{kHomePage, "mailto:info@zondari.it"}));
    EXPECT_EQ(about.Label8->text(), "info@zondari.it");

    QTest::mouseClick(about.Picture6, Qt::LeftButton);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].program, "start");
    EXPECT_EQ(app.shell.runs[0].args, std::vector<std::string>{app.programFolder.path() + "/zondari.txt"});
    // The right button opens nothing.
    QTest::mouseClick(about.Picture7, Qt::RightButton);
    EXPECT_EQ(app.shell.opened.size(), 2u);
}

TEST_F(AboutTest, SystemInfoStartsTheToolFoundOnPathOrSaysThereIsNone)
{
    TempDir tools, nothing, broken;
    const std::string marker = tools / "avviato";
    const std::string tool = writeProgram(tools, "hardinfo2", "#!/bin/sh\necho si > '" + marker + "'\n");
    writeProgram(broken, "hardinfo2", "#!/nessuna/shell\n");
    // What the shell is asked: the tool's path, in a window of its own.
    Form3 recorded(app.ctx);
    {
        PathSet path(tools.path());
        recorded.Command1->click();
    }
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].program, tool);
    EXPECT_TRUE(app.shell.runs[0].args.empty());

    // The real shell starts it.
    PosixShell shell;
    AppContext ctx(app.state, Services{app.dialogs, shell, app.screen, app.drives, app.folders, [] {}});
    Form3 about(ctx);
    {
        PathSet path(tools.path() + ":/usr/bin:/bin");
        about.Command1->click();
    }
    // The shell creates the file before the echo fills it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return readFile(marker) == "si\n"; }, 5000)) << readFile(marker);
    EXPECT_TRUE(app.dialogs.messages.empty());

    // None on PATH, or one found that cannot be started: the message, not a
    // runtime error.
    for (const TempDir* dir : {&nothing, &broken}) {
        PathSet path(dir->path());
        about.Command1->click();
    }
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
    EXPECT_EQ(app.dialogs.texts(), (std::vector<std::string>{kNoTool, kNoTool}));
    EXPECT_EQ(app.dialogs.messages[0].buttons, MsgButtons::Ok);
}
