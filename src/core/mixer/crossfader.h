#pragma once

#include <string>

namespace zondari::mixer {

// The crossfader runs from 0 (the left deck alone) to 10000 (the right deck
// alone). Volumes are the media player's: hundredths of a decibel, 0 full,
// -10000 silent.
inline constexpr int kCrossfaderMin = 0;
inline constexpr int kCrossfaderMax = 10000;
// One tick of a timed crossfade: 31 ticks go from one end to the other.
inline constexpr int kCrossfadeStep = 333;

struct DeckVolumes {
    int left = 0;
    int right = 0;
};

// The law of the crossfader at `value`: each deck's volume falls
// exponentially as the fader moves away from it, the left as
// -(e^(0.0006 v) x 30), the right as -(e^(-0.0006 v) x 12000); below -8000
// a deck is silenced, above -45 it is at full volume. Whole numbers, halves
// to even.
DeckVolumes crossfaderVolumes(int value);

// The deck that the fader favours, as the window shows it: "2" past the
// middle (5000), else "1".
std::string dominantDeck(int value);

// The volumes the window opens with: a straight line from the fader's value
// (left -value, right value - 10000).
DeckVolumes openingVolumes(int value);

// One tick of a timed crossfade. Towards the right deck the fader moves up
// by 333 and stops at 10000; towards the left, down to 0. Once the fader is
// at its end the tick moves nothing and says so: the deck faded out is
// stopped and the fade ends.
enum class Fade { TowardsRight, TowardsLeft };
struct FadeTick {
    bool finished = false; // the fader was already at the end
    int value = 0; // where the fader goes (its value when finished)
};
FadeTick crossfadeTick(int value, Fade direction);

} // namespace zondari::mixer
