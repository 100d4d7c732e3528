#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "support/qt/testapp.h"
#include "ui/catalogue/form4.h"

using namespace zondari;
using namespace zondari::test;

namespace {

// Shows the dialog as the program does (modal, with exec) and lets `act`
// work on it once it is up; the dialog's result.
int runDialog(Form4& dialog, const std::function<void(Form4&)>& act)
{
    QTimer::singleShot(0, &dialog, [&] {
        QApplication::setActiveWindow(&dialog);
        act(dialog);
    });
    return dialog.exec();
}

}  // namespace

TEST(SearchDialog, OpensWithThePreviousTextSelectedAndTheDefaultOptions)
{
    TestApp app;
    app.state.searchText = "Battisti";
    app.state.searchCaseSensitive = 1;
    app.state.searchFolders = 0;
    Form4 dialog(app.ctx);
    QString selected;
    bool check1 = false, check2 = true;
    runDialog(dialog, [&](Form4& d) {
        selected = d.Text1->selectedText();
        check1 = d.Check1->isChecked();
        check2 = d.Check2->isChecked();
        d.Command3d2->click();
    });
    EXPECT_EQ(dialog.windowTitle(), "Zondari 2000 - Ricerca ");
    EXPECT_EQ(selected, "Battisti");
    EXPECT_TRUE(check1);
    EXPECT_FALSE(check2);
    EXPECT_EQ(dialog.Check1->text(), "Cerca anche nel nome delle cartelle");
    EXPECT_EQ(dialog.Check2->text(), "Considera diverso MAIUSCOLO/minuscolo");
    EXPECT_EQ(dialog.Command3d1->text(), "OK");
    EXPECT_EQ(dialog.Command3d2->text(), "Annulla");
    EXPECT_TRUE(dialog.Label1->text().startsWith("Inserire argomento di ricerca, nome, autore, titolo"));
    EXPECT_TRUE(dialog.isModal());
}

TEST(SearchDialog, OkStoresTheTextAndBothOptions)
{
    TestApp app;
    Form4 dialog(app.ctx);
    const int result = runDialog(dialog, [](Form4& d) {
        d.Text1->setText("Lucio");
        QTest::mouseClick(d.Check1, Qt::LeftButton);  // off
        QTest::mouseClick(d.Check2, Qt::LeftButton);  // on
        d.Command3d1->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(app.state.searchText, "Lucio");
    EXPECT_EQ(app.state.searchFolders, 0);
    EXPECT_EQ(app.state.searchCaseSensitive, 1);
}

TEST(SearchDialog, ClickingAnOptionSendsTheTypingBackToTheText)
{
    TestApp app;
    Form4 dialog(app.ctx);
    QWidget* focusAfter = nullptr;
    runDialog(dialog, [&](Form4& d) {
        d.Check2->setFocus();
        QTest::mouseClick(d.Check2, Qt::LeftButton);
        focusAfter = QApplication::focusWidget();
        d.reject();
    });
    EXPECT_EQ(focusAfter, dialog.Text1);
}

TEST(SearchDialog, EnterInTheTextIsOk)
{
    TestApp app;
    Form4 dialog(app.ctx);
    const int result = runDialog(dialog, [](Form4& d) {
        d.Text1->setFocus();
        QTest::keyClicks(d.Text1, "~~strano");
        QTest::keyClick(d.Text1, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    // A text that begins with "~~" is a text like any other.
    EXPECT_EQ(app.state.searchText, "~~strano");
    EXPECT_EQ(app.state.searchFolders, 1);
    EXPECT_EQ(app.state.searchCaseSensitive, 0);
}

TEST(SearchDialog, EscapeAndAnnullaLeaveTextAndOptionsAsTheyWere)
{
    TestApp app;
    app.state.searchText = "prima";
    app.state.searchFolders = 0;
    app.state.searchCaseSensitive = 1;
    for (bool escape : {true, false}) {
        Form4 dialog(app.ctx);
        const int result = runDialog(dialog, [escape](Form4& d) {
            d.Text1->setText("dopo");
            QTest::mouseClick(d.Check2, Qt::LeftButton);
            if (escape)
                QTest::keyClick(d.Text1, Qt::Key_Escape);
            else
                d.Command3d2->click();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(app.state.searchText, "prima");
        EXPECT_EQ(app.state.searchFolders, 0);
        EXPECT_EQ(app.state.searchCaseSensitive, 1);
    }
}
