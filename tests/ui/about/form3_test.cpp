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
            EXPECT_EQ(about.Label3->text().toStdString(), "Zondari - Versione " + projectVersion());
            EXPECT_EQ(about.Picture2->pixmap().isNull(), !logo);
            about.Command3d1->click();
        }});
        app.frame->findChild<QAction*>("MenuInfo")->trigger();
        std::filesystem::remove(app.programFolder / "zondlogo.jpg");
    }
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());

    // Its links: the site, the mail and the text file.
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
