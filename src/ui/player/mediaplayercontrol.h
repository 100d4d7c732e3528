#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QSlider;
class QTimer;
class QToolButton;

namespace zondari {

class MediaPlayer;

// A media player on a window with the player's own controls: play, pause,
// stop, and a position bar to seek with. Stopping and seeking here are the
// user's, and raise the player's position change.
class MediaPlayerControl : public QWidget {
    Q_OBJECT
public:
    MediaPlayerControl(std::unique_ptr<MediaPlayer> player, QWidget* parent = nullptr);
    ~MediaPlayerControl() override;

    MediaPlayer& media() const { return *player_; }

    QToolButton* playButton() const { return play_; }
    QToolButton* pauseButton() const { return pause_; }
    QToolButton* stopButton() const { return stop_; }
    QSlider* positionBar() const { return bar_; }

    // Shows the position and the play state as they are now.
    void refresh();

private:
    std::unique_ptr<MediaPlayer> player_;
    QToolButton* play_;
    QToolButton* pause_;
    QToolButton* stop_;
    QSlider* bar_;
    QLabel* time_;
    QTimer* clock_;
};

// "m:ss" for a number of seconds.
QString minutesSeconds(double seconds);

} // namespace zondari
