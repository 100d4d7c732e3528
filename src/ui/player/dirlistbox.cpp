#include "ui/player/dirlistbox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "core/common/paths.h"
#include "platform/files.h"

namespace zondari {
namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

DirListBox::DirListBox(QWidget* parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemDoubleClicked, this, &DirListBox::openItem);
}

void DirListBox::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && currentItem()) {
        openItem(currentItem());
        return;
    }
    QListWidget::keyPressEvent(e);
}

void DirListBox::openItem(QListWidgetItem* item)
{
    if (item)
        // A folder gone since it was listed: the list stays where it is.
        (void)setPath(item->data(kPathRole).toByteArray().toStdString());
}

Status DirListBox::setPath(const std::string& requested)
{
    const std::string path = files::absolutePath(requested);
    auto children = files::subfolders(path);
    if (!children)
        return children.error();

    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    clear();
    // Ancestors, from the root down to the folder itself.
    std::vector<std::string> chain{path};
    for (std::string p = path; p != "/";) {
        p = files::folderOf(p);
        chain.push_back(p);
    }
    std::reverse(chain.begin(), chain.end());
    int depth = 0;
    for (const std::string& p : chain) {
        auto* item = new QListWidgetItem(
            open, QString(depth * 2, ' ') + QString::fromStdString(p == "/" ? p : files::nameOf(p)));
        item->setData(kPathRole, QByteArray::fromStdString(p)); // the bytes, whatever the text shows
        addItem(item);
        ++depth;
    }
    setCurrentRow(count() - 1);
    for (const std::string& name : *children) {
        auto* item = new QListWidgetItem(closed, QString(depth * 2, ' ') + QString::fromStdString(name));
        item->setData(kPathRole, QByteArray::fromStdString(joinPath(path, name)));
        addItem(item);
    }

    if (path != path_) {
        path_ = path;
        emit changed();
    }
    return {};
}

} // namespace zondari
