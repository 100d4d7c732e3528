// The about window: shown modally from the frame's menu and the player's
// button, its links and the system information tool.

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

TEST_F(AboutTest, TheFramesAboutShowsTheVersionAndTheLogoBesideTheProgram)
{
    app.start();
    std::filesystem::copy_file(
        std::string(ZONDARI_SOURCE_DIR) + "/assets/zondlogo.jpg", app.programFolder / "zondlogo.jpg");
    for (const bool logo : {true, false}) {
        ModalSteps<Form3> person({[&](Form3& about) {
            EXPECT_EQ(about.Label3->text().toStdString(), "Zondari - Versione " + projectVersion());
            EXPECT_EQ(about.Picture2->pixmap().isNull(), !logo);
            about.Command3d1->click();
        }});
        app.frame->findChild<QAction*>("MenuInfo")->trigger();
        std::filesystem::remove(app.programFolder / "zondlogo.jpg");
    }
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST_F(AboutTest, TheLinksOpenTheSiteTheMailAndTheTextFile)
{
    Form3 about(app.ctx);
    about.Load();
    QTest::mouseClick(about.Picture7, Qt::LeftButton);
    QTest::mouseClick(about.Label8, Qt::LeftButton);
    QTest::mouseClick(about.Picture7, Qt::RightButton); // opens nothing
    EXPECT_EQ(app.shell.opened, (std::vector<std::string>{kHomePage, "mailto:info@zondari.it"}));
    EXPECT_EQ(about.Label8->text(), "info@zondari.it");
    QTest::mouseClick(about.Picture6, Qt::LeftButton);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].words(), "start " + app.programFolder / "zondari.txt");
}

// Whether the shell can start a tool is tests/platform/shell_test's.
TEST_F(AboutTest, SystemInfoStartsTheToolFoundOnPathOrSaysThereIsNone)
{
    TempDir tools, nothing;
    const std::string tool = writeProgram(tools, "hardinfo2", "#!/bin/sh\n");
    Form3 about(app.ctx);
    for (const bool fails : {false, true}) {
        // One that cannot be started is as good as none.
        app.shell.failWith = fails ? std::optional(RuntimeError{53, "File non trovato"}) : std::nullopt;
        PathSet path(tools.path());
        about.Command1->click();
    }
    for (const auto& run : app.shell.runs)
        EXPECT_EQ(std::pair(run.program, run.args.size()), std::pair(tool, std::size_t{0}));
    {
        PathSet path(nothing.path());
        about.Command1->click();
    }
    EXPECT_EQ(app.shell.runs.size(), 2u);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
    EXPECT_EQ(app.dialogs.texts(), (std::vector<std::string>{kNoTool, kNoTool}));
}
