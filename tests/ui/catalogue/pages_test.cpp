// The HTML pages that the catalogue window, its list's menu and the frame's
// menus write and open: a catalogue's contents, the general page and the
// pocket catalogue beside it, the search page with its dialog.

#include <QAction>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/catalogue/duplicates.h"
#include "platform/files.h"
#include "support/filtercases.h"
#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/form4.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

const std::string kNoPage = "Nessun file trovato, non verrà creato nessun file HTML";

// The person at the search dialog: types `text` and presses OK.
ModalSteps<Form4>::Step type(const QString& text)
{
    return [=](Form4& d) {
        Text1(&d)->setText(text);
        Command3d1(&d)->click();
    };
}

struct Pages : ::testing::Test {
    void SetUp() override
    {
        app.start();
        w = findCatalogueWindow(app.ctx);
        ASSERT_NE(w, nullptr);
        app.dialogs.messages.clear();
    }
    std::string page(const char* name) const { return app.programFolder / name; }
    std::string lastRun() const { return app.shell.runs.empty() ? std::string() : app.shell.runs.back().words(); }
    void trigger(const char* action) const { control<QAction>(app.frame.get(), action)->trigger(); }
    // The toolbar's search, each step at one showing of its dialog.
    void search(std::deque<ModalSteps<Form4>::Step> steps)
    {
        ModalSteps<Form4> person(std::move(steps));
        Toolbar1Key(w, "cerca")->trigger();
    }

    TestApp app;
    frmMP3print* w = nullptr;
    const std::string p = app.programFolder.path() + "/";
};

} // namespace

TEST_F(Pages, EveryCommandWritesItsPageAndOpensIt)
{
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
    EXPECT_EQ(app.dialogs.texts().back(), kNoPage);
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
    search({type("è"), [](Form4& d) {
                Text1(&d)->setFocus();
                QTest::keyClicks(Text1(&d), "DUE");
                QTest::keyClick(Text1(&d), Qt::Key_Return);
            }});
    EXPECT_EQ(app.dialogs.texts(),
        std::vector<std::string>{"Inserire una stringa per la ricerca composta almeno da 2 caratteri!"});
    EXPECT_EQ(lastRun(), "start zondari-pagina-di-ricerca.htm");
    EXPECT_NE(readFile(page("zondari-pagina-di-ricerca.htm")).find(">/b/due.mp3</a>"), std::string::npos);
    EXPECT_EQ(readFile(page("zondari-catalogo-tascabile.htm")).find("nuovo.mp3"), std::string::npos);
    // Opened again on the last text, selected; with the case counting now
    // nothing is found: told, and no page opened.
    const std::size_t opened = app.shell.runs.size();
    QString selected;
    search({[&](Form4& d) {
        selected = Text1(&d)->selectedText();
        QTest::mouseClick(Check2(&d), Qt::LeftButton);
        Command3d1(&d)->click();
    }});
    EXPECT_EQ(selected, "DUE");
    EXPECT_EQ(app.dialogs.texts().back(), "Non trovato nessun file musicale contenente la stringa : DUE");
    EXPECT_EQ(app.shell.runs.size(), opened);

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

// The search dialog finds what zondari-cli search finds, case for case.
TEST_F(Pages, FiltersInTheSearchDialogFindWhatTheCommandLineFinds)
{
    const FilterCatalogues catalogues(app.programFolder.path());
    ASSERT_FALSE(catalogues.scanned.empty());
    for (const FilterCase& c : kFilterCases) {
        fs::remove(page("zondari-pagina-di-ricerca.htm"));
        app.dialogs.messages.clear();
        const std::size_t runs = app.shell.runs.size();
        std::deque<ModalSteps<Form4>::Step> steps = {[&](Form4& d) {
            Check2(&d)->setChecked(c.caseSensitive);
            Text1(&d)->setText(QString::fromUtf8(c.text));
            Command3d1(&d)->click();
        }};
        if (c.hits == std::string(kRefused)) // asked again: given up
            steps.push_back([](Form4& d) { Command3d2(&d)->click(); });
        search(std::move(steps));
        const std::vector<std::string> told = app.dialogs.texts();
        const std::string got = app.shell.runs.size() > runs ? hitsOf(readFile(page("zondari-pagina-di-ricerca.htm")))
            : told.size() == 1 && told[0].starts_with("Inserire")    ? kRefused
            : told.size() == 1 && told[0].starts_with("Non trovato") ? ""
                                                                     : "?";
        EXPECT_EQ(got, c.hits) << c.text;
    }
}

// "Trova doppioni": nothing to show is told; two copies of one MP3 are a
// group on the page it opens.
TEST_F(Pages, TrovaDoppioniWritesTheGroupsPageAndOpensIt)
{
    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Senza dati\r\n/a/uno.mp3\r\n/b/uno.mp3\r\n");
    Toolbar1Key(w, "doppioni")->trigger();
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{catalogue::kNoDuplicatesMessage});
    EXPECT_TRUE(app.shell.runs.empty());

    ASSERT_TRUE(haveMp3Tools());
    TempDir music;
    makeMp3(music.path(), "uno.mp3");
    fs::copy_file(music / "uno.mp3", music / "copia di uno.mp3");
    ASSERT_EQ(
        runCli("scan --titolo Doppi --impronte " + shellQuoted(music.path()), app.programFolder.path()).status, 0);
    Toolbar1Key(w, "doppioni")->trigger();
    EXPECT_EQ(lastRun(), "start zondari-doppioni.htm");
    const std::string shown = readFile(page("zondari-doppioni.htm"));
    const std::string group = "<p><b>2 file, stessa impronta audio ";
    EXPECT_NE(shown.find(group), std::string::npos) << shown;
    EXPECT_NE(shown.find("\"Doppi\" <a href=\"file://" + music.path() + "/copia%20di%20uno.mp3\">" + music.path()
                  + "/copia di uno.mp3</a><br>\r\n\"Doppi\" <a href="),
        std::string::npos)
        << shown;
}
