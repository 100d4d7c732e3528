#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/about/version.h"
#include "core/catalogue/scanrules.h"
#include "platform/files.h"
#include "support/qt/testapp.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"
#include "ui/shell/shortdate.h"

using namespace zondari;
using namespace zondari::test;

namespace {

QAction* action(MDIForm1* f, const char* name)
{
    return f->findChild<QAction*>(name);
}

void activate(QWidget* w)
{
    QEvent e(QEvent::WindowActivate);
    QApplication::sendEvent(w, &e);
}

// The program started with its defaults.
struct Frame : ::testing::Test {
    TestApp app;
    MDIForm1* frame = app.start();
};

} // namespace

TEST_F(Frame, WithoutSettingsFileStartsOnTheDefaultsAndWritesNothing)
{
    EXPECT_EQ(app.state.Utente, "DEFAULT");
    EXPECT_EQ(app.state.FilesMusicali, ".WAV.MP3.M3U.WMA");
    EXPECT_EQ(app.state.UltimoPath, app.programFolder.path());
    EXPECT_EQ(app.state.searchFolders, 1);
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->windowTitle(), "Zondari");
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());
    EXPECT_FALSE(std::filesystem::exists(app.programFolder / "zondari.ini"));
    // Only the catalogue window's hint that no CD is catalogued yet.
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{catalogue::kNoCatalogueMessage});
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());

    // The player window is the frame's child, in the program folder.
    ASSERT_NE(app.player(), nullptr);
    EXPECT_EQ(app.player()->Dir1->path(), app.programFolder.path());
    EXPECT_EQ(qobject_cast<QMdiSubWindow*>(app.player()->parentWidget())->mdiArea(), frame->mdiArea());
}

TEST(StartUp, DamagedSettingsFileStartsAllTheSame)
{
    TestApp app;
    std::string junk(300, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>(i * 37);
    junk += "\nUtente=Anna\n" + std::string(1 << 20, 'x') + "\n";
    app.programFolder.write("zondari.ini", junk);
    app.start();
    EXPECT_EQ(app.state.Utente, "Anna");
    EXPECT_EQ(app.state.FilesMusicali, ""); // no key: nothing is listed
    EXPECT_EQ(app.player()->findChild<QWidget*>("ExtGrid1") != nullptr, true);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST_F(Frame, NarrowScreenWarnsOnEveryActivation)
{
    app.screen.width = 7999;
    app.dialogs.messages.clear();
    activate(frame);
    activate(frame);
    ASSERT_EQ(app.dialogs.messages.size(), 2u);
    EXPECT_EQ(app.dialogs.messages[0].title, "Zondari");
    EXPECT_EQ(app.dialogs.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(app.dialogs.messages[0].text.rfind("Attenzione: Si sta usando una risoluzione video molto probabilmente "
                                                 "inferiore a 800x600 pixel, per un corretto utilizzo di Zondari",
                  0),
        0u);

    app.screen.width = 8000;
    activate(frame);
    EXPECT_EQ(app.dialogs.messages.size(), 2u);
}

TEST_F(Frame, MenusInOrderWithCaptionsAndShortcuts)
{
    const auto top = frame->menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), "&File");
    EXPECT_EQ(top[1]->text(), "?");

    QStringList file, help;
    for (QAction* a : top[0]->menu()->actions())
        file << (a->isSeparator() ? "-" : a->text());
    for (QAction* a : top[1]->menu()->actions())
        help << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(file, (QStringList{"&Catalogo CD e cartelle MP3", "Catalogo &tascabile", "&vortafon ...", "-", "&Esci"}));
    EXPECT_EQ(help, (QStringList{"&Help", "-", "&Visita la home page di Zondari ...", "-", "&About"}));
    EXPECT_EQ(action(frame, "MenuEsci")->shortcut(), QKeySequence("Ctrl+F4"));
    EXPECT_EQ(action(frame, "MenuHelp")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(action(frame, "MenuInfo")->shortcut(), QKeySequence(Qt::Key_F4));

    QStringList hidden;
    for (QAction* a : frame->menun()->actions())
        hidden << a->text();
    EXPECT_EQ(hidden,
        (QStringList{"&Rilegge file corrente ed esporta in HTML", "&Edita/Visualizza file TXT corrente di CD/Cartella",
            "&Cancella file CD/Cartella selezionato", "Catalogo &tascabile"}));
}

TEST_F(Frame, HelpOpensThePageThroughTheProgramFoldersLauncher)
{
    action(frame, "MenuHelp")->trigger();
    ASSERT_EQ(app.shell.runs.size(), 1u);
    const std::string p = app.programFolder.path() + "/";
    EXPECT_EQ(app.shell.runs[0].program, p + "start");
    EXPECT_EQ(app.shell.runs[0].args, std::vector<std::string>{p + "zondari.htm"});

    app.shell.failWith = RuntimeError{53, "File non trovato"};
    action(frame, "MenuHelp")->trigger();
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 53);
    EXPECT_EQ(app.ended, 0);
}

TEST_F(Frame, SiblingProgramThatIsMissingIsReportedAndTheProgramEndsAllTheSame)
{
    // No vortafon beside the program nor on PATH: the launcher would return
    // without a word, so the runtime reports it before the end.
    action(frame, "menump3r")->trigger();
    EXPECT_TRUE(app.shell.runs.empty());
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].description, "File non trovato");
    EXPECT_EQ(app.ended, 1);
}

TEST_F(Frame, ExitEndsAndHomePageOpensTheSite)
{
    action(frame, "menuHP")->trigger();
    EXPECT_EQ(app.shell.opened, std::vector<std::string>{kHomePage});
    EXPECT_EQ(app.ended, 0);
    action(frame, "MenuEsci")->trigger();
    EXPECT_EQ(app.ended, 1);
    EXPECT_FALSE(std::filesystem::exists(app.programFolder / "zondari.ini"));
}

TEST_F(Frame, StatusBarShowsNameDateTimeAndInsertKey)
{
    QStatusBar* bar = frame->findChild<QStatusBar*>("StatusBar1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->findChild<QLabel*>("Panel1")->text(), "Zondari");
    EXPECT_EQ(bar->findChild<QLabel*>("Panel2")->text(), shortDate(QDate::currentDate()));
    EXPECT_FALSE(bar->findChild<QLabel*>("Panel3")->text().isEmpty());
    QLabel* ins = bar->findChild<QLabel*>("Panel4");
    EXPECT_EQ(ins->text(), "INS");
    EXPECT_TRUE(ins->isEnabled());
}
