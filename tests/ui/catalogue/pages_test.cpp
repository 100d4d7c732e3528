// The HTML pages that the catalogue window, its list's menu and the frame's
// menus write and open: a catalogue's contents, the general page and the
// pocket catalogue beside it, the search page with its dialog.

#include <QAction>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/form4.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

TEST(Pages, EveryCommandWritesItsPageAndOpensIt)
{
    TestApp app;
    app.start();
    frmMP3print* w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    app.dialogs.messages.clear();
    const std::string p = app.programFolder.path() + "/";
    const auto page = [&](const char* name) { return app.programFolder / name; };
    const auto lastRun = [&] { return app.shell.runs.empty() ? std::string() : app.shell.runs.back().words(); };
    const auto trigger = [&](const char* action) { app.frame->findChild<QAction*>(action)->trigger(); };
    // One made on Windows (Windows-1252 text, its paths), one of the user's
    // own.
    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Caff\xe8\r\n(D:\\AC DC)\r\nD:\\AC DC\\Back in Black.mp3\r\n");
    app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Secondo\r\n/b/due.mp3\r\n");
    Toolbar1Key(w, "vedi")->trigger();
    // The button: the first catalogue, selected by the refresh, in the
    // window and on its page, opened by the launcher.
    Command2(w)->click();
    EXPECT_EQ(listTexts(List1(w)), (QStringList{"(D:\\AC DC)", "D:\\AC DC\\Back in Black.mp3"}));
    EXPECT_EQ(Text1(w)->text(), "Caffè");
    EXPECT_NE(readFile(page("default.htm")).find(">Back in Black.mp3</a>"), std::string::npos);
    EXPECT_EQ(lastRun(), p + "start " + p + "default.htm");
    // A double click on the second.
    const QPoint second = List3(w)->visualItemRect(List3(w)->item(1)).center();
    QTest::mouseClick(List3(w)->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(List3(w)->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(Text1(w)->text(), "Secondo");
    EXPECT_NE(readFile(page("default.htm")).find(">due.mp3</a>"), std::string::npos);

    // The toolbar's HTML takes the window's list as it stands, and opens
    // the page from the program folder; an empty list writes no page.
    std::vector<std::string> more = app.state.catalogue.entries;
    more.push_back("/b/tre.mp3");
    app.ctx.setCatalogueEntries(more);
    fs::current_path("/");
    Toolbar1Key(w, "html")->trigger();
    EXPECT_EQ(lastRun(), "start default.htm");
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());
    EXPECT_NE(readFile(page("default.htm")).find(">tre.mp3</a>"), std::string::npos);
    const std::size_t runs = app.shell.runs.size();
    app.ctx.setCatalogueEntries({});
    Toolbar1Key(w, "html")->trigger();
    EXPECT_EQ(app.dialogs.texts().back(), "Nessun file trovato, non verrà creato nessun file HTML");
    EXPECT_EQ(app.shell.runs.size(), runs);

    // The general page of the user's catalogues, and the pocket catalogue
    // beside it; only the general page is opened.
    fs::current_path("/");
    Toolbar1Key(w, "rebuild")->trigger();
    EXPECT_NE(readFile(page("zondari-database-generale.htm")).find("\"Secondo\""), std::string::npos);
    EXPECT_NE(readFile(page("zondari-catalogo-tascabile.htm")).find("/b/\ndue.mp3\n"), std::string::npos);
    EXPECT_EQ(lastRun(), "start zondari-database-generale.htm");
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());
    // The pocket catalogue from the frame's menu and from the list's: written
    // and opened by the launcher.
    for (const char* item : {"menuTascabile", "menunTascabile"}) {
        fs::remove(page("zondari-catalogo-tascabile.htm"));
        trigger(item);
        EXPECT_EQ(app.shell.runs.back().program, p + "start") << item;
        EXPECT_EQ(app.shell.runs.back().args, std::vector<std::string>{page("zondari-catalogo-tascabile.htm")});
        EXPECT_TRUE(fs::exists(page("zondari-catalogo-tascabile.htm")));
    }
    // A search page, which leaves the pocket catalogue as it was. One
    // character is not enough: asked again; typed, with Enter.
    app.programFolder.write("ZOND_DEFAULT_D_4.txt", "Quarto\r\n/d/nuovo.mp3\r\n");
    app.dialogs.messages.clear();
    {
        ModalSteps<Form4> person({[](Form4& d) {
                                      d.Text1->setText("è");
                                      d.Command3d1->click();
                                  },
            [](Form4& d) {
                d.Text1->setFocus();
                QTest::keyClicks(d.Text1, "DUE");
                QTest::keyClick(d.Text1, Qt::Key_Return);
            }});
        Toolbar1Key(w, "cerca")->trigger();
    }
    EXPECT_EQ(app.dialogs.texts(),
        std::vector<std::string>{"Inserire una stringa per la ricerca composta almeno da 2 caratteri!"});
    EXPECT_EQ(lastRun(), "start zondari-pagina-di-ricerca.htm");
    EXPECT_NE(readFile(page("zondari-pagina-di-ricerca.htm")).find(">/b/due.mp3</a>"), std::string::npos);
    EXPECT_EQ(readFile(page("zondari-catalogo-tascabile.htm")).find("nuovo.mp3"), std::string::npos);
    // The frame's menu, even with the catalogue window closed: it comes
    // back, refreshed, and shows the first catalogue.
    delete w->parentWidget();
    trigger("MenuHTM");
    w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text1(w)->text(), "Caffè");
    EXPECT_EQ(lastRun(), p + "start " + p + "default.htm");
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}
