#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "platform/qt/qtdialogs.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "support/tempdir.h"
#include "ui/about/volumeandabout.h"
#include "ui/catalogue/form2.h"
#include "ui/catalogue/pages.h"
#include "ui/printing/printing.h"
#include "ui/shell/application.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

QApplication& application()
{
    return *static_cast<QApplication*>(QCoreApplication::instance());
}

// The texts of a dialog's buttons, without their "&" marks.
QStringList buttonTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        if (!b->isHidden() && !b->text().isEmpty())
            texts << b->text().remove('&');
    return texts;
}

QStringList labelTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QLabel* l : dialog.findChildren<QLabel*>())
        if (!l->text().isEmpty())
            texts << l->text().remove('&');
    return texts;
}

} // namespace

// The test process runs with LC_ALL=C.UTF-8, a user whose locale is not
// Italian, and starts its QApplication as the program does.
TEST(QtTexts, FolderAndFileDialogsMessageBoxAndPrintDialogSpeakItalianWhateverTheLocale)
{
    ASSERT_EQ(qgetenv("LC_ALL"), "C.UTF-8") << "the environment is the user's own again";
    prepareApplication(application());
    TempDir folder;
    folder.write("dischi/brano.mp3", "x");
    QtDialogs dialogs;

    QStringList folderButtons, folderLabels, fileButtons, fileLabels, folderRow;
    QString folderTitle, fileTitle;
    {
        ModalSteps<QFileDialog> person({
            [&](QFileDialog& d) {
                folderTitle = d.windowTitle();
                folderButtons = buttonTexts(d);
                folderLabels = labelTexts(d);
            },
            [&](QFileDialog& d) {
                fileTitle = d.windowTitle();
                fileButtons = buttonTexts(d);
                fileLabels = labelTexts(d);
                // The person looks at the details: the folder's row.
                d.setViewMode(QFileDialog::Detail);
                const QAbstractItemView* view = d.findChild<QTreeView*>("treeView");
                ASSERT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }));
                for (int c = 0; c < 4; ++c)
                    folderRow << view->model()->index(0, c, view->rootIndex()).data().toString();
            },
        });
        EXPECT_EQ(dialogs.chooseFolder("Apertura CD/Cartella MP3", folder.path()), std::nullopt);
        EXPECT_EQ(dialogs.openFile("Selezionare un file MP3", "Files MP3 (*.mp3)|*.mp3", folder.path()), std::nullopt);
    }
    EXPECT_EQ(folderTitle.toStdString(), "Apertura CD/Cartella MP3");
    EXPECT_TRUE(folderButtons.contains("Scegli")) << folderButtons.join(", ").toStdString();
    EXPECT_TRUE(folderButtons.contains("Annulla")) << folderButtons.join(", ").toStdString();
    EXPECT_TRUE(folderLabels.contains("Cerca in:")) << folderLabels.join(", ").toStdString();
    EXPECT_EQ(fileTitle.toStdString(), "Selezionare un file MP3");
    EXPECT_TRUE(fileButtons.contains("Apri")) << fileButtons.join(", ").toStdString();
    EXPECT_TRUE(fileButtons.contains("Annulla")) << fileButtons.join(", ").toStdString();
    EXPECT_TRUE(fileLabels.contains("File di tipo:")) << fileLabels.join(", ").toStdString();
    ASSERT_EQ(folderRow.size(), 4);
    EXPECT_EQ(folderRow[2].toStdString(), "Cartella");
    // Its date as in Italy: the day, then the month ("8 Dec 2026" before).
    EXPECT_TRUE(folderRow[3].startsWith(QDate::currentDate().toString("dd/MM/"))) << folderRow[3].toStdString();

    QMessageBox box;
    box.setStandardButtons(
        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No | QMessageBox::Close);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove('&').toStdString(), "OK");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&').toStdString(), "Annulla");
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&').toStdString(), "Sì");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&').toStdString(), "No");
    EXPECT_EQ(box.button(QMessageBox::Close)->text().remove('&').toStdString(), "Chiudi");

    QPrinter printer;
    QPrintDialog print(&printer);
    const QStringList printButtons = buttonTexts(print);
    EXPECT_EQ(print.windowTitle().toStdString(), "Stampa");
    for (const char* text : {"Stampa", "Annulla", "Pagine", "Rilegatura sul lato lungo"})
        EXPECT_TRUE(printButtons.contains(text)) << text << ": " << printButtons.join(", ").toStdString();
    // The printer's properties, behind their button.
    QStringList tabs;
    {
        ModalSteps<QDialog> person({[&](QDialog& d) {
            for (const QTabWidget* t : d.findChildren<QTabWidget*>())
                for (int i = 0; i < t->count(); ++i)
                    tabs << t->tabText(i).remove('&');
        }});
        for (QAbstractButton* b : print.findChildren<QAbstractButton*>())
            if (b->text().remove('&') == "Proprietà")
                b->click();
    }
    EXPECT_TRUE(tabs.contains("Avanzate")) << tabs.join(", ").toStdString();
}

namespace {

// The title the X server holds for a window, as a window manager shows it.
QString titleOnTheServer(WId window)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window), "_NET_WM_NAME"});
    if (!xprop.waitForFinished(10000))
        return "(xprop did not answer)";
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput());
    const int first = out.indexOf('"');
    const int last = out.lastIndexOf('"');
    return first >= 0 && last > first ? out.mid(first + 1, last - first - 1) : out.trimmed();
}

struct Window {
    std::string title;
    std::string onServer;
};

// Saves the screen as a person would see it, when asked to
// (ZONDARI_SCREENSHOTS=folder), to look at the dialogs.
void screenshot(const QString& name)
{
    const QString folder = qEnvironmentVariable("ZONDARI_SCREENSHOTS");
    if (!folder.isEmpty())
        QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(folder).filePath(name + ".png"));
}

} // namespace

// Runs in a child process on an X server (see the test below).
TEST(WindowTitlesOnX11, DISABLED_EachTopLevelWindowCarriesExactlyItsOwnTitle)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    prepareApplication(application());
    TestApp app;
    app.start();
    QApplication::processEvents();
    std::vector<Window> seen{
        {app.frame->windowTitle().toStdString(), titleOnTheServer(app.frame->winId()).toStdString()}};
    screenshot("frame");

    const auto look = [&](const char* name) {
        return [&seen, name](QDialog& d) {
            QApplication::processEvents();
            seen.push_back({d.windowTitle().toStdString(), titleOnTheServer(d.winId()).toStdString()});
            screenshot(name);
        };
    };
    QtDialogs dialogs;
    {
        ModalSteps<QDialog> person({look("about"), look("search"), look("types"), look("fonts"), look("message"),
            look("file"), look("folder")});
        app.ctx.openers.showAbout();
        cerca(app.ctx);
        Form2 types(app.ctx, app.frame.get());
        types.Load();
        types.exec();
        showFontChooser(app.ctx);
        dialogs.message(Message{
            "Scegli una cartella che contenga i files musicali.", MsgButtons::Ok, MsgIcon::None, kProgramTitle});
        (void)dialogs.openFile("Selezionare un file MP3", "Files MP3 (*.mp3)|*.mp3", app.programFolder.path());
        (void)dialogs.chooseFolder("Apertura CD/Cartella MP3", app.programFolder.path());
    }
    ASSERT_EQ(seen.size(), 8u);
    for (const Window& w : seen)
        EXPECT_EQ(w.onServer, w.title);
    const std::vector<std::string> expected = {"Zondari", "Zondari - Informazioni", "Zondari 2000 - Ricerca ",
        "Tipo di files musicali", "Scelta carattere", "Zondari", "Selezionare un file MP3", "Apertura CD/Cartella MP3"};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(seen[i].onServer, expected[i]) << i;
}

TEST(WindowTitles, OnAnXServerTheTopLevelWindowsCarryExactlyTheirTitles)
{
    // Qt's offscreen platform keeps no title of its own; the program's
    // windows are shown on a private X server instead, in a child process.
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xprop").isEmpty())
        GTEST_SKIP() << "Xvfb or xprop missing (scripts/setup installs them)";
    QProcess server;
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted(10000));
    QByteArray display;
    while (!display.contains('\n') && server.waitForReadyRead(10000))
        display += server.readAllStandardOutput();
    ASSERT_FALSE(display.trimmed().isEmpty()) << "Xvfb gave no display";

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", ":" + QString::fromLatin1(display.trimmed()));
    env.insert("QT_QPA_PLATFORM", "xcb");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
        {"--gtest_also_run_disabled_tests", "--gtest_filter=WindowTitlesOnX11.*"});
    const bool finished = child.waitForFinished(120000);
    const std::string out = child.readAll().toStdString();
    server.terminate();
    server.waitForFinished(5000);
    ASSERT_TRUE(finished) << out;
    EXPECT_EQ(child.exitCode(), 0) << out;
    EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}
