#pragma once

#include <QWidget>
#include <string>

#include "core/player/advance.h"
#include "core/player/titlescroller.h"

class QAction;
class QLabel;
class QListWidget;
class QTimer;
class QToolBar;
class QVBoxLayout;

namespace zondari {

class AppContext;
class DirListBox;
class DriveListBox;
class FolderWatch;
class MediaPlayer;
class MediaPlayerControl;
class TrackGrid;

// The player window: a drive and a folder to browse, the grid of the
// folder's music files, and their playback: the media player, the toolbar
// whose first button holds the play mode, and the scrolling title.
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

    // Lists the folder again after its files changed on disk, keeping the
    // selected row (the track that plays) by its name.
    void followFolder();

    // A file or folder handed to the program (its command line, the
    // desktop): a folder becomes the listed folder; a file lists its folder
    // and plays as a click on its row. What cannot be opened is told in a
    // box. `absolutePath` is absolute, as the current folder moves.
    void openPath(const std::string& absolutePath);

    // Playback (form1_playback.cpp).
    void Toolbar1_ButtonClick(const QString& key);
    void ExtGrid1_Click();
    void Timer1_Timer();
    void MediaPlayer1_PositionChange(double oldPosition, double newPosition);

    // The toolbar button with a key ("riprendi", "volume", "ID3", ...).
    QAction* button(const QString& key) const;
    // The play mode: button 1 pressed.
    bool playMode() const;
    MediaPlayer& media() const;

    DriveListBox* Drive1;
    DirListBox* Dir1;
    QListWidget* List2; // the matching names, in directory order
    TrackGrid* ExtGrid1;
    QLabel* Image1;
    QListWidget* List1; // on the window, unused
    QToolBar* Toolbar1 = nullptr;
    QLabel* lcd1 = nullptr; // the scrolling title
    MediaPlayerControl* MediaPlayer1 = nullptr;
    QTimer* Timer1 = nullptr; // title and automatic advance

    // The drive at load, to fall back on when a drive cannot be read.
    std::string savedDrive() const { return savedDrive_; }

    // The folder the player lists, where the other windows look for its
    // tracks.
    std::string musicFolder() const;

    // The listed folder made current, and its drive the current drive,
    // errors ignored: tracks are named relative to it.
    void goToMusicFolder();

protected:
    bool event(QEvent* e) override;

private:
    void sizeWindow();
    // Lists `folder` as the person's choice would; false, told in a box,
    // when it cannot be listed.
    bool listFolder(const std::string& folder);
    void buildPlayback();
    void enableToolbar();
    void setPlayMode(bool pressed);
    // The details routine for a track, when the track details are part of
    // the program.
    void riempimp3(const std::string& track);
    // Plays `BranoCorrente`, named relative to the listed folder, as a
    // click on its row does.
    void playCurrentTrack();

    AppContext& ctx_;
    QVBoxLayout* layout_;
    FolderWatch* watch_;
    std::string savedDrive_;
    TitleScroller scroller_;
    AutoAdvance advance_;
};

} // namespace zondari
