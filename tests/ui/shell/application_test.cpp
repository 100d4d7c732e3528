#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "platform/qt/qtdialogs.h"
#include "support/qt/modal.h"
#include "support/tempdir.h"
#include "ui/shell/application.h"

using namespace zondari;
using namespace zondari::test;

namespace {

QApplication& application()
{
    return *static_cast<QApplication*>(QCoreApplication::instance());
}

// The texts a dialog shows on its buttons, labels and tabs, without their
// "&" marks.
QStringList textsOf(const QWidget& dialog)
{
    QStringList texts;
    for (const QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        if (!b->isHidden())
            texts << b->text().remove('&');
    for (const QLabel* l : dialog.findChildren<QLabel*>())
        texts << l->text().remove('&');
    for (const QTabWidget* t : dialog.findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i)
            texts << t->tabText(i).remove('&');
    return texts;
}

void expectShown(const QStringList& texts, std::initializer_list<const char*> wanted)
{
    for (const char* text : wanted)
        EXPECT_TRUE(texts.contains(text)) << text << " is not in: " << texts.join(", ").toStdString();
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

    QStringList folderTexts, fileTexts, folderRow;
    QString folderTitle, fileTitle;
    {
        ModalSteps<QFileDialog> person({
            [&](QFileDialog& d) {
                folderTitle = d.windowTitle();
                folderTexts = textsOf(d);
            },
            [&](QFileDialog& d) {
                fileTitle = d.windowTitle();
                fileTexts = textsOf(d);
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
    expectShown(folderTexts, {"Scegli", "Annulla", "Cerca in:"});
    EXPECT_EQ(fileTitle.toStdString(), "Selezionare un file MP3");
    expectShown(fileTexts, {"Apri", "Annulla", "File di tipo:"});
    ASSERT_EQ(folderRow.size(), 4);
    EXPECT_EQ(folderRow[2].toStdString(), "Cartella");
    // Its date as in Italy: the day, then the month ("8 Dec 2026" before).
    EXPECT_TRUE(folderRow[3].startsWith(QDate::currentDate().toString("dd/MM/"))) << folderRow[3].toStdString();

    QMessageBox box;
    for (const auto& [button, text] : {std::pair{QMessageBox::Ok, "OK"}, {QMessageBox::Cancel, "Annulla"},
             {QMessageBox::Yes, "Sì"}, {QMessageBox::No, "No"}, {QMessageBox::Close, "Chiudi"}})
        EXPECT_EQ(box.addButton(button)->text().remove('&').toStdString(), text);

    QPrinter printer;
    QPrintDialog print(&printer);
    EXPECT_EQ(print.windowTitle().toStdString(), "Stampa");
    expectShown(textsOf(print), {"Stampa", "Annulla", "Pagine", "Rilegatura sul lato lungo"});
    // The printer's properties, behind their button.
    QStringList properties;
    {
        ModalSteps<QDialog> person({[&](QDialog& d) { properties = textsOf(d); }});
        for (QAbstractButton* b : print.findChildren<QAbstractButton*>())
            if (b->text().remove('&') == "Proprietà")
                b->click();
    }
    expectShown(properties, {"Avanzate"});
}
