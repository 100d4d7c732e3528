#pragma once

#include <QComboBox>
#include <string>

#include "core/common/result.h"

namespace zondari {

class Drives;

// The drive list: the mounted file systems, each shown by its root and
// label. Its value is a drive's root; setting it to the value it already
// has raises no change.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    DriveListBox(const Drives& drives, QWidget* parent = nullptr);

    std::string drive() const { return drive_; }
    // Takes the drive that holds `pathOrDrive`.
    void setDrive(const std::string& pathOrDrive);
    void refresh();

signals:
    void changed();

private:
    void select(const std::string& root);

    const Drives& drives_;
    std::string drive_;
};

} // namespace zondari
