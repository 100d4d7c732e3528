// The catalogue window as a person works it: scans from its toolbar and
// rescans of the same folder, the list of the catalogues with its buttons
// and menus.

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// Starts the program and gives its catalogue window.
frmMP3print* start(TestApp& app)
{
    app.start();
    frmMP3print* w = findCatalogueWindow(app.ctx);
    EXPECT_NE(w, nullptr);
    return w;
}

} // namespace

TEST(CatalogueWindow, AScanWritesWhatTheCommandLineWritesAndARescanSaysWhatChangedBeforeReplacingIt)
{
    TestApp app;
    TempDir music;
    for (int i = 0; i < 40; ++i)
        music.write("cd" + std::to_string(i) + "/traccia.mp3");
    for (const char* name : {"Zeta.MP3", "alfa.wma", "note.txt", "vecchia/addio.mp3"})
        music.write(name);
    frmMP3print* w = start(app);
    EXPECT_EQ(app.dialogs.texts(),
        std::vector<std::string>{
            "Nessun cd registrato nel tuo database, clicca sull'icona del CD-ROM per registrare le informazioni"});
    app.dialogs.messages.clear();
    Text1(w)->setText("Rock anni 80");
    app.dialogs.folders.push_back(music.path());
    Toolbar1Key(w, "leggi")->trigger();
    // The walk runs off the window's thread: the window is back at once,
    // says how far the scan has got, and takes no second scan meanwhile.
    EXPECT_TRUE(w->scanning());
    EXPECT_TRUE(Progress(w)->text().startsWith("Lettura in corso:"));
    EXPECT_FALSE(Toolbar1Key(w, "leggi")->isEnabled());
    w->Leggifile();
    EXPECT_EQ(app.dialogs.folderTitles, std::vector<std::string>{"Apertura CD/Cartella MP3"});
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->scanning(); }, 20000));
    ASSERT_EQ(List1(w)->count(), 84);
    EXPECT_EQ(List1(w)->item(83)->text().toStdString(), music / "Zeta.MP3");
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());

    TempDir cliFolder;
    const CliRun cli = runCli("scan " + shellQuoted(music.path()) + " --titolo 'Rock anni 80'", cliFolder.path());
    ASSERT_EQ(cli.status, 0);
    const std::string name = cli.firstLine();
    const std::string file = app.programFolder / name;
    const std::string first = readFile(file);
    EXPECT_EQ(first, readFile(cliFolder / name));
    EXPECT_EQ(listTexts(List3(w)), QStringList{QString::fromStdString(name) + " \\ (Rock anni 80)"});

    // Untitled, a rescan takes the stored title and asks, saying what
    // changed, before it replaces the catalogue: nothing, then many;
    // cancelled, the file stays.
    const std::string question
        = "Attenzione: il CD/Cartella : " + name + " (Rock anni 80) è gia stato catalogato, si vuole sovrascrivere?";
    const auto rescan = [&](MsgAnswer answer) {
        app.dialogs.messages.clear();
        Text1(w)->setText("Anonimo");
        app.dialogs.answers.push_back(answer);
        EXPECT_TRUE(scanInWindow(w, app.dialogs, music.path()));
        EXPECT_EQ(Text1(w)->text(), "Rock anni 80");
        EXPECT_EQ(app.dialogs.messages.size(), 1u);
        return app.dialogs.messages.at(0);
    };
    const Message unchanged = rescan(MsgAnswer::Cancel);
    EXPECT_EQ(unchanged.text, "Nessuna modifica dall'ultima lettura\n\n" + question);
    EXPECT_EQ(unchanged.details, ""); // no "Dettagli" button
    EXPECT_EQ(readFile(file), first);
    music.write("b.mp3");
    for (int i = 0; i < 1499; ++i)
        music.write("nuovi/altro" + std::to_string(i) + ".mp3");
    fs::remove_all(music / "vecchia");
    const Message asked = rescan(MsgAnswer::Ok);
    EXPECT_EQ(asked.text, "1500 file aggiunti, 1 file rimosso, 1 cartella nuova, 1 cartella rimossa\n\n" + question);
    // The lists behind "Dettagli".
    EXPECT_TRUE(asked.details.starts_with("File aggiunti (1500):\n"));
    EXPECT_TRUE(asked.details.ends_with("Cartelle rimosse (1):\n(" + music / "vecchia" + ")\n"));
    EXPECT_EQ(readFile(file).find("addio.mp3"), std::string::npos);
    EXPECT_NE(readFile(file).find(music / "b.mp3"), std::string::npos);
    // Another title: no question.
    app.dialogs.messages.clear();
    Text1(w)->setText("Secondo");
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_TRUE(readFile(file).starts_with("Secondo\r\n"));
}

TEST(CatalogueWindow, TheListOfCataloguesIsChosenEditedAndDeletedByButtonsAndMenus)
{
    TestApp app;
    const std::string a = app.programFolder.write("ZOND_DEFAULT_a_1.txt", "Prim\xe8\r\n/a.mp3\r\n");
    const std::string b = app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Secondo\r\n");
    app.programFolder.write("ZOND_DEFAULT_C_3.txt", "Terzo\r\n");
    frmMP3print* w = start(app);
    // The user's own, the first chosen.
    EXPECT_EQ(listTexts(List3(w)),
        (QStringList{"ZOND_DEFAULT_a_1.txt \\ (Primè)", "ZOND_DEFAULT_B_2.txt \\ (Secondo)",
            "ZOND_DEFAULT_C_3.txt \\ (Terzo)"}));
    EXPECT_EQ(Label5(w)->text(), "N. 3 già catalogati");
    EXPECT_EQ(Label6(w)->text(), "Primè");
    EXPECT_TRUE(app.dialogs.messages.empty());

    // "Edit" opens the chosen catalogue with the launcher.
    Command4(w)->click();
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].program, startLauncher(app.programFolder.path()));
    EXPECT_EQ(app.shell.runs[0].args, std::vector<std::string>{a});

    // The right button pops up the frame's hidden menu on the item pressed.
    clickItem(List3(w), 1, Qt::RightButton);
    EXPECT_TRUE(app.frame->menun()->isVisible());
    EXPECT_EQ(Label6(w)->text(), "Secondo");
    app.frame->menun()->hide();
    control<QAction>(app.frame.get(), "menutxt")->trigger();
    EXPECT_EQ(app.shell.runs.at(1).args, std::vector<std::string>{b});
    // Deleting asks; "No" keeps the file, and the list is refreshed.
    app.dialogs.messages.clear();
    app.dialogs.answers.push_back(MsgAnswer::No);
    control<QAction>(app.frame.get(), "menuerase")->trigger();
    EXPECT_EQ(app.dialogs.texts(),
        (std::vector<std::string>{"Vuoi veramente cancellare il file di archivio " + b + " (Secondo)?"}));
    EXPECT_EQ(app.dialogs.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(fs::exists(b));
    EXPECT_EQ(List3(w)->currentRow(), 0);
    // "Sì" deletes.
    clickItem(List3(w), 1);
    app.dialogs.answers.push_back(MsgAnswer::Yes);
    Command3(w)->click();
    EXPECT_FALSE(fs::exists(b));
    EXPECT_EQ(listTexts(List3(w)), (QStringList{"ZOND_DEFAULT_a_1.txt \\ (Primè)", "ZOND_DEFAULT_C_3.txt \\ (Terzo)"}));
}

TEST(CatalogueWindow, ANameNotInUtf8KeepsItsBytesFromTheScanToThePages)
{
    TestApp app;
    TempDir music;
    const std::string bad = music.write("bad\xffname.mp3");
    frmMP3print* w = start(app);
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    ASSERT_EQ(List1(w)->count(), 1);
    EXPECT_EQ(List1(w)->item(0)->text(), QString::fromStdString(music / "bad\uFFFDname.mp3"));
    ASSERT_EQ(List3(w)->count(), 1);
    const std::string name = List3(w)->item(0)->text().section(" \\ (", 0, 0).toStdString();
    EXPECT_EQ(readFile(app.programFolder / name), "\xEF\xBB\xBF" + std::string("Anonimo\r\n") + bad + "\r\n");
    // The page of the entries in the window, then of the catalogue file,
    // which fills the window again.
    const std::string link = "<a href=\"file://" + music / "bad%FFname.mp3\">bad\uFFFDname.mp3</a>";
    for (const std::function<void()>& page :
        std::initializer_list<std::function<void()>>{[&] { Toolbar1Key(w, "html")->trigger(); },
            [&] {
                app.ctx.setCatalogueEntries({});
                Command2(w)->click();
            },
            [&] { Toolbar1Key(w, "html")->trigger(); }}) {
        fs::remove(app.programFolder / "default.htm");
        page();
        EXPECT_NE(readFile(app.programFolder / "default.htm").find(link), std::string::npos);
    }
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

// Under the list, the scan's data: the volume's totals, the selected
// entry's, the rows that no longer match an entry; "Cancella" takes the
// data with the catalogue.
TEST(CatalogueWindow, ShowsTheScansDataUnderTheListAndDeletesItWithTheCatalogue)
{
    ASSERT_TRUE(haveMp3Tools());
    TestApp app;
    TempDir music;
    makeMp3(music.path(), "a.mp3", {3.0, 44100, 2, "-b 128 --add-id3v2 --tt Uno --ta Tizio"});
    music.write("b.mp3", std::string(3000, 'x'));
    frmMP3print* w = start(app);
    Check2(w)->setChecked(true);
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    const QRegularExpression totals("^2 file, 5\\d(,\\d)? KB, 0:00:03 di musica, [0-9.]+(,[0-9])? [KMGT]B liberi$");
    EXPECT_TRUE(totals.match(Label7(w)->text()).hasMatch()) << Label7(w)->text().toStdString();
    List1(w)->setCurrentRow(0);
    w->List1_Click();
    EXPECT_TRUE(Label8(w)->text().endsWith(" KB · 0:03 · 128 kbps · Tizio - Uno")) << Label8(w)->text().toStdString();
    List1(w)->setCurrentRow(1);
    w->List1_Click();
    EXPECT_EQ(Label8(w)->text(), "2,9 KB");

    const std::string catalogue = app.programFolder / w->selectedName();
    const std::string base = catalogue.substr(0, catalogue.size() - 4);
    app.programFolder.write(w->selectedName(), "Anonimo\r\n" + music / "a.mp3" + "\r\n");
    Command2(w)->click();
    EXPECT_EQ(List1(w)->count(), 1);
    EXPECT_TRUE(Label7(w)->text().endsWith("\n1 riga dei dati non corrisponde più a una voce del catalogo"));
    app.dialogs.answers.push_back(MsgAnswer::Yes);
    Command3(w)->click();
    for (const std::string& gone : {catalogue, base + ".tsv", base + ".volume.tsv"})
        EXPECT_FALSE(fs::exists(gone)) << gone;
}

TEST(CatalogueWindow, AScanBrokenOffByClosingTheWindowWritesNothingAndTheStartRemovesWhatDeadScansLeft)
{
    TestApp app;
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::vector<std::string> left = {
        app.programFolder.write(".zondari-" + std::to_string(gone) + "-1.tmp", "a metà"),
        app.programFolder.write(".zondari-catalogo-" + std::to_string(gone) + ".tmp", "a metà"),
        // This process writes none now: one of its number was left by an
        // earlier process that had the same number.
        app.programFolder.write(".zondari-" + std::to_string(::getpid()) + "-7.tmp", ""),
        // Unlocked: no writer is writing it, whatever process has its number.
        app.programFolder.write(".zondari-1-1.tmp", ""),
    };
    TempDir music;
    for (int i = 0; i < 300; ++i)
        music.write(std::to_string(i).insert(0, 1, 'd') + "/a.mp3"); // not "d" + ...: a false -Wrestrict of g++ 12 -O3
    frmMP3print* w = start(app);
    for (const std::string& file : left)
        EXPECT_FALSE(fs::exists(file)) << file;
    app.dialogs.folders.push_back(music.path());
    Toolbar1Key(w, "leggi")->trigger();
    ASSERT_TRUE(w->scanning());
    delete w->parentWidget();
    EXPECT_EQ(findCatalogueWindow(app.ctx), nullptr);
    for (const auto& e : fs::directory_iterator(app.programFolder.path()))
        EXPECT_FALSE(e.path().filename().string().starts_with("ZOND_")) << e.path();
}
