#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QListWidget;
class QVBoxLayout;

namespace zondari {

class AppContext;
class DirListBox;
class DriveListBox;
class TrackGrid;

// The player window: a drive and a folder to browse, and the grid of the
// folder's music files.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(AppContext& ctx, QWidget* parent = nullptr);

    // Sizes the window, loads the logo, fills the grid and moves to the last
    // folder.
    void Load();

    // Refills the work list and the grid from the folder in Dir1.
    void RiempiTabella();

    void Dir1_Change();
    void Drive1_Change();

    DriveListBox* Drive1;
    DirListBox* Dir1;
    QListWidget* List2;  // the matching names, in directory order
    TrackGrid* ExtGrid1;
    QLabel* Image1;
    QListWidget* List1;  // on the window, unused

    // The drive at load, to fall back on when a drive cannot be read.
    std::string savedDrive() const { return savedDrive_; }

protected:
    bool event(QEvent* e) override;

private:
    void sizeWindow();

    AppContext& ctx_;
    QVBoxLayout* layout_;
    std::string savedDrive_;
};

}  // namespace zondari
