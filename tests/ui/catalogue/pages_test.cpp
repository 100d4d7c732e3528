#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "support/qt/widgets.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/cataloguelistbox.h"
#include "ui/catalogue/form4.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/catalogue/pages.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr const char* kCatalogue = "ZOND_DEFAULT_ROCK80_439041101.txt";
const std::string kNoPage = "Nessun file trovato, non verrà creato nessun file HTML";

using DialogScript = ModalSteps<Form4>;

std::function<void(Form4&)> type(const QString& text, bool caseSensitive = false)
{
    return [=](Form4& d) {
        d.Text1->setText(text);
        d.Check2->setChecked(caseSensitive);
        d.Command3d1->click();
    };
}

struct PagesApp : TestApp {
    PagesApp()
    {
        start();
        shell.runs.clear();
        dialogs.messages.clear();
    }
    std::string page(const char* name) const { return programFolder / name; }
    std::string lastRun() const { return shell.runs.empty() ? std::string() : shell.runs.back().words(); }
};

} // namespace

TEST(ShowContents, MakesTheCatalogueCurrentAndOpensItsPageWithTheLongForm)
{
    PagesApp app;
    frmMP3print* w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    app.ctx.setCatalogue("Titolo", {"resta"});
    const QListWidget& List1 = *test::List1(w);
    const QLineEdit& Text1 = *test::Text1(w);
    app.ctx.handle([&] { showContents(app.ctx, ""); });
    app.ctx.handle([&] { showContents(app.ctx, "ZOND_DEFAULT_sparito.txt"); });
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{kNoPage});
    EXPECT_EQ(listTexts(&List1), QStringList{"resta"});
    EXPECT_FALSE(std::filesystem::exists(app.page("default.htm")));

    // Made on Windows: Windows-1252 text.
    app.programFolder.write(kCatalogue, "Caff\xe8\r\n(D:\\AC DC)\r\nD:\\AC DC\\Back in Black.mp3\r\n");
    app.ctx.handle([&] { showContents(app.ctx, kCatalogue); });
    EXPECT_EQ(listTexts(&List1), (QStringList{"(D:\\AC DC)", "D:\\AC DC\\Back in Black.mp3"}));
    EXPECT_EQ(Text1.text(), QString::fromUtf8("Caffè"));
    EXPECT_NE(readFile(app.page("default.htm"))
                  .find("<p>Raccolta musicale : \"Caffè\" <br>\r\n</p><p>(D:\\AC DC)<br>\r\n"
                        "<a href=\"file:///D:/AC%20DC/Back%20in%20Black.mp3\">Back in Black.mp3</a><br>\r\n"),
        std::string::npos);
    const std::string p = app.programFolder.path() + "/";
    EXPECT_EQ(app.shell.runs.back().program, p + "start");
    EXPECT_EQ(app.shell.runs.back().args, std::vector<std::string>{p + "default.htm"});
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST(Rebuild, GeneralPageOfTheUsersCataloguesOpensInTheBrowser)
{
    PagesApp app;
    app.ctx.handle([&] { rebuildnew(app.ctx, "*"); });
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_EQ(app.dialogs.messages[0].text.rfind("Questa operazione legge tutti i dati dei CD di MP3", 0), 0u);

    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Uno\r\n/a/uno.mp3\r\n");
    app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Due\r\n/b/due.mp3\r\n");
    app.programFolder.write("ZOND_Altro_C_3.txt", "Tre\r\n/c/tre.mp3\r\n");
    std::filesystem::current_path("/");
    app.ctx.handle([&] { rebuildnew(app.ctx, "*"); });
    const std::string page = readFile(app.page("zondari-database-generale.htm"));
    EXPECT_LT(page.find("\"Uno\""), page.find("\"Due\""));
    EXPECT_EQ(page.find("Tre"), std::string::npos);
    EXPECT_EQ(app.lastRun(), "start zondari-database-generale.htm");
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());

    // A link to a catalogue that is gone: both pages are made of the others
    // and a message names it.
    const std::string gone = app.programFolder / "ZOND_DEFAULT_C_3.txt";
    std::filesystem::create_symlink(app.programFolder / "altrove.txt", gone);
    std::filesystem::remove(app.page("zondari-database-generale.htm"));
    std::filesystem::remove(app.page("zondari-catalogo-tascabile.htm"));
    app.dialogs.messages.clear();
    app.shell.runs.clear();
    app.ctx.handle([&] { rebuildnew(app.ctx, "*"); });
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
    EXPECT_EQ(app.dialogs.texts(),
        std::vector<std::string>{
            "Questo catalogo non si può leggere ed è stato lasciato fuori:\n" + gone + " (File non trovato)"});
    EXPECT_NE(readFile(app.page("zondari-database-generale.htm")).find("\"Due\""), std::string::npos);
    EXPECT_NE(readFile(app.page("zondari-catalogo-tascabile.htm")).find("Due"), std::string::npos);
    EXPECT_EQ(app.lastRun(), "start zondari-database-generale.htm");
}

TEST(Rebuild, ReadOnlyProgramFolderGivesTheRuntimeErrorAndChangesNothing)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "T\r\n/a.mp3\r\n");
    app.programFolder.write("default.htm", "vecchia");
    frmMP3print* w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    app.ctx.setCatalogue("Titolo", {"resta"});
    const QListWidget& List1 = *test::List1(w);
    const QLineEdit& Text1 = *test::Text1(w);
    ReadOnly lock(app.programFolder.path());
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";
    app.ctx.handle([&] { rebuildnew(app.ctx, "*"); });
    app.ctx.handle([&] { showContents(app.ctx, kCatalogue); });
    app.ctx.handle([&] { exportEntryList(app.ctx); });
    EXPECT_EQ(app.dialogs.runtimeErrors.size(), 3u);
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_TRUE(app.shell.runs.empty());
    EXPECT_EQ(listTexts(&List1), QStringList{"resta"});
    EXPECT_EQ(Text1.text(), "Titolo");
    EXPECT_EQ(readFile(app.page("default.htm")), "vecchia");
}

TEST(Cerca, AsksAgainAfterOneCharacterThenOpensTheSearchPage)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "T\r\n(C:\\Vasco)\r\nC:\\ROCK\\è.mp3\r\nc:\\x\\Rock.mp3\r\nc:\\x\\pop.mp3\r\n");
    {
        DialogScript script({type(QString::fromUtf8("è")), type("rock")});
        app.ctx.handle([&] { cerca(app.ctx); });
    }
    EXPECT_EQ(app.dialogs.texts(),
        std::vector<std::string>{"Inserire una stringa per la ricerca composta almeno da 2 caratteri!"});
    EXPECT_NE(readFile(app.page("zondari-pagina-di-ricerca.htm"))
                  .find("Trovati  2 files contenenti la stringa : <b>rock</b>"),
        std::string::npos);
    EXPECT_EQ(app.lastRun(), "start zondari-pagina-di-ricerca.htm");
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());

    // Case-sensitive: no entry holds "rock"; told, and not opened.
    {
        DialogScript script({type("rock", true)});
        app.ctx.handle([&] { cerca(app.ctx); });
    }
    EXPECT_EQ(app.dialogs.messages.back().text, "Non trovato nessun file musicale contenente la stringa : rock");
    EXPECT_EQ(app.shell.runs.size(), 1u);
}

TEST(Cerca, CancelOrAnEmptyTextDoesNothing)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "T\r\n/m/brano.mp3\r\n");
    app.state.searchText = "brano";
    {
        DialogScript script({[](Form4& d) {
                                 d.Text1->setText("altro");
                                 d.Command3d2->click();
                             },
            type("")});
        for (int i = 0; i < 2; ++i)
            app.ctx.handle([&] { cerca(app.ctx); });
    }
    EXPECT_EQ(app.state.searchText, "");
    EXPECT_TRUE(app.shell.runs.empty());
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(app.page("zondari-pagina-di-ricerca.htm")));
}

TEST(SearchDialog, OpensOnThePreviousTextAndOkStoresTextAndOptions)
{
    TestApp app;
    app.state.searchText = "Battisti";
    app.state.searchCaseSensitive = 1;
    app.state.searchFolders = 0;
    QString selected;
    bool check1 = false, check2 = true;
    QWidget* focusAfterOption = nullptr;
    Form4 dialog(app.ctx);
    DialogScript script({[&](Form4& d) {
        selected = d.Text1->selectedText();
        check1 = d.Check1->isChecked();
        check2 = d.Check2->isChecked();
        d.Text1->setText("Lucio");
        QTest::mouseClick(d.Check1, Qt::LeftButton);
        QTest::mouseClick(d.Check2, Qt::LeftButton);
        focusAfterOption = d.focusWidget(); // the window's own focus: activation comes late offscreen
        d.Command3d1->click();
    }});
    const int result = dialog.exec();
    EXPECT_EQ(dialog.windowTitle(), "Zondari 2000 - Ricerca ");
    EXPECT_EQ(selected, "Battisti");
    EXPECT_TRUE(check1);
    EXPECT_FALSE(check2);
    EXPECT_EQ(focusAfterOption, dialog.Text1);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(app.state.searchText, "Lucio");
    EXPECT_EQ(app.state.searchFolders, 0);
    EXPECT_EQ(app.state.searchCaseSensitive, 1);
}

TEST(SearchDialog, EnterIsOkWhileEscapeAndAnnullaChangeNothing)
{
    TestApp app;
    DialogScript script({[](Form4& d) {
                             d.Text1->setFocus();
                             QTest::keyClicks(d.Text1, "~~strano"); // a text like any other
                             QTest::keyClick(d.Text1, Qt::Key_Return);
                         },
        [](Form4& d) {
            d.Text1->setText("dopo");
            QTest::mouseClick(d.Check1, Qt::LeftButton);
            QTest::keyClick(d.Text1, Qt::Key_Escape);
        },
        [](Form4& d) {
            d.Text1->setText("dopo");
            QTest::mouseClick(d.Check1, Qt::LeftButton);
            d.Command3d2->click();
        }});
    EXPECT_EQ(Form4(app.ctx).exec(), QDialog::Accepted);
    EXPECT_EQ(app.state.searchText, "~~strano");
    EXPECT_EQ(app.state.searchFolders, 1);
    EXPECT_EQ(app.state.searchCaseSensitive, 0);

    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Form4(app.ctx).exec(), QDialog::Rejected);
        EXPECT_EQ(app.state.searchText, "~~strano");
        EXPECT_EQ(app.state.searchFolders, 1);
    }
}

TEST(CatalogueWindowPages, EveryCommandWritesItsPageAndOpensIt)
{
    TestApp app;
    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Primo\r\n(/a)\r\n/a/uno.mp3\r\n");
    app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Secondo\r\n/b/due.mp3\r\n");
    app.start();
    frmMP3print* w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    const std::string p = app.programFolder.path() + "/";
    const std::string longForm = p + "start " + p + "default.htm";
    auto lastRun = [&] { return app.shell.runs.empty() ? std::string() : app.shell.runs.back().words(); };

    // The button: the first catalogue, selected by the refresh.
    Command2(w)->click();
    EXPECT_EQ(listTexts(List1(w)), (QStringList{"(/a)", "/a/uno.mp3"}));
    EXPECT_EQ(Text1(w)->text(), "Primo");
    EXPECT_EQ(lastRun(), longForm);

    // A double click on the second.
    const QPoint second = List3(w)->visualItemRect(List3(w)->item(1)).center();
    QTest::mouseClick(List3(w)->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(List3(w)->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(Text1(w)->text(), "Secondo");
    EXPECT_NE(readFile(p + "default.htm").find(">due.mp3</a>"), std::string::npos);

    // The toolbar's HTML takes the window's list as it stands, and opens
    // the page from the program folder.
    std::vector<std::string> more = app.state.catalogue.entries;
    more.push_back("/b/tre.mp3");
    app.ctx.setCatalogueEntries(more);
    std::filesystem::current_path("/");
    Toolbar1Key(w, "html")->trigger();
    EXPECT_EQ(lastRun(), "start default.htm");
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());
    EXPECT_NE(readFile(p + "default.htm").find(">tre.mp3</a>"), std::string::npos);
    // An empty list writes no page.
    const std::size_t runs = app.shell.runs.size();
    app.ctx.setCatalogueEntries({});
    Toolbar1Key(w, "html")->trigger();
    EXPECT_EQ(app.dialogs.texts().back(), kNoPage);
    EXPECT_EQ(app.shell.runs.size(), runs);
    Toolbar1Key(w, "rebuild")->trigger();
    EXPECT_EQ(lastRun(), "start zondari-database-generale.htm");
    {
        DialogScript script({type("UNO")});
        Toolbar1Key(w, "cerca")->trigger();
    }
    EXPECT_EQ(lastRun(), "start zondari-pagina-di-ricerca.htm");
    EXPECT_NE(readFile(p + "zondari-pagina-di-ricerca.htm").find(">/a/uno.mp3</a>"), std::string::npos);

    // The frame's menu, even with the catalogue window closed: it comes
    // back, refreshed, and shows the first catalogue.
    delete w->parentWidget();
    app.shell.runs.clear();
    app.frame->findChild<QAction*>("MenuHTM")->trigger();
    w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text1(w)->text(), "Primo");
    EXPECT_EQ(lastRun(), longForm);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}
