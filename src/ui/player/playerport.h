#pragma once

#include <QObject>
#include <QPointer>
#include <string>

class QWidget;

namespace zondari {

class Form1;

// The player window as the rest of the program reaches it: the media keys,
// the mixer, the details window and the tag editor play, stop and look
// through this port, never through the window itself. The port lives for the
// whole run and the window attaches to it while it exists, so nothing that
// holds the port can outlive what it drives: without the window every
// command does nothing, and the player reads as empty and stopped.
class PlayerPort : public QObject {
    Q_OBJECT
public:
    void attach(Form1* window);
    // Called by the window as it goes; tells the listeners.
    void detach(const Form1* window);
    bool present() const;

    // Commands, each as the window's own controls give it.
    void playRow(int row); // a click on grid row `row` (1 is the first track)
    void next(); // the row after the current one; after the last, the first
    void previous();
    void play(); // the toolbar's button; with nothing chosen yet, the first row
    void pause(); // the toolbar's button, when something plays
    void stop(); // the player's own stop
    void seek(double seconds);
    void setVolume(int hundredthsOfDecibel);
    // A file or folder handed to the program from outside.
    void openPath(const std::string& absolutePath);
    // The listed folder made current: tracks are named relative to it.
    void goToMusicFolder();
    // Keeps the track in play and its position, when the user asked for
    // the music to pick up where it stopped.
    void rememberPlace();
    // The kept track plays on from where it stopped, when asked for.
    void resumeWhereStopped();

    // What the window shows.
    int trackCount() const;
    int playState() const;
    bool playMode() const;
    std::string musicFolder() const;
    // The full path of the file whose sound the player holds; empty when none.
    std::string currentTrack() const;
    double position() const;
    double duration() const;
    int volume() const;
    // The window as it stands in the frame, to place other windows beside.
    QWidget* screenWindow() const;

signals:
    // Something above changed: a command, a track's end, the grid listed
    // again, the window gone.
    void changed();

private:
    QPointer<Form1> window_;
};

} // namespace zondari
