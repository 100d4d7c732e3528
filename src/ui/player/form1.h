#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "core/common/result.h"
#include "core/player/advance.h"
#include "core/player/playersettings.h"
#include "core/player/titlescroller.h"
#include "platform/files.h"

class QAction;
class QLabel;
class QMenu;
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
    // The port steps through the grid's rows as the window's own keys do.
    friend class PlayerPort;

public:
    explicit Form1(AppContext& ctx, QWidget* parent = nullptr);
    ~Form1() override;

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
    void openPathGuarded(const std::string& absolutePath);

    // The commands the media keys give (through the player's port), each
    // as the window's own controls give it, inside the program's guard.
    void playRow(int row); // a click on that row
    void playOrResume(); // the toolbar's button; nothing chosen yet: the first row
    void pauseOrResume(); // the toolbar's button
    void stopPlayback(); // the player's own stop button
    void seekTo(double seconds);

    // Keeps the track in play and its position, when "Riprendi all'avvio"
    // is on (form1_continuity.cpp).
    void rememberPlace();
    // At the start: the track kept last plays on from where it stopped,
    // when "Riprendi all'avvio" is on and it is still there.
    void resumeWhereStopped();

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
    void closeEvent(QCloseEvent* e) override;

private:
    // The window's controls, reached by tests through their object names.
    DriveListBox* Drive1;
    DirListBox* Dir1;
    QListWidget* List2; // the matching names, in directory order
    TrackGrid* ExtGrid1;
    QLabel* Image1;
    QToolBar* Toolbar1 = nullptr;
    QLabel* lcd1 = nullptr; // the scrolling title
    MediaPlayerControl* MediaPlayer1 = nullptr;
    QTimer* Timer1 = nullptr; // title and automatic advance

    void sizeWindow();
    // Lists `folder` as the person's choice would; false, told in a box,
    // when it cannot be listed.
    bool listFolder(const std::string& folder);
    void buildPlayback();
    void enableToolbar();
    void setPlayMode(bool pressed);
    // Tells the player's port that what it shows has changed.
    void announce();
    // The details routine for a track, when the track details are part of
    // the program.
    void riempimp3(const std::string& track);
    // Remembers the file of the track just given to the player, so that
    // its row follows it through a rename.
    void remember(const std::string& track);
    // Plays `BranoCorrente`, named relative to the listed folder, as a
    // click on its row does; from `from` seconds into it.
    void playCurrentTrack(double from = 0.0);
    // The menu on the title display, and the player's own settings behind it.
    void buildTitleMenu();
    void titleMenu_Click();
    Status savePlayerSettings();
    // Tells the media player the row the advance would play next, so that
    // it follows without a gap; none when the play mode is off.
    void prepareNext();
    // The prepared track is heard: the advance's work.
    void nextTrackStarted();

    AppContext& ctx_;
    QVBoxLayout* layout_;
    FolderWatch* watch_;
    std::string savedDrive_;
    TitleScroller scroller_;
    AutoAdvance advance_;
    bool titleWhenHeard_ = false; // the display shows a skipped track's report
    std::optional<files::FileStat> playing_; // the file of the track started last
    PlayerSettings settings_;
    QMenu* titleMenu_ = nullptr;
    std::string prepared_; // the title of the row prepared to follow
};

} // namespace zondari
