#pragma once

#include <QListWidget>
#include <string>

namespace zondari {

// The file list: the normal files of a folder whose names match a pattern
// ("*.mp3", "*.*"), without regard to letter case, sorted as the directory
// search delivers them. A double click on a file, or Enter, raises
// `DblClick`.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    std::string path() const { return path_; }
    // Lists the folder; a folder that cannot be read lists nothing.
    void setPath(const std::string& path);

    std::string pattern() const { return pattern_; }
    void setPattern(const std::string& pattern);

    // The file chosen in the list, empty when none is.
    std::string fileName() const;

signals:
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void refresh();

    std::string path_;
    std::string pattern_ = "*.*";
};

} // namespace zondari
