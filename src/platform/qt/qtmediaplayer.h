#pragma once

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/mediaplayer.h"

namespace zondari {

// The media player on Qt Multimedia (GStreamer underneath). Qt reports
// positions on its own as playback runs and when a file is set; none of that
// is the position change, which only stop() and seeking raise here.
class QtMediaPlayer : public QObject, public MediaPlayer {
    Q_OBJECT
public:
    explicit QtMediaPlayer(QObject* parent = nullptr);
    ~QtMediaPlayer() override;

    Status setFileName(const std::string& name) override;
    std::string fileName() const override { return name_; }
    int playState() const override;
    Status play() override;
    void pause() override;
    void stop() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double duration() const override;
    bool unplayable() const override { return unplayable_; }
    int volume() const override { return volume_; }
    void setVolume(int hundredthsOfDecibel) override;

private:
    // A new Qt player in place of the one there (a failed one answers
    // slowly and still reports its failure after a new file is set).
    void renewPlayer();
    // The Qt player, renewed first when its file failed.
    QMediaPlayer& usablePlayer();
    // Puts entry `index` in the player; false when it is a file that is gone.
    bool load(std::size_t index);
    // The first entry from `index` on that can be put in the player; false
    // (and an empty player) when none is left.
    bool openFrom(std::size_t index);
    void clearSource();
    // After an entry ended or failed: the next one, or the end of playback.
    void scheduleNext();
    void startNextEntry();
    void onPlaybackStateChanged(QMediaPlayer::PlaybackState state);
    void onFailure();

    QAudioOutput output_;
    std::unique_ptr<QMediaPlayer> player_;
    std::string name_;
    std::vector<std::string> entries_;  // the file, or a playlist's entries
    std::size_t index_ = 0;
    bool wantPlaying_ = false;  // play() was asked and not undone since
    bool failed_ = false;       // the entry in the player cannot be played
    bool pendingNext_ = false;  // the step to the next entry is on its way
    bool played_ = false;       // some entry of the file set last has played
    bool unplayable_ = false;   // none can: see MediaPlayer::unplayable
    int ownCalls_ = 0;          // inside a call of ours into the player
    unsigned generation_ = 0;   // outdates a step still on its way
    int volume_ = 0;
};

}  // namespace zondari
