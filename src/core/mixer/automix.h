#pragma once

#include <string_view>

namespace zondari::mixer {

// The automatic mix of the deck being heard: near the end of its track the
// other deck starts (silent until the crossfade brings it in), and a little
// later the crossfade towards it begins.
struct DeckNow {
    bool playing = false;
    double position = 0.0; // seconds
    double duration = 0.0; // seconds; 0 while unknown
};

struct AutoMixStep {
    bool startCrossfade = false; // past duration - lead
    bool startOtherDeck = false; // past duration - (lead + otherLead)
};

// What the automatic mix looks at, on each tick of the tickers.
struct AutoMixScene {
    DeckNow heard; // the deck the crossfader favours
    bool otherHasTrack = false; // the other deck holds a track to mix into
    bool crossfadeRunning = false;
};

// `lead` and `otherLead` are the settings as typed ("15", "5"), read as
// numbers the way Visual Basic's Val reads them. Nothing happens while a
// crossfade runs, when the other deck has no track (the music would fade
// into silence), nor for a deck that is not playing or whose length is not
// known yet (a deck without a track would otherwise look as if it were at
// its end).
AutoMixStep autoMixStep(const AutoMixScene& scene, std::string_view lead, std::string_view otherLead);

// Which deck the crossfade starts from, from the text that names it ("1"
// left, "2" right, read as a number): 1, 2, or 0 for neither.
int deckNamed(std::string_view text);

} // namespace zondari::mixer
