#include "ui/catalogue/form4.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/appcontext.h"

namespace zondari {

Form4::Form4(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , Label1(new QLabel("Inserire argomento di ricerca, nome, autore, titolo oppure anche una parte solamente, la "
                        "ricerca viene fatta su tutti i CD/Cartelle memorizzati e verrà restituita sul browser di "
                        "sistema:"))
    , Text1(new QLineEdit)
    , Check1(new QCheckBox("Cerca anche nel nome delle cartelle"))
    , Check2(new QCheckBox("Considera diverso MAIUSCOLO/minuscolo"))
    , Command3d1(new QPushButton("OK"))
    , Command3d2(new QPushButton("Annulla"))
    , ctx_(ctx)
{
    setObjectName("Form4");
    setWindowTitle("Zondari 2000 - Ricerca ");
    setModal(true);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Text1->setObjectName("Text1");
    Check1->setObjectName("Check1");
    Check2->setObjectName("Check2");
    Command3d1->setObjectName("Command3d1");
    Command3d2->setObjectName("Command3d2");
    // Enter in the text box presses the default button, OK; Escape is the
    // dialog's reject, as Annulla.
    Command3d1->setDefault(true);
    Command3d1->setAutoDefault(true);
    Command3d2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command3d1);
    buttons->addWidget(Command3d2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addWidget(Check1);
    layout->addWidget(Check2);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    Check1->setChecked(true);
    Check2->setChecked(false);
    Text1->setText(QString::fromStdString(ctx_.state.searchText));
    Text1->selectAll();

    // A click on an option sends the typing back to the text.
    connect(Check1, &QCheckBox::clicked, Text1, [this] { Text1->setFocus(); });
    connect(Check2, &QCheckBox::clicked, Text1, [this] { Text1->setFocus(); });
    connect(Command3d1, &QPushButton::clicked, this, ctx_.slot(this, &Form4::Command3d1_Click));
    connect(Command3d2, &QPushButton::clicked, this, ctx_.slot(this, &Form4::Command3d2_Click));
}

void Form4::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    centreOnScreen();
    Text1->setFocus();
    Text1->selectAll();
}

void Form4::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void Form4::Command3d1_Click()
{
    AppState& s = ctx_.state;
    s.searchText = Text1->text().toStdString();
    s.searchCaseSensitive = Check2->isChecked() ? 1 : 0;
    s.searchFolders = Check1->isChecked() ? 1 : 0;
    accept();
}

// Escape and closing the window come here too (QDialog::reject): the
// search text and options stay as they were.
void Form4::Command3d2_Click()
{
    reject();
}

} // namespace zondari
