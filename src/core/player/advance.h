#pragma once

namespace zondari {

// What the player's timer does on a tick besides the title.
enum class TickStep {
    DisplayOnly,      // nothing to start: playing, paused, or the user stopped
    Advance,          // the track ended with the play mode on: start the next row
    ReleasePlayMode,  // the play mode is on but the grid lists no track
};

// The rule of automatic advance: only a stopped player with the play mode
// on moves on. `rows` counts the grid's rows with its header.
TickStep tickStep(int playState, bool playMode, int rows);

// The row after `current` in a grid of `rows` rows (the header is row 0):
// after the last row comes row 1 again; 0 when the grid lists no track.
int nextTrackRow(int current, int rows);

}  // namespace zondari
