#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/player/trackrows.h"

namespace zondari {

// What the player's timer does on a tick besides the title.
enum class TickStep {
    DisplayOnly, // nothing to start: playing, paused, or the user stopped
    Advance, // the track ended with the play mode on: start the next row
    ReleasePlayMode, // the play mode is on but the grid lists no track
    ReportUnplayable, // the track cannot be played: say so on the display
    // ... with the play mode on: say so, and start the next row on the same
    // tick, so that failed tracks are skipped one a tick.
    SkipUnplayable,
    // ... and no track of the grid could be played in a whole round: say so
    // and end the play mode, rather than cycling through the failures forever.
    ReportUnplayableAndRelease,
};

// The rule of automatic advance: only a stopped player with the play mode
// on moves on. `rows` counts the grid's rows with its header.
TickStep tickStep(int playState, bool playMode, int rows);

// The row after `current` in a grid of `rows` rows (the header is row 0):
// after the last row comes row 1 again; 0 when the grid lists no track.
int nextTrackRow(int current, int rows);

// The row before `current`, the other way round: before row 1 comes the
// last row; 0 when the grid lists no track.
int previousTrackRow(int current, int rows);

// What the timer knows of the player on a tick.
struct PlayerFacts {
    int playState = 0;
    bool playMode = false;
    bool unplayable = false; // nothing of the track set last can be played
    std::string track; // that track, as given to the player
};

// Automatic advance over tracks that cannot be played. A track that fails
// is reported on the display as the next one starts, one failed track a
// tick; when every track the grid lists has failed since something last
// played, the round is over and the play mode ends. The grid may change
// under the round (files added, removed, renamed): a track not tried yet
// keeps the round going.
class AutoAdvance {
public:
    // A person started a track or chose another folder: a new round.
    void newRound();

    // The step for this tick; `tracks` are the grid's rows.
    TickStep tick(const PlayerFacts& facts, const std::vector<TrackRow>& tracks);

    // The text the display shows for a track that cannot be played.
    static std::string report(const std::string& track);

private:
    // A new track is given to the player: its failure, if any, is still to
    // be reported.
    void trackStarted();
    bool roundFailed(const std::vector<TrackRow>& tracks) const;

    std::set<std::string> failed_; // tracks that failed since something last played
    bool reported_ = false; // the track set last was reported
};

} // namespace zondari
