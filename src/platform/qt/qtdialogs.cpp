#include "platform/qt/qtdialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zondari {
namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

DetailsWindow::DetailsWindow(const std::string& text, QWidget* owner)
    : QDialog(owner)
    , text_(new QPlainTextEdit(this))
{
    setObjectName("DetailsWindow");
    setWindowTitle(kDetailsTitle);
    // A plain text view lays out only the lines in sight: thousands of
    // paths open at once.
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setPlainText(q(text));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton("Chiudi", QDialogButtonBox::RejectRole);
    close->setObjectName("Chiudi");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addWidget(buttons);
    resize(640, 420);
}

MsgAnswer QtDialogs::message(const Message& m)
{
    QMessageBox box(qtIcon(m.icon), q(m.title), q(m.text), QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    switch (m.buttons) {
    case MsgButtons::Ok:
        first = box.addButton("OK", QMessageBox::AcceptRole);
        break;
    case MsgButtons::OkCancel:
        first = box.addButton("OK", QMessageBox::AcceptRole);
        second = box.addButton("Annulla", QMessageBox::RejectRole);
        break;
    case MsgButtons::YesNo:
        first = box.addButton("Sì", QMessageBox::YesRole);
        second = box.addButton("No", QMessageBox::NoRole);
        break;
    }
    box.setDefaultButton(first);
    box.setEscapeButton(second ? second : first);
    if (!m.details.empty()) {
        QPushButton* details = box.addButton(kDetailsButton, QMessageBox::ActionRole);
        // The box closes on any of its buttons; this one only opens the
        // list, and the question waits for its answer.
        QObject::disconnect(details, &QPushButton::clicked, nullptr, nullptr);
        QObject::connect(details, &QPushButton::clicked, &box, [&box, &m] {
            DetailsWindow window(m.details, &box);
            window.exec();
        });
    }
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    const bool firstChosen = box.clickedButton() == first;
    switch (m.buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::OkCancel:
        return firstChosen ? MsgAnswer::Ok : MsgAnswer::Cancel;
    case MsgButtons::YesNo:
        return firstChosen ? MsgAnswer::Yes : MsgAnswer::No;
    }
    return MsgAnswer::Ok;
}

void QtDialogs::runtimeError(const RuntimeError& error)
{
    message(Message{runtimeErrorText(error), MsgButtons::Ok, MsgIcon::Critical, kProgramTitle});
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& title, const std::string& startFolder)
{
    const QString dir = QFileDialog::getExistingDirectory(QApplication::activeWindow(), q(title), q(startFolder));
    if (dir.isEmpty())
        return std::nullopt;
    return dir.toStdString();
}

std::optional<std::string> QtDialogs::openFile(
    const std::string& title, const std::string& filter, const std::string& startFolder)
{
    const QString file = QFileDialog::getOpenFileName(
        QApplication::activeWindow(), q(title), q(startFolder), q(qtNameFilters(filter)));
    if (file.isEmpty())
        return std::nullopt;
    return file.toStdString();
}

std::string qtNameFilters(const std::string& filter)
{
    // Pairs of "description|patterns"; Qt wants the patterns inside the
    // description's parentheses, which the program's descriptions already
    // carry, one filter per line.
    std::string out;
    std::size_t start = 0;
    bool description = true;
    while (start <= filter.size()) {
        const auto bar = filter.find('|', start);
        const std::string part = filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (description) {
            if (!out.empty())
                out += ";;";
            out += part;
        }
        description = !description;
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    return out;
}

} // namespace zondari
