// The about window: shown modally from the frame's menu and the player's
// button, its animation, its links and the system information tool.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

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

struct AboutTest : ::testing::Test {
    TestApp app;
};

} // namespace

TEST_F(AboutTest, TheFramesAboutAndThePlayersButtonShowItModally)
{
    app.start();
    std::filesystem::copy_file(
        std::string(ZONDARI_SOURCE_DIR) + "/assets/zondlogo.jpg", app.programFolder / "zondlogo.jpg");
    bool closed = false;
    {
        ModalSteps<Form3> person({[&](Form3& about) {
            EXPECT_EQ(about.windowTitle(), "Zondari - Informazioni");
            EXPECT_EQ(about.Label3->text().toStdString(), "Zondari - Versione " + projectVersion());
            EXPECT_FALSE(about.Picture2->pixmap().isNull());
            EXPECT_EQ(about.focusWidget(), about.Command3d1);
            // Centred on the 1024 x 768 screen.
            EXPECT_EQ(about.pos(), QPoint((1024 - about.width()) / 2, (768 - about.height()) / 2));
            about.Command3d1->click();
            closed = !about.isVisible();
        }});
        app.frame->findChild<QAction*>("MenuInfo")->trigger();
    }
    EXPECT_TRUE(closed);
    // Without the logo the picture stays empty.
    std::filesystem::remove(app.programFolder / "zondlogo.jpg");
    {
        ModalSteps<Form3> person({[](Form3& about) { EXPECT_TRUE(about.Picture2->pixmap().isNull()); }});
        app.player()->button("informazioni")->trigger();
    }
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST_F(AboutTest, ThePictureMovesByItselfAndTheLinksOpenTheSiteTheMailAndTheTextFile)
{
    Form3 about(app.ctx);
    about.Load();
    about.Activate();
    // Through three frames and round.
    std::vector<QImage> frames{about.Picture6->pixmap().toImage()};
    ASSERT_FALSE(frames[0].isNull());
    const auto moved = [&] { return about.Picture6->pixmap().toImage() != frames.back(); };
    while (frames.size() < 4 && QTest::qWaitFor(moved, 5000))
        frames.push_back(about.Picture6->pixmap().toImage());
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_NE(frames[2], frames[0]);
    EXPECT_EQ(frames[3], frames[0]);

    QTest::mouseClick(about.Picture7, Qt::LeftButton);
    QTest::mouseClick(about.Label8, Qt::LeftButton);
    QTest::mouseClick(about.Picture7, Qt::RightButton); // opens nothing
    EXPECT_EQ(app.shell.opened, (std::vector<std::string>{kHomePage, "mailto:info@zondari.it"}));
    EXPECT_EQ(about.Label8->text(), "info@zondari.it");
    QTest::mouseClick(about.Picture6, Qt::LeftButton);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].words(), "start " + app.programFolder / "zondari.txt");
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

    // The real shell starts it; none on PATH, or one found that cannot be
    // started: the message, not a runtime error.
    PosixShell shell;
    AppContext ctx(app.state, Services{app.dialogs, shell, app.screen, app.drives, app.folders, [] {}});
    Form3 about(ctx);
    for (const TempDir* dir : {&tools, &nothing, &broken}) {
        PathSet path(dir->path() + (dir == &tools ? ":/usr/bin:/bin" : ""));
        about.Command1->click();
    }
    // The shell creates the file before the echo fills it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return readFile(marker) == "si\n"; }, 5000)) << readFile(marker);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
    EXPECT_EQ(app.dialogs.texts(), (std::vector<std::string>{kNoTool, kNoTool}));
    EXPECT_EQ(app.dialogs.messages[0].buttons, MsgButtons::Ok);
}
