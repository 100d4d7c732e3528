#include <gtest/gtest.h>

#include "core/mixer/automix.h"

using namespace zondari::mixer;

namespace {

// The deck heard, with a track waiting on the other deck and no crossfade
// running.
AutoMixStep step(const DeckNow& heard, std::string_view lead, std::string_view otherLead)
{
    return autoMixStep({heard, true, false}, lead, otherLead);
}

bool nothing(const AutoMixStep& s)
{
    return !s.startCrossfade && !s.startOtherDeck;
}

} // namespace

TEST(AutoMix, OtherDeckStartsFirstThenTheCrossfade)
{
    // A 60-second track, the crossfade 15 seconds before its end, the other
    // deck 5 seconds before that.
    auto at = [](double position) { return step({true, position, 60.0}, "15", "5"); };
    EXPECT_FALSE(at(40.0).startOtherDeck);
    EXPECT_FALSE(at(40.0).startCrossfade);
    EXPECT_TRUE(at(40.5).startOtherDeck);
    EXPECT_FALSE(at(40.5).startCrossfade);
    EXPECT_FALSE(at(45.0).startCrossfade);
    EXPECT_TRUE(at(45.5).startOtherDeck);
    EXPECT_TRUE(at(45.5).startCrossfade);
}

TEST(AutoMix, NothingForADeckSilentUnknownAlreadyFadingOrWithNothingToMixInto)
{
    // Without these, a deck with no track (length 0) looks past its end.
    EXPECT_TRUE(nothing(step({false, 0.0, 0.0}, "15", "5")));
    EXPECT_TRUE(nothing(step({false, 59.0, 60.0}, "15", "5")));
    EXPECT_TRUE(nothing(step({true, 0.5, 0.0}, "15", "5")));
    EXPECT_TRUE(nothing(autoMixStep({{true, 59.0, 60.0}, true, true}, "15", "5")));
    EXPECT_TRUE(nothing(autoMixStep({{true, 59.0, 60.0}, false, false}, "15", "5")));
    // A track shorter than the leads mixes as soon as it plays.
    EXPECT_TRUE(step({true, 0.0, 10.0}, "15", "5").startCrossfade);
}

TEST(AutoMix, SettingsAndTheDeckHeardAreReadAsValReadsThem)
{
    // "20 s" is 20, "abc" is 0, "2.5" two and a half.
    EXPECT_FALSE(step({true, 39.0, 60.0}, "20 s", "abc").startCrossfade);
    EXPECT_TRUE(step({true, 40.5, 60.0}, "20 s", "abc").startCrossfade);
    EXPECT_TRUE(step({true, 40.5, 60.0}, "20 s", "abc").startOtherDeck);
    EXPECT_FALSE(step({true, 40.5, 60.0}, "abc", "abc").startCrossfade);
    EXPECT_TRUE(step({true, 57.6, 60.0}, "2.5", "").startCrossfade);
    EXPECT_FALSE(step({true, 57.4, 60.0}, "2.5", "").startCrossfade);
    // Settings add up as numbers, not as text ("15" & "5" would be 155).
    EXPECT_FALSE(step({true, 50.0, 200.0}, "15", "5").startOtherDeck);
    EXPECT_EQ(deckNamed(" 2"), 2);
    EXPECT_EQ(deckNamed("1.0"), 1);
    EXPECT_EQ(deckNamed("3"), 0);
    EXPECT_EQ(deckNamed("due"), 0);
}

