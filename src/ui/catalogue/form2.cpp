#include "ui/catalogue/form2.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/appcontext.h"
#include "ui/shell/module1.h"

namespace zondari {

Form2::Form2(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , Command3d1(new QPushButton("OK", this))
    , Command3d2(new QPushButton("Annulla", this))
    , ctx_(ctx)
{
    setObjectName("Form2");
    setWindowTitle("Tipo di files musicali");
    setModal(true);
    Command3d1->setObjectName("Command3d1");
    Command3d2->setObjectName("Command3d2");

    auto* label = new QLabel(
        "Spunta l'estensione di tutti i tipi di files musicali che intendi ripescare per creare i cataloghi", this);
    label->setObjectName("Label1");
    label->setWordWrap(true);

    auto* frame = new QGroupBox("Tipo di files musicali", this);
    frame->setObjectName("Frame1");
    auto* grid = new QGridLayout(frame);
    constexpr int kRows = 8;
    for (std::size_t i = 0; i < kFileTypeBoxes; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(kFileTypeCaptions[i]), frame);
        box->setObjectName(QString("Check1_%1").arg(i));
        box->setTristate(isFixedFileType(i));
        grid->addWidget(box, static_cast<int>(i) % kRows, static_cast<int>(i) / kRows);
        connect(box, &QCheckBox::clicked, this, ctx_.slot(this, &Form2::Check1_Click, static_cast<int>(i)));
        Check1[i] = box;
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command3d1);
    buttons->addWidget(Command3d2);
    auto* all = new QVBoxLayout(this);
    all->addWidget(label);
    all->addWidget(frame);
    all->addLayout(buttons);

    Command3d1->setDefault(true);
    connect(Command3d1, &QPushButton::clicked, this, ctx_.slot(this, &Form2::Command3d1_Click));
    connect(Command3d2, &QPushButton::clicked, this, ctx_.slot(this, &Form2::Command3d2_Click));
}

int Form2::value(std::size_t index) const
{
    switch (Check1[index]->checkState()) {
    case Qt::Unchecked:
        return kBoxOff;
    case Qt::PartiallyChecked:
        return kBoxGrey;
    case Qt::Checked:
        break;
    }
    return kBoxOn;
}

void Form2::setValue(std::size_t index, int value)
{
    Check1[index]->setCheckState(value == kBoxGrey ? Qt::PartiallyChecked
            : value == kBoxOn                      ? Qt::Checked
                                                   : Qt::Unchecked);
}

void Form2::Load()
{
    adjustSize();
    // Centred across the screen, below the catalogue window's Files button
    // (kept on the screen).
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1024, 768);
    int top = height() * 2 / 3;
    if (QWidget* files = parentWidget() ? parentWidget()->findChild<QWidget*>("Command1") : nullptr)
        top += files->mapToGlobal(QPoint(0, 0)).y();
    top = std::clamp(top, screen.top(), std::max(screen.top(), screen.bottom() - height()));
    move(screen.left() + (screen.width() - width()) / 2, top);

    const FileTypeBoxes boxes = boxesFromList(ctx_.state.FilesMusicali);
    for (std::size_t i = 0; i < kFileTypeBoxes; ++i)
        setValue(i, boxes[i]);
}

void Form2::Check1_Click(int index)
{
    if (isFixedFileType(static_cast<std::size_t>(index)))
        setValue(static_cast<std::size_t>(index), kBoxGrey);
}

void Form2::Command3d1_Click()
{
    FileTypeBoxes boxes{};
    for (std::size_t i = 0; i < kFileTypeBoxes; ++i)
        boxes[i] = value(i);
    ctx_.state.FilesMusicali = listFromBoxes(boxes);
    // The save closes this window as its last step, and shows its own
    // failure in the runtime error box: nothing is left to do with it here.
    (void)saveSettings(ctx_);
}

void Form2::Command3d2_Click()
{
    reject();
}

} // namespace zondari
