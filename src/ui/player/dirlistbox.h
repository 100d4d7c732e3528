#pragma once

#include <QListWidget>
#include <string>

#include "core/common/result.h"

namespace zondari {

// The folder list: the open folder's ancestors from the root, the folder
// itself, then its subfolders. A double click (or Enter) opens a folder.
// Its value, `path()`, is absolute without a trailing "/" (except the
// root); setting it to the value it already has raises no change.
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);

    std::string path() const { return path_; }
    // Fails, and changes nothing, when the folder cannot be listed.
    Status setPath(const std::string& path);

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void openItem(QListWidgetItem* item);

    std::string path_;
};

} // namespace zondari
