#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/qt/controls.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/catalogue/pages.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr const char* kPocket = "zondari-catalogo-tascabile.htm";

struct PocketApp : TestApp {
    PocketApp()
    {
        start();
        shell.runs.clear();
        dialogs.messages.clear();
    }
    std::string page() const { return programFolder / kPocket; }
    QAction* item(const char* name) const { return frame->findChild<QAction*>(name); }
};

// The texts of the items of a menu, as shown.
QStringList captions(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            out << a->text().remove('&');
    return out;
}

} // namespace

TEST(PocketCatalogue, FrameMenuAndListMenuWriteThePageAndOpenItWithTheLauncher)
{
    PocketApp app;
    // In the menu that holds the catalogue window, and in the list's menu.
    QMenu* file = app.frame->findChild<QMenu*>("MenuFile");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(captions(file).mid(0, 2), (QStringList{"Catalogo CD e cartelle MP3", "Catalogo tascabile"}));
    EXPECT_TRUE(captions(app.frame->menun()).contains("Catalogo tascabile"));
    for (QMenu* menu : {file, app.frame->menun()}) {
        app.frame->show();
        menu->popup(app.frame->mapToGlobal(QPoint(20, 40)));
        app.screenshot(menu->objectName().toStdString());
        menu->close();
    }

    // No catalogue yet: the general page's message, and no page.
    app.item("menuTascabile")->trigger();
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_EQ(app.dialogs.messages[0].text.rfind("Questa operazione legge tutti i dati dei CD di MP3", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(app.page()));
    EXPECT_TRUE(app.shell.runs.empty());

    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Uno\r\n(/a)\r\n/a/uno.mp3\r\n");
    app.programFolder.write("ZOND_Altro_B_2.txt", "D'altri\r\n/b/altrui.mp3\r\n");
    app.item("menuTascabile")->trigger();
    const std::string p = app.programFolder.path() + "/";
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].program, p + "start");
    EXPECT_EQ(app.shell.runs[0].args, std::vector<std::string>{app.page()});
    const std::string written = readFile(app.page());
    EXPECT_NE(written.find("/a/\nuno.mp3\n"), std::string::npos);
    EXPECT_EQ(written.find("altrui"), std::string::npos); // only the user's catalogues

    std::filesystem::remove(app.page());
    app.item("menunTascabile")->trigger();
    EXPECT_EQ(app.shell.runs.size(), 2u);
    EXPECT_EQ(app.shell.runs.back().args, std::vector<std::string>{app.page()});
    EXPECT_TRUE(std::filesystem::exists(app.page()));
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST(PocketCatalogue, RebuildWritesItBesideTheGeneralPage)
{
    PocketApp app;
    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Uno\r\n/a/uno.mp3\r\n");
    frmMP3print* w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    Toolbar1Key(w, "rebuild")->trigger();
    EXPECT_TRUE(std::filesystem::exists(app.programFolder / "zondari-database-generale.htm"));
    EXPECT_NE(readFile(app.page()).find("\nuno.mp3\n"), std::string::npos);
    // Only the general page is opened.
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].words(), "start zondari-database-generale.htm");

    // A search leaves the pocket catalogue as it was.
    app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Due\r\n/b/due.mp3\r\n");
    app.ctx.handle([&] { rebuildnew(app.ctx, "uno"); });
    EXPECT_EQ(readFile(app.page()).find("due.mp3"), std::string::npos);
}

TEST(PocketCatalogue, UnwritableFolderGivesTheRuntimeErrorAndKeepsTheOldPage)
{
    PocketApp app;
    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Uno\r\n/a/uno.mp3\r\n");
    app.programFolder.write(kPocket, "vecchia");
    ReadOnly lock(app.programFolder.path());
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";
    app.item("menuTascabile")->trigger();
    EXPECT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_TRUE(app.shell.runs.empty());
    EXPECT_EQ(readFile(app.page()), "vecchia");
}
