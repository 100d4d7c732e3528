#include "ui/mixer/filelistbox.h"

#include <QKeyEvent>

#include "platform/files.h"

namespace zondari {

FileListBox::FileListBox(QWidget* parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit DblClick(); });
}

void FileListBox::setPath(const std::string& path)
{
    path_ = path;
    refresh();
}

void FileListBox::setPattern(const std::string& pattern)
{
    pattern_ = pattern;
    refresh();
}

std::string FileListBox::fileName() const
{
    const QListWidgetItem* item = currentItem();
    return item ? item->data(Qt::UserRole).toByteArray().toStdString() : std::string();
}

void FileListBox::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && currentItem()) {
        emit DblClick();
        return;
    }
    QListWidget::keyPressEvent(e);
}

void FileListBox::refresh()
{
    clear();
    if (path_.empty())
        return;
    const auto names = files::dirSearch(path_, pattern_);
    if (!names)
        return;
    // The name's bytes stay with the item: one that is not UTF-8 shows
    // U+FFFD in their place but still opens.
    for (const std::string& name : *names) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), this);
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
    }
}

} // namespace zondari
