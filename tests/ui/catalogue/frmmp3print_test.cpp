#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/catalogue/scanrules.h"
#include "platform/files.h"
#include "platform/qt/qtdialogs.h"
#include "support/cli.h"
#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "support/qt/widgets.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/cataloguelistbox.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

constexpr const char* kNoCatalogue
    = "Nessun cd registrato nel tuo database, clicca sull'icona del CD-ROM per registrare le informazioni";

// Starts the program and gives its catalogue window.
frmMP3print* start(TestApp& app)
{
    app.start();
    frmMP3print* w = findCatalogueWindow(app.ctx);
    EXPECT_NE(w, nullptr);
    return w;
}

} // namespace

TEST(CatalogueWindow, OpensBesideThePlayerWithItsControlsAndAnEmptyList)
{
    TestApp app;
    frmMP3print* w = start(app);
    ASSERT_NE(w, nullptr);
    const QRect player = app.player()->parentWidget()->geometry();
    EXPECT_GT(w->parentWidget()->geometry().left(), player.right() - 1);

    QStringList keys, tips;
    for (QAction* a : Toolbar1(w)->actions()) {
        keys << a->data().toString();
        tips << a->toolTip();
        EXPECT_TRUE(a->isEnabled()) << a->data().toString().toStdString();
    }
    EXPECT_EQ(keys, (QStringList{"leggi", "html", "font", "vedi", "rebuild", "cerca", "anteprima"}));
    EXPECT_EQ(tips,
        (QStringList{"Legge un nuovo CD/cartella", "Salva in HTML", "Cambia font per la stampa",
            "Rinfresca lista cd registrati finora", "Ricostruisce tutto l'archivio",
            "Ricerca libera: canzone, autore o altro ...", "Anteprima/Stampa etichetta CD"}));
    EXPECT_EQ(Text1(w)->text(), "Anonimo");
    EXPECT_EQ(Text2(w)->text(), "3");
    EXPECT_TRUE(Option1(w)->isChecked());
    EXPECT_EQ(Option1(w)->text(), "Solo i files MP3 ...");
    EXPECT_EQ(Option2(w)->text(), "Tutti i files");
    EXPECT_EQ(Command1(w)->toolTip(), "Personalizza tipi di files da leggere");
    EXPECT_TRUE(Command2(w)->isEnabled());
    EXPECT_EQ(Label5(w)->text(), "N. 0 già catalogati");
    EXPECT_TRUE(Picture2(w)->pixmap().isNull()); // no logo in the program folder: the window works without
    EXPECT_EQ(app.state.PrintFontName, "Tahoma");
    EXPECT_EQ(app.state.PrintColumns, 3);
    EXPECT_EQ(app.dialogs.texts(), (std::vector<std::string>{kNoCatalogue}));
}

TEST(CatalogueWindow, ScanRunsBesideTheWindowAndWritesWhatTheCommandLineWrites)
{
    TestApp app;
    TempDir music;
    for (int i = 0; i < 40; ++i)
        music.write("cd" + std::to_string(i) + "/traccia.mp3");
    music.write("Zeta.MP3");
    music.write("alfa.wma");
    music.write("note.txt");
    fs::copy_file(std::string(ZONDARI_PROGRAM_DIR) + "/zondlogo.jpg", app.programFolder / "zondlogo.jpg");
    frmMP3print* w = start(app);
    EXPECT_FALSE(Picture2(w)->pixmap().isNull());
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
    EXPECT_EQ(app.dialogs.folderTitles, (std::vector<std::string>{"Apertura CD/Cartella MP3"}));
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->scanning(); }, 20000));
    EXPECT_TRUE(Toolbar1Key(w, "leggi")->isEnabled());
    EXPECT_TRUE(Progress(w)->text().isEmpty());

    ASSERT_EQ(List1(w)->count(), 82);
    EXPECT_EQ(List1(w)->item(0)->text().toStdString(), "(" + music / "cd0" + ")");
    EXPECT_EQ(List1(w)->item(80)->text().toStdString(), music / "alfa.wma");
    EXPECT_EQ(List1(w)->item(81)->text().toStdString(), music / "Zeta.MP3");
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());

    TempDir cliFolder;
    const CliRun cli = runCli("scan " + shellQuoted(music.path()) + " --titolo 'Rock anni 80'", cliFolder.path());
    ASSERT_EQ(cli.status, 0);
    const std::string name = cli.firstLine();
    ASSERT_TRUE(fs::exists(app.programFolder / name));
    EXPECT_EQ(readFile(app.programFolder / name), readFile(cliFolder / name));
    EXPECT_EQ(listTexts(List3(w)), QStringList{QString::fromStdString(name) + " \\ (Rock anni 80)"});
    EXPECT_EQ(Label5(w)->text(), "N. 1 già catalogati");
    EXPECT_EQ(Label6(w)->text(), "Rock anni 80");
}

TEST(CatalogueWindow, UntitledRescanOffersTheStoredTitleAndAsksOtherTitlesOverwrite)
{
    TestApp app;
    TempDir music;
    music.write("a.mp3");
    frmMP3print* w = start(app);
    Text1(w)->setText("Primo");
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    ASSERT_EQ(List3(w)->count(), 1);
    const std::string file = app.programFolder / List3(w)->item(0)->text().section(" \\ (", 0, 0).toStdString();
    const std::string name = fs::path(file).filename().string();
    const std::string first = readFile(file);
    music.write("b.mp3");
    app.dialogs.messages.clear();

    Text1(w)->setText("Anonimo");
    app.dialogs.answers.push_back(MsgAnswer::Cancel);
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    EXPECT_EQ(app.dialogs.texts(),
        (std::vector<std::string>{"1 file aggiunto, 0 file rimossi, 0 cartelle nuove\n\nAttenzione: il CD/Cartella : "
            + name + " (Primo) è gia stato catalogato, si vuole sovrascrivere?"}));
    EXPECT_EQ(app.dialogs.messages[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(Text1(w)->text(), "Primo");
    EXPECT_EQ(readFile(file), first);

    Text1(w)->setText("Anonimo");
    app.dialogs.answers.push_back(MsgAnswer::Ok);
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    EXPECT_EQ(readFile(file), "Primo\r\n" + music / "a.mp3" + "\r\n" + music / "b.mp3" + "\r\n");

    app.dialogs.messages.clear();
    Text1(w)->setText("Secondo");
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(readFile(file).rfind("Secondo\r\n", 0), 0u);
}

namespace {

// The button of a message box that reads `text`.
QPushButton* buttonOf(QMessageBox& box, const QString& text)
{
    for (QAbstractButton* b : box.buttons())
        if (b->text().remove('&') == text)
            return qobject_cast<QPushButton*>(b);
    return nullptr;
}

} // namespace

TEST(CatalogueWindow, RescanQuestionSaysWhatChangedAndDettagliListsItScrolled)
{
    TestApp app;
    TempDir music;
    for (int i = 0; i < 2000; ++i)
        music.write("cd/brano" + std::to_string(i) + ".mp3");
    music.write("vecchia/addio.mp3");
    frmMP3print* w = start(app);
    Text1(w)->setText("Primo");
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    ASSERT_EQ(List3(w)->count(), 1);
    const std::string file = app.programFolder / List3(w)->item(0)->text().section(" \\ (", 0, 0).toStdString();
    const std::string name = fs::path(file).filename().string();
    const std::string first = readFile(file);
    const std::string question
        = "Attenzione: il CD/Cartella : " + name + " (Primo) è gia stato catalogato, si vuole sovrascrivere?";

    // Nothing changed: said so, and still asked.
    app.dialogs.messages.clear();
    Text1(w)->setText("Anonimo");
    app.dialogs.answers.push_back(MsgAnswer::Cancel);
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    EXPECT_EQ(app.dialogs.texts(), (std::vector<std::string>{"Nessuna modifica dall'ultima lettura\n\n" + question}));
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    const Message unchanged = app.dialogs.messages[0];
    EXPECT_EQ(unchanged.details, "");

    for (int i = 0; i < 1500; ++i)
        music.write("nuovi/altro" + std::to_string(i) + ".mp3");
    fs::remove_all(music / "vecchia");
    app.dialogs.messages.clear();
    Text1(w)->setText("Anonimo");
    app.dialogs.answers.push_back(MsgAnswer::Cancel);
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    const Message asked = app.dialogs.messages[0];
    EXPECT_EQ(asked.text, "1500 file aggiunti, 1 file rimosso, 1 cartella nuova, 1 cartella rimossa\n\n" + question);
    EXPECT_EQ(asked.buttons, MsgButtons::OkCancel);
    EXPECT_EQ(readFile(file), first);

    // The same question in the real box, answered by a person who first
    // reads the lists: "Dettagli" opens them and leaves the question up.
    QtDialogs real;
    QString listed;
    int scrollRange = 0;
    bool stillAsking = false;
    {
        ModalSteps<QMessageBox> person({[&](QMessageBox& box) {
            EXPECT_EQ(box.text().toStdString(), asked.text);
            QPushButton* details = buttonOf(box, "Dettagli");
            ASSERT_NE(details, nullptr);
            {
                ModalSteps<DetailsWindow> reader({[&](DetailsWindow& d) {
                    EXPECT_EQ(d.windowTitle(), "Zondari - Dettagli");
                    listed = d.text()->toPlainText();
                    scrollRange = d.text()->verticalScrollBar()->maximum();
                    QTest::mouseClick(d.findChild<QPushButton*>("Chiudi"), Qt::LeftButton);
                }});
                QTest::mouseClick(details, Qt::LeftButton);
            }
            stillAsking = box.isVisible();
            QTest::mouseClick(buttonOf(box, "OK"), Qt::LeftButton);
        }});
        EXPECT_EQ(real.message(asked), MsgAnswer::Ok);
    }
    EXPECT_TRUE(stillAsking);
    EXPECT_GT(scrollRange, 1000);
    EXPECT_EQ(listed.toStdString(), asked.details);
    EXPECT_TRUE(listed.startsWith("File aggiunti (1500):\n"));
    EXPECT_TRUE(listed.endsWith(QString::fromStdString("Cartelle rimosse (1):\n(" + music / "vecchia" + ")\n")));

    // Without changes there is nothing to list, and no such button.
    {
        ModalSteps<QMessageBox> person({[&](QMessageBox& box) {
            EXPECT_EQ(buttonOf(box, "Dettagli"), nullptr);
            QTest::mouseClick(buttonOf(box, "Annulla"), Qt::LeftButton);
        }});
        EXPECT_EQ(real.message(unchanged), MsgAnswer::Cancel);
    }
}

TEST(CatalogueWindow, CancelledBrowserEmptyFolderAndUnreadableFolder)
{
    TestApp app;
    TempDir music;
    music.write("leggimi.txt");
    frmMP3print* w = start(app);
    app.ctx.setCatalogueEntries({"(voce precedente)"});
    app.dialogs.messages.clear();

    app.dialogs.folders.push_back(std::nullopt);
    Toolbar1Key(w, "leggi")->trigger();
    EXPECT_FALSE(w->scanning());
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(List1(w)->count(), 1);

    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    EXPECT_EQ(app.dialogs.texts(), (std::vector<std::string>{"Non trovato nessun file.", kNoCatalogue}));
    EXPECT_EQ(List1(w)->count(), 0);

    app.dialogs.messages.clear();
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music / "sparita"));
    EXPECT_EQ(
        app.dialogs.texts(), (std::vector<std::string>{"Non è possibile leggere sull'unità specificata, riprovare"}));
    EXPECT_FALSE(std::ranges::any_of(fs::directory_iterator(app.programFolder.path()),
        [](const auto& e) { return e.path().filename().string().rfind("ZOND_", 0) == 0; }));
}

TEST(CatalogueWindow, ColumnCountIsCheckedWhenItsBoxIsLeftAndBeforeAScan)
{
    TestApp app;
    frmMP3print* w = start(app);
    app.dialogs.messages.clear();
    auto leave = [w](const QString& typed) {
        Text2(w)->setText(typed);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(Text2(w), &out);
    };
    for (const auto& [typed, shown, columns] :
        std::initializer_list<std::tuple<QString, QString, int>>{{"12", "7", 7}, {"abc", "2", 2}}) {
        app.dialogs.messages.clear();
        leave(typed);
        EXPECT_EQ(app.dialogs.texts(), (std::vector<std::string>{"Numero di Colonne compreso tra 2 e 7"}))
            << typed.toStdString();
        EXPECT_EQ(Text2(w)->text(), shown);
        EXPECT_EQ(app.state.PrintColumns, columns);
    }
    app.dialogs.messages.clear();
    leave("5");
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(app.state.PrintColumns, 5);

    TempDir music;
    music.write("a.mp3");
    Text2(w)->setText("9");
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    ASSERT_FALSE(app.dialogs.messages.empty());
    EXPECT_EQ(app.dialogs.messages[0].text, "Numero di Colonne compreso tra 2 e 7");
    EXPECT_EQ(Text2(w)->text(), "7");
    EXPECT_EQ(app.state.PrintColumns, 7);
    EXPECT_EQ(app.state.PrintFontSize, 8.0f);
}

TEST(CatalogueWindow, TitleBoxRefusesSeparatorsAndAccentsButNotShortcuts)
{
    TestApp app;
    frmMP3print* w = start(app);
    Text1(w)->clear();
    Text1(w)->setFocus();
    // Typed key by key, with the text each key gives.
    for (QChar c : QString("Rock: (80), è $ fine.-1"))
        QTest::sendKeyEvent(QTest::Click, Text1(w), Qt::Key_unknown, QString(c), Qt::NoModifier);
    EXPECT_EQ(Text1(w)->text(), "Rock 80   fine-1");
    QTest::keyClick(Text1(w), Qt::Key_A, Qt::ControlModifier); // select all still works
    QTest::keyClick(Text1(w), Qt::Key_Backspace);
    EXPECT_EQ(Text1(w)->text(), "");
}

TEST(CatalogueWindow, ListSelectsByClickAndKeyAndTellsOfAMissingFile)
{
    TestApp app;
    app.programFolder.write("ZOND_DEFAULT_C_3.txt", "Terzo\r\n");
    app.programFolder.write("ZOND_DEFAULT_a_1.txt", "Prim\xe8\r\n/a.mp3\r\n");
    app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Secondo\r\n");
    app.programFolder.write("ZOND_Anna_X_9.txt", "di Anna\r\n");
    frmMP3print* w = start(app);
    EXPECT_EQ(listTexts(List3(w)),
        (QStringList{"ZOND_DEFAULT_a_1.txt \\ (Primè)", "ZOND_DEFAULT_B_2.txt \\ (Secondo)",
            "ZOND_DEFAULT_C_3.txt \\ (Terzo)"}));
    EXPECT_EQ(Label5(w)->text(), "N. 3 già catalogati");
    EXPECT_EQ(List3(w)->currentRow(), 0);
    EXPECT_EQ(Label6(w)->text(), "Primè");
    EXPECT_TRUE(app.dialogs.messages.empty());

    clickItem(List3(w), 2);
    EXPECT_EQ(Label6(w)->text(), "Terzo");
    List3(w)->setFocus();
    QTest::keyClick(List3(w), 'z'); // moves on to the next item that starts with it
    EXPECT_EQ(List3(w)->currentRow(), 0);
    EXPECT_EQ(Label6(w)->text(), "Primè");

    fs::remove(app.programFolder / "ZOND_DEFAULT_B_2.txt");
    clickItem(List3(w), 1);
    EXPECT_EQ(app.dialogs.texts(),
        (std::vector<std::string>{
            "Errore: file " + app.programFolder / "ZOND_DEFAULT_B_2.txt" + " di catalogo MP3 non trovato."}));
    EXPECT_EQ(Label6(w)->text(), "Primè");

    app.dialogs.messages.clear();
    Toolbar1Key(w, "vedi")->trigger();
    EXPECT_EQ(List3(w)->count(), 2);
    EXPECT_EQ(Label5(w)->text(), "N. 2 già catalogati");

    app.ctx.setCatalogueEntries({"/una/cartella/molto/lunga/brano.mp3"});
    clickItem(List1(w), 0);
    EXPECT_EQ(List1(w)->toolTip(), "/una/cartella/molto/lunga/brano.mp3");
    EXPECT_TRUE(app.shell.runs.empty()); // a click or a key selects; it opens nothing
}

TEST(CatalogueWindow, EditOpensAndDeleteAsksAndOnlyYesDeletesTheLastOneLeavesAnEmptyList)
{
    TestApp app;
    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Uno\r\n");
    app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Due\r\n");
    frmMP3print* w = start(app);
    Command4(w)->click(); // the first, selected at the start
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.shell.runs[0].program, startLauncher(app.programFolder.path()));
    EXPECT_EQ(app.shell.runs[0].args, std::vector<std::string>{app.programFolder / "ZOND_DEFAULT_A_1.txt"});
    // With nothing selected it says what to do first.
    List3(w)->clearSelection();
    Command4(w)->click();
    EXPECT_EQ(app.shell.runs.size(), 1u);
    EXPECT_EQ(app.dialogs.texts(),
        (std::vector<std::string>{"Occorre prima selezionare il file di archivio catalogato poi premere questo "
                                  "bottone per procedere all'EDIT/Modifica."}));

    clickItem(List3(w), 1);
    app.dialogs.messages.clear();
    app.dialogs.answers.push_back(MsgAnswer::No);
    Command3(w)->click();
    EXPECT_EQ(app.dialogs.texts(),
        (std::vector<std::string>{"Vuoi veramente cancellare il file di archivio "
            + app.programFolder / "ZOND_DEFAULT_B_2.txt" + " (Due)?"}));
    EXPECT_EQ(app.dialogs.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(fs::exists(app.programFolder / "ZOND_DEFAULT_B_2.txt"));
    EXPECT_EQ(List3(w)->currentRow(), 0); // refreshed all the same

    app.dialogs.answers.push_back(MsgAnswer::Yes);
    Command3(w)->click();
    EXPECT_FALSE(fs::exists(app.programFolder / "ZOND_DEFAULT_A_1.txt"));
    EXPECT_EQ(listTexts(List3(w)), QStringList{"ZOND_DEFAULT_B_2.txt \\ (Due)"});
    EXPECT_EQ(Label5(w)->text(), "N. 1 già catalogati");

    app.dialogs.messages.clear();
    app.dialogs.answers.push_back(MsgAnswer::Yes);
    Command3(w)->click();
    EXPECT_FALSE(fs::exists(app.programFolder / "ZOND_DEFAULT_B_2.txt"));
    ASSERT_EQ(app.dialogs.texts().size(), 2u);
    EXPECT_EQ(app.dialogs.texts()[1], kNoCatalogue);
    EXPECT_EQ(List3(w)->count(), 0);
    EXPECT_EQ(Label5(w)->text(), "N. 0 già catalogati");
    EXPECT_EQ(Label6(w)->text(), "");

    app.dialogs.messages.clear();
    Command3(w)->click();
    EXPECT_EQ(app.dialogs.texts(),
        (std::vector<std::string>{"Occorre prima selezionare il file di archivio catalogato "
                                  "poi premere questo bottone per procedere alla "
                                  "cancellazione."}));
}

TEST(CatalogueWindow, RightButtonPopsUpTheFramesHiddenMenuWhoseItemsWorkEvenWithTheWindowClosed)
{
    TestApp app;
    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Uno\r\n");
    app.programFolder.write("ZOND_DEFAULT_B_2.txt", "Due\r\n");
    frmMP3print* w = start(app);
    QMenu* menun = app.frame->menun();
    clickItem(List3(w), 1, Qt::RightButton);
    EXPECT_TRUE(menun->isVisible());
    EXPECT_EQ(Label6(w)->text(), "Due"); // the item pressed is the one the menu acts on
    menun->hide();

    app.frame->findChild<QAction*>("menutxt")->trigger();
    ASSERT_EQ(app.shell.runs.size(), 1u);
    EXPECT_NE(app.shell.runs[0].words().find("ZOND_DEFAULT_B_2.txt"), std::string::npos);

    app.dialogs.answers.push_back(MsgAnswer::No);
    app.frame->findChild<QAction*>("menuerase")->trigger();
    EXPECT_EQ(app.dialogs.texts(),
        (std::vector<std::string>{"Vuoi veramente cancellare il file di archivio "
            + app.programFolder / "ZOND_DEFAULT_B_2.txt" + " (Due)?"}));
    EXPECT_TRUE(fs::exists(app.programFolder / "ZOND_DEFAULT_B_2.txt"));

    // With the window closed, the menu loads it again.
    w->parentWidget()->close();
    // The closed window is deleted from the event loop.
    ASSERT_TRUE(QTest::qWaitFor([&app] { return findCatalogueWindow(app.ctx) == nullptr; }));
    ASSERT_EQ(findCatalogueWindow(app.ctx), nullptr);
    app.dialogs.answers.push_back(MsgAnswer::Yes);
    app.frame->findChild<QAction*>("menuerase")->trigger();
    frmMP3print* again = findCatalogueWindow(app.ctx);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(fs::exists(app.programFolder / "ZOND_DEFAULT_A_1.txt"));
    EXPECT_EQ(Label5(again)->text(), "N. 1 già catalogati");
}

TEST(CatalogueWindow, ClosingTheWindowDuringAScanStopsIt)
{
    TestApp app;
    TempDir music;
    for (int i = 0; i < 300; ++i)
        music.write(std::to_string(i).insert(0, 1, 'd') + "/a.mp3"); // not "d" + ...: a false -Wrestrict of g++ 12 -O3
    frmMP3print* w = start(app);
    app.dialogs.folders.push_back(music.path());
    Toolbar1Key(w, "leggi")->trigger();
    ASSERT_TRUE(w->scanning());
    delete w->parentWidget();
    EXPECT_EQ(findCatalogueWindow(app.ctx), nullptr);
    // No catalogue is written by a scan that was broken off.
    EXPECT_FALSE(std::ranges::any_of(fs::directory_iterator(app.programFolder.path()),
        [](const auto& e) { return e.path().filename().string().rfind("ZOND_", 0) == 0; }));
}

TEST(CatalogueWindow, FileMenuBringsTheClosedWindowBackReadyToUse)
{
    TestApp app;
    app.programFolder.write("ZOND_DEFAULT_A_1.txt", "Uno\r\n");
    frmMP3print* w = start(app);
    QAction* item = app.frame->findChild<QAction*>("menuCatalogo");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "&Catalogo CD e cartelle MP3");
    EXPECT_TRUE(item->isEnabled());
    // While it is open the item only brings it to the front.
    item->trigger();
    EXPECT_EQ(app.frame->findChildren<frmMP3print*>().size(), 1);
    EXPECT_EQ(app.frame->mdiArea()->activeSubWindow(), w->parentWidget());

    w->parentWidget()->close();
    // The closed window is deleted from the event loop.
    ASSERT_TRUE(QTest::qWaitFor([&app] { return findCatalogueWindow(app.ctx) == nullptr; }));
    ASSERT_EQ(findCatalogueWindow(app.ctx), nullptr);
    item->trigger();
    frmMP3print* again = findCatalogueWindow(app.ctx);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(listTexts(List3(again)), QStringList{"ZOND_DEFAULT_A_1.txt \\ (Uno)"});
    TempDir music;
    music.write("a.mp3");
    Text1(again)->setText("Due");
    ASSERT_TRUE(scanInWindow(again, app.dialogs, music.path()));
    EXPECT_EQ(List3(again)->count(), 2);
}

TEST(CatalogueWindow, NameNotInUtf8KeepsItsBytesFromTheScanToThePages)
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
    EXPECT_EQ(readFile(app.programFolder / name),
        "\xEF\xBB\xBF"
        "Anonimo\r\n"
            + bad + "\r\n");

    const std::string link = "<a href=\"file://" + music / "bad%FFname.mp3\">bad\uFFFDname.mp3</a>";
    Toolbar1Key(w, "html")->trigger(); // the page of the entries in the window
    EXPECT_NE(readFile(app.programFolder / "default.htm").find(link), std::string::npos);
    app.ctx.setCatalogueEntries({});
    fs::remove(app.programFolder / "default.htm");
    Command2(w)->click(); // the page of the catalogue file, which fills the window again
    EXPECT_NE(readFile(app.programFolder / "default.htm").find(link), std::string::npos);
    fs::remove(app.programFolder / "default.htm");
    Toolbar1Key(w, "html")->trigger();
    EXPECT_NE(readFile(app.programFolder / "default.htm").find(link), std::string::npos);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST(CatalogueWindow, FullDiskIsReportedAsTheWriteFailedNotAsAnUnreadableDrive)
{
    TestApp app;
    TempDir music;
    for (int i = 0; i < 1500; ++i)
        music.write("cartella " + std::to_string(i % 30) + "/brano con un nome lungo " + std::to_string(i) + ".mp3");
    MountedTmpfs small(app.programFolder.path(), "64k");
    if (!small.ok())
        GTEST_SKIP() << "mounting is not allowed here: the full disk was not tried";
    frmMP3print* w = start(app);
    app.dialogs.messages.clear();
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
    EXPECT_TRUE(app.dialogs.messages.empty());
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 61);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].description, "Disco pieno");
    EXPECT_TRUE(fs::is_empty(app.programFolder.path()));
    EXPECT_EQ(List1(w)->count(), 1530); // the entries stay in the window
}

TEST(CatalogueWindow, StartRemovesWhatScansThatDiedWhileWritingLeft)
{
    TestApp app;
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string left = app.programFolder.write(".zondari-" + std::to_string(gone) + "-1.tmp", "a metà");
    const std::string older = app.programFolder.write(".zondari-catalogo-" + std::to_string(gone) + ".tmp", "a metà");
    // This process writes none now: one of its number was left by an
    // earlier process that had the same number.
    const std::string reused = app.programFolder.write(".zondari-" + std::to_string(::getpid()) + "-7.tmp", "");
    // Unlocked: no writer is writing it, whatever process has its number.
    const std::string other = app.programFolder.write(".zondari-1-1.tmp", "");
    start(app);
    EXPECT_FALSE(fs::exists(left));
    EXPECT_FALSE(fs::exists(older));
    EXPECT_FALSE(fs::exists(reused));
    EXPECT_FALSE(fs::exists(other));
}
