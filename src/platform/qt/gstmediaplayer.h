#pragma once

#include <QObject>
#include <atomic>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/mediaplayer.h"

using GstElement = struct _GstElement;
using GstMessage = struct _GstMessage;

namespace zondari {

// The media player on a GStreamer playbin. Its volume is the volume of its
// stream on the sound server (PulseAudio or PipeWire), applied where the
// server mixes, so a change is heard at once whatever is buffered before it;
// a volume element upstream of the buffers would be heard only once they had
// played out. Without a PulseAudio sink it falls back to the system's default
// sink with the volume in the pipeline.
//
// The next entry of a playlist, and the next file when one is set, follow
// without a gap: playbin asks for what comes next before the end
// (about-to-finish), and is handed it there; the player learns that it is
// heard when its stream starts. With ReplayGain on, rgvolume and rglimiter
// stand before the sink.
//
// GStreamer reports from its own threads; every report is handed to this
// object's thread, and those of a file that has since been replaced are
// dropped.
class GstMediaPlayer : public QObject, public MediaPlayer {
    Q_OBJECT
public:
    explicit GstMediaPlayer(QObject* parent = nullptr);
    ~GstMediaPlayer() override;
    GstMediaPlayer(const GstMediaPlayer&) = delete;
    GstMediaPlayer& operator=(const GstMediaPlayer&) = delete;

    Status setFileName(const std::string& name) override;
    std::string fileName() const override { return name_; }
    std::string entryPath() const override;
    int playState() const override;
    bool unplayable() const override { return unplayable_; }
    Status play() override;
    void pause() override;
    void stop() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double duration() const override;
    int volume() const override { return volume_; }
    void setVolume(int hundredthsOfDecibel) override;
    void setNextFileName(const std::string& name) override;
    void setReplayGain(bool on) override;

private:
    friend struct GstBusBridge;
    friend struct GstJoin;
    enum class State { Stopped, Paused, Playing };

    // What follows the entry in play without a gap.
    struct Follower {
        std::string uri;
        double fallbackGain = 0.0; // for rgvolume when the stream has no tag
        bool newFile = false; // the next file, not the next entry of this one
    };

    // Empties the pipeline (its threads end) so that what it reports from
    // now on is about the next file.
    void unload();
    // Puts entry `index` in the pipeline, prerolled; false when it is a file
    // that is gone.
    bool load(std::size_t index);
    // The first entry from `index` on that can be put in the pipeline; false
    // (and an empty pipeline) when none is left.
    bool openFrom(std::size_t index);
    // A flushing seek, or one kept for when the pipeline has prerolled.
    void seek(double seconds);
    // After an entry ended or failed: the next one, or the end of playback.
    void entryOver();
    void onMessage(GstMessage* message, unsigned generation);
    // The volume held, to the pipeline and to the sound server's sink.
    void applyVolume();
    // Works out what follows the entry in play, for playbin to be handed.
    void prepareFollower();
    // The stream of what was handed to playbin has started: it is what
    // plays now.
    void followerStarted();
    // Drops what was handed to playbin: the entry in play is put back in the
    // pipeline, where it was.
    void dropHanded();

    GstElement* pipeline_ = nullptr;
    GstElement* sink_ = nullptr; // the sound server's sink, owned by the pipeline
    GstElement* replayGain_ = nullptr; // rgvolume ! rglimiter, ours; in the pipeline when on
    GstElement* rgvolume_ = nullptr;
    bool replayGainOn_ = false;
    std::string name_;
    std::vector<std::string> entries_; // the file, or a playlist's entries
    std::size_t index_ = 0;
    std::string nextName_; // the next file, set by the owner
    std::vector<std::string> nextEntries_;
    State state_ = State::Stopped;
    bool loaded_ = false; // an entry is in the pipeline
    bool failed_ = false; // the entry in the pipeline cannot be played
    bool ended_ = false; // the entry in the pipeline has played to its end
    bool played_ = false; // some entry of the file set last has played
    bool unplayable_ = false; // none can: see MediaPlayer::unplayable
    bool playWhenSought_ = false; // play() came before a pending seek could be made
    bool awaitingFirstStream_ = false; // the stream of what was loaded has not started yet
    mutable double duration_ = 0.0; // of the entry in the pipeline, once known
    double endPosition_ = 0.0; // where an entry that ended stopped
    mutable double lastPosition_ = 0.0; // the last position reported
    std::optional<double> pendingSeek_; // asked before the pipeline prerolled
    std::atomic<unsigned> generation_{0}; // counts the files put in the pipeline

    // Shared with GStreamer's threads.
    std::mutex joinMutex_;
    std::optional<Follower> follower_; // to be handed at about-to-finish
    std::deque<Follower> handed_; // handed, their streams not started yet
    std::deque<double> gains_; // fallback gains, one a stream to start
    int volume_ = 0;
};

} // namespace zondari
