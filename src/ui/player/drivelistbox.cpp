#include "ui/player/drivelistbox.h"

#include "platform/drives.h"

namespace zondari {

DriveListBox::DriveListBox(const Drives& drives, QWidget* parent)
    : QComboBox(parent)
    , drives_(drives)
{
    refresh();
    connect(
        this, &QComboBox::activated, this, [this](int index) { setDrive(itemData(index).toString().toStdString()); });
}

void DriveListBox::refresh()
{
    const QSignalBlocker block(this);
    clear();
    for (const DriveInfo& d : drives_.list()) {
        QString text = QString::fromStdString(d.root);
        if (!d.label.empty())
            text += QString(" [%1]").arg(QString::fromStdString(d.label));
        addItem(text, QString::fromStdString(d.root));
    }
    select(drive_);
}

void DriveListBox::select(const std::string& root)
{
    const QSignalBlocker block(this);
    int index = findData(QString::fromStdString(root));
    if (index < 0 && !root.empty()) {
        addItem(QString::fromStdString(root), QString::fromStdString(root));
        index = count() - 1;
    }
    setCurrentIndex(index);
}

void DriveListBox::setDrive(const std::string& pathOrDrive)
{
    const std::string root = drives_.driveOf(pathOrDrive);
    if (root == drive_) {
        select(drive_);
        return;
    }
    drive_ = root;
    select(drive_);
    emit changed();
}

} // namespace zondari
