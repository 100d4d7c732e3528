#pragma once

#include <functional>
#include <string>
#include <utility>

#include "core/common/result.h"
#include "core/player/playstate.h"

namespace zondari {

// One media player: plays one file (or the entries of an ".m3u" playlist,
// one after another) at a time. The player window and each deck of the DJ
// mixer own one.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // The file to play. A relative name resolves in the current folder at
    // the moment it is set. Setting a file stops what was playing and puts
    // the new one at its start. Fails when the file cannot be opened; a file
    // that turns out not to be playable fails later, as a player that stops.
    virtual Status setFileName(const std::string& name) = 0;
    virtual std::string fileName() const = 0;
    // The file whose sound the player holds, with its full path: the file
    // set, or the entry of a playlist in play; empty when none.
    virtual std::string entryPath() const { return fileName(); }

    // kStopped, kPaused or kPlaying. Opening a file after play() counts as
    // playing; so does the step from one playlist entry to the next. A track
    // that ends, or cannot be played, leaves the player stopped.
    virtual int playState() const = 0;

    // True once it is known that nothing of the file set last can be
    // played: it would not open, it is not audio the player can decode, or
    // no entry of a playlist could be played. False while that is not known
    // yet; a new file clears it.
    virtual bool unplayable() const = 0;

    // Plays from the position held: the start after a file is set or after
    // stop().
    virtual Status play() = 0;
    // Suspends running playback, keeping the position; does nothing when
    // not playing.
    virtual void pause() = 0;
    // Stops and goes back to the start of the file; raises the position
    // change.
    virtual void stop() = 0;

    // Seconds into the current file (or playlist entry).
    virtual double currentPosition() const = 0;
    // Seeks; raises the position change.
    virtual void setCurrentPosition(double seconds) = 0;
    // Seconds; 0 while unknown.
    virtual double duration() const = 0;

    // Hundredths of a decibel: 0 full, -10000 silent.
    virtual int volume() const = 0;
    virtual void setVolume(int hundredthsOfDecibel) = 0;

    // The file to play when the one playing ends by itself, joined to it
    // without a gap: it is prepared before the end. Empty: none, and the
    // player stops at the end. Setting a file, or another next one, drops
    // what was prepared.
    virtual void setNextFileName(const std::string& name) { (void)name; }
    // Whether each track plays at its ReplayGain track gain (its tag's, else
    // its encoder's, else -6 dB), kept from clipping; from the next file set.
    virtual void setReplayGain(bool on) { (void)on; }

    // The position change: raised when the position jumps because playback
    // was stopped or sought, with the old and the new position in seconds.
    // Playback moving on, a track ending and a new file being set raise
    // nothing.
    using PositionChange = std::function<void(double oldPosition, double newPosition)>;
    void onPositionChange(PositionChange handler) { positionChange_ = std::move(handler); }

    // The state change: raised after the play state, the file in play, its
    // length or the volume changed, whatever changed it (a call here, a
    // track's end, a failure found while playing), so that what shows the
    // player need not look at it again and again.
    using StateChange = std::function<void()>;
    void onStateChange(StateChange handler) { stateChange_ = std::move(handler); }

    // The next file (setNextFileName) has taken the place of the one that
    // ended: it is what plays now, and fileName() names it.
    using NextStarted = std::function<void()>;
    void onNextStarted(NextStarted handler) { nextStarted_ = std::move(handler); }

protected:
    void positionChanged(double oldPosition, double newPosition)
    {
        if (positionChange_)
            positionChange_(oldPosition, newPosition);
    }
    void stateChanged()
    {
        if (stateChange_)
            stateChange_();
    }
    void nextStarted()
    {
        if (nextStarted_)
            nextStarted_();
    }

private:
    PositionChange positionChange_;
    StateChange stateChange_;
    NextStarted nextStarted_;
};

} // namespace zondari
