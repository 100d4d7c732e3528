#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/form4.h"
#include "ui/catalogue/pages.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr const char* kCatalogue = "ZOND_DEFAULT_ROCK80_439041101.txt";

QStringList items(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

bool exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

// Acts on each search dialog the program opens, in turn: each step sees
// the dialog as it opened and answers it.
class DialogScript : public QObject {
public:
    explicit DialogScript(std::deque<std::function<void(Form4&)>> steps) : steps_(std::move(steps))
    {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* d = qobject_cast<Form4*>(QApplication::activeModalWidget());
            // Dialogs come and go at the same address: mark the one answered.
            if (!d || d->property("answered").toBool() || steps_.empty())
                return;
            d->setProperty("answered", true);
            auto step = std::move(steps_.front());
            steps_.pop_front();
            step(*d);
        });
        timer_.start();
    }
    std::size_t left() const { return steps_.size(); }

private:
    std::deque<std::function<void(Form4&)>> steps_;
    QTimer timer_;
};

std::function<void(Form4&)> type(const QString& text)
{
    return [text](Form4& d) {
        d.Text1->setText(text);
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
};

}  // namespace

TEST(ShowContents, MakesTheCatalogueCurrentAndOpensItsPageWithTheLongForm)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "Rock anni 80\r\n(/cd/AC DC)\r\n/cd/AC DC/Back in Black.mp3\r\n/cd/x.mp3\r\n");
    QListWidget List1;
    List1.addItem("vecchio");
    QLineEdit Text1("Anonimo");
    app.ctx.handle([&] { showContents(app.ctx, kCatalogue, &List1, &Text1); });

    EXPECT_EQ(items(List1), (QStringList{"(/cd/AC DC)", "/cd/AC DC/Back in Black.mp3", "/cd/x.mp3"}));
    EXPECT_EQ(Text1.text(), "Rock anni 80");
    const std::string page = readFile(app.page("default.htm"));
    EXPECT_NE(page.find("<p>Raccolta musicale : \"Rock anni 80\" <br>\r\n</p><p>(/cd/AC DC)<br>\r\n"
                        "<a href=\"file:///cd/AC%20DC/Back%20in%20Black.mp3\">Back in Black.mp3</a><br>\r\n"),
              std::string::npos);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    const std::string p = app.programFolder.path() + "/";
    EXPECT_EQ(app.shell.runs[0].commandLine, p + "start \"" + p + "default.htm\"");
    EXPECT_EQ(app.shell.runs[0].windowStyle, 2);
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST(ShowContents, NothingSelectedOrAMissingFileChangesNothing)
{
    PagesApp app;
    QListWidget List1;
    List1.addItem("resta");
    QLineEdit Text1("Titolo");
    app.ctx.handle([&] { showContents(app.ctx, "", &List1, &Text1); });
    EXPECT_TRUE(app.dialogs.messages.empty());
    app.ctx.handle([&] { showContents(app.ctx, "ZOND_DEFAULT_sparito.txt", &List1, &Text1); });
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{"Nessun file trovato, non verrà creato nessun file HTML"});
    EXPECT_EQ(items(List1), QStringList{"resta"});
    EXPECT_EQ(Text1.text(), "Titolo");
    EXPECT_FALSE(exists(app.page("default.htm")));
    EXPECT_TRUE(app.shell.runs.empty());
}

TEST(ShowContents, WindowsCatalogueReadsInItsOwnCodePage)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "Caff\xe8\r\nD:\\Caff\xe8\\Perch\xe8.mp3\r\n");
    QListWidget List1;
    QLineEdit Text1;
    app.ctx.handle([&] { showContents(app.ctx, kCatalogue, &List1, &Text1); });
    EXPECT_EQ(Text1.text(), QString::fromUtf8("Caffè"));
    EXPECT_EQ(items(List1), QStringList{QString::fromUtf8("D:\\Caffè\\Perchè.mp3")});
    EXPECT_NE(readFile(app.page("default.htm")).find("<a href=\"file:///D:/Caff%C3%A8/Perch%C3%A8.mp3\">Perchè.mp3</a>"),
              std::string::npos);
}

TEST(EntryListExport, WritesTheWindowsListAndOpensItFromTheProgramFolder)
{
    PagesApp app;
    QListWidget List1;
    QLineEdit Text1("Mio & tuo");
    std::filesystem::current_path("/");
    app.ctx.handle([&] { exportEntryList(app.ctx, &List1, &Text1); });
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{"Nessun file trovato, non verrà creato nessun file HTML"});
    EXPECT_FALSE(exists(app.page("default.htm")));

    List1.addItems({"(/m/Dischi)", "/m/Dischi/uno.mp3"});
    app.ctx.handle([&] { exportEntryList(app.ctx, &List1, &Text1); });
    const std::string page = readFile(app.page("default.htm"));
    EXPECT_NE(page.find("<p>Raccolta musicale : \"Mio &amp; tuo\" <br>"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"file:///m/Dischi/uno.mp3\">uno.mp3</a>"), std::string::npos);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].commandLine, "start default.htm");
    EXPECT_EQ(app.shell.runs[0].windowStyle, 2);
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());
}

TEST(Rebuild, GeneralPageOfEveryCatalogueOpensInTheBrowser)
{
    PagesApp app;
    app.ctx.handle([&] { rebuildnew(app.ctx, "*"); });
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_EQ(app.dialogs.messages[0].text.rfind("Questa operazione legge tutti i dati dei CD di MP3", 0), 0u);
    EXPECT_FALSE(exists(app.page("zondari-database-generale.htm")));
    EXPECT_TRUE(app.shell.runs.empty());

    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Uno\r\n/a/uno.mp3\r\n");
    app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Due\r\n/b/due.mp3\r\n");
    app.programFolder.write("ZOND_Altro_C_3.txt", "Tre\r\n/c/tre.mp3\r\n");
    std::filesystem::current_path("/");
    app.ctx.handle([&] { rebuildnew(app.ctx, "*"); });
    const std::string page = readFile(app.page("zondari-database-generale.htm"));
    EXPECT_LT(page.find("\"Uno\""), page.find("\"Due\""));
    EXPECT_EQ(page.find("Tre"), std::string::npos);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].commandLine, "start zondari-database-generale.htm");
    EXPECT_EQ(app.shell.runs[0].windowStyle, 2);
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());
}

TEST(Rebuild, ReadOnlyProgramFolderGivesTheRuntimeErrorAndChangesNothing)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "T\r\n/a.mp3\r\n");
    app.programFolder.write("default.htm", "vecchia");
    QListWidget List1;
    List1.addItem("resta");
    QLineEdit Text1("Titolo");
    ReadOnly lock(app.programFolder.path());
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";
    app.ctx.handle([&] { rebuildnew(app.ctx, "*"); });
    app.ctx.handle([&] { showContents(app.ctx, kCatalogue, &List1, &Text1); });
    app.ctx.handle([&] { exportEntryList(app.ctx, &List1, &Text1); });
    EXPECT_EQ(app.dialogs.runtimeErrors.size(), 3u);
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_TRUE(app.shell.runs.empty());
    EXPECT_EQ(items(List1), QStringList{"resta"});
    EXPECT_EQ(Text1.text(), "Titolo");
    EXPECT_EQ(readFile(app.page("default.htm")), "vecchia");
    EXPECT_FALSE(exists(app.page("zondari-database-generale.htm")));
}

TEST(Cerca, FindsWithTheDialogsOptionsAndOpensTheSearchPage)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "T\r\n(C:\\Vasco)\r\nC:\\ROCK\\a.mp3\r\nc:\\x\\Rock.mp3\r\nc:\\x\\pop.mp3\r\n");
    DialogScript script({type("rock")});
    app.ctx.handle([&] { cerca(app.ctx); });
    EXPECT_EQ(script.left(), 0u);
    EXPECT_EQ(app.state.searchText, "rock");
    const std::string page = readFile(app.page("zondari-pagina-di-ricerca.htm"));
    EXPECT_NE(page.find("Trovati  2 files contenenti la stringa : <b>rock</b>"), std::string::npos);
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].commandLine, "start zondari-pagina-di-ricerca.htm");
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());

    // Case-sensitive now: neither entry is "rock"; the page is not opened.
    DialogScript exact({[](Form4& d) {
        d.Check2->setChecked(true);
        d.Command3d1->click();
    }});
    app.ctx.handle([&] { cerca(app.ctx); });
    EXPECT_EQ(app.state.searchCaseSensitive, 1);
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{"Non trovato nessun file musicale contenente la stringa : rock"});
    EXPECT_EQ(app.shell.runs.size(), 1u);
}

TEST(Cerca, OneCharacterAsksAgainAndAnEmptyTextDoesNothing)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "T\r\n/m/è/brano.mp3\r\n");
    QString second;
    DialogScript script({type(QString::fromUtf8("è")),
                         [&](Form4& d) {
                             second = d.Text1->text();
                             d.Text1->setText("brano");
                             d.Command3d1->click();
                         }});
    app.ctx.handle([&] { cerca(app.ctx); });
    EXPECT_EQ(script.left(), 0u);
    EXPECT_EQ(app.dialogs.texts(),
              std::vector<std::string>{"Inserire una stringa per la ricerca composta almeno da 2 caratteri!"});
    EXPECT_EQ(second, QString::fromUtf8("è"));
    EXPECT_EQ(app.shell.runs.size(), 1u);

    DialogScript empty({type("")});
    app.ctx.handle([&] { cerca(app.ctx); });
    EXPECT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_EQ(app.shell.runs.size(), 1u);
}

TEST(Cerca, CancelKeepsThePreviousTextForTheNextDialog)
{
    PagesApp app;
    app.programFolder.write(kCatalogue, "T\r\n/m/brano.mp3\r\n");
    app.state.searchText = "brano";
    QString shown;
    DialogScript script({[](Form4& d) {
                             d.Text1->setText("altro");
                             d.Command3d2->click();
                         },
                         [&](Form4& d) {
                             shown = d.Text1->text();
                             d.reject();
                         }});
    app.ctx.handle([&] { cerca(app.ctx); });
    EXPECT_EQ(app.state.searchText, "brano");
    app.ctx.handle([&] { cerca(app.ctx); });
    EXPECT_EQ(shown, "brano");
    EXPECT_TRUE(app.shell.runs.empty());
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_FALSE(exists(app.page("zondari-pagina-di-ricerca.htm")));
}
