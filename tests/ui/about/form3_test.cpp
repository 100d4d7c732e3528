// The about window: shown modally from the frame's menu and the player's
// button, its links and the system information tool.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/about/version.h"
#include "support/projectversion.h"
#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/about/form3.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

TEST(AboutWindow, TheFramesAboutShowsTheVersionAndTheLogoBesideTheProgramAndItsLinksOpenTheSiteTheMailAndTheTextFile)
{
    TestApp app;
    app.start();
    std::filesystem::copy_file(
        std::string(ZONDARI_SOURCE_DIR) + "/assets/zondlogo.jpg", app.programFolder / "zondlogo.jpg");
    for (const bool logo : {true, false}) {
        ModalSteps<Form3> person({[&](Form3& about) {
            EXPECT_EQ(Label3(&about)->text().toStdString(), "Zondari - Versione " + projectVersion());
            EXPECT_EQ(Picture2(&about)->pixmap().isNull(), !logo);
            Command3d1(&about)->click();
        }});
        control<QAction>(app.frame.get(), "MenuInfo")->trigger();
        std::filesystem::remove(app.programFolder / "zondlogo.jpg");
    }
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());

    // Its links: the site, the mail and the text file.
    Form3 about(app.ctx);
    about.Load();
    QTest::mouseClick(Picture7(&about), Qt::LeftButton);
    QTest::mouseClick(Label8(&about), Qt::LeftButton);
    QTest::mouseClick(Picture7(&about), Qt::RightButton); // opens nothing
    EXPECT_EQ(app.shell.opened, (std::vector<std::string>{kHomePage, "mailto:info@zondari.it"}));
    EXPECT_EQ(Label8(&about)->text(), "info@zondari.it");
    QTest::mouseClick(Picture6(&about), Qt::LeftButton);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].words(), "start " + app.programFolder / "zondari.txt");
}
