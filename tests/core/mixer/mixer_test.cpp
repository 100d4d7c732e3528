#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/mixer/automix.h"
#include "core/mixer/crossfader.h"
#include "core/mixer/deck.h"

using namespace zondari::mixer;

namespace {

// Values worked out by hand from the law: left -(e^(0.0006 v) x 30), right
// -(e^(-0.0006 v) x 12000), silenced below -8000, full above -45.
struct LawCase {
    int value;
    int left;
    int right;
};

} // namespace

TEST(CrossfaderLaw, EndsMiddleAndClampsAndTheDeckHeardChangesJustPastTheMiddle)
{
    const LawCase cases[] = {
        {0, 0, -10000}, // -30 is full, -12000 silent
        {675, 0, -10000}, // -44.98 full; -8003.7 silent
        {676, -45, -7999}, // -45.006 stays; -7998.92 rounds
        {5000, -603, -597}, // -602.57, -597.44
        {5001, -603, -597}, // -602.93, -597.09
        {9309, -7995, -45}, // -7995.21, -45.027
        {9310, -10000, 0}, // -8000.004 silent, -44.99997 full
        {10000, -10000, 0}, // -12102.9, -29.7
    };
    for (const LawCase& c : cases) {
        const DeckVolumes v = crossfaderVolumes(c.value);
        EXPECT_EQ(v.left, c.left) << c.value;
        EXPECT_EQ(v.right, c.right) << c.value;
    }
    EXPECT_EQ(dominantDeck(0), "1");
    EXPECT_EQ(dominantDeck(5000), "1");
    EXPECT_EQ(dominantDeck(5001), "2");
    EXPECT_EQ(dominantDeck(10000), "2");
}

TEST(Crossfade, FromZeroReachesTheEndInThirtyOneStepsThenFinishes)
{
    int value = 0;
    for (int step = 1; step <= 30; ++step) {
        const FadeTick t = crossfadeTick(value, Fade::TowardsRight);
        ASSERT_FALSE(t.finished) << step;
        value = t.value;
    }
    EXPECT_EQ(value, 9990);
    const FadeTick last = crossfadeTick(value, Fade::TowardsRight);
    EXPECT_FALSE(last.finished);
    EXPECT_EQ(last.value, 10000); // 10323 would pass the end
    const FadeTick done = crossfadeTick(last.value, Fade::TowardsRight);
    EXPECT_TRUE(done.finished);
    EXPECT_EQ(done.value, 10000);
}

TEST(Crossfade, TowardsTheLeftStopsAtZero)
{
    int value = 10000;
    int steps = 0;
    for (FadeTick t = crossfadeTick(value, Fade::TowardsLeft); !t.finished && steps < 40;
         t = crossfadeTick(value, Fade::TowardsLeft), ++steps)
        value = t.value;
    EXPECT_EQ(steps, 31);
    EXPECT_EQ(value, 0);
    // From a fader moved near its end by hand, the next step stops there.
    EXPECT_EQ(crossfadeTick(200, Fade::TowardsLeft).value, 0);
    EXPECT_EQ(crossfadeTick(9800, Fade::TowardsRight).value, 10000);
}

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

TEST(DeckCaption, IsTheNameWithoutItsExtensionTheTickersTitleTheTrimmedNameWhilePlaying)
{
    EXPECT_EQ(loadedCaption("x.flac"), "x");
    EXPECT_EQ(loadedCaption("live.2003.ogg"), "live.2003");
    EXPECT_EQ(loadedCaption("senza estensione"), "senza estensione");
    EXPECT_EQ(loadedCaption("Però.wav"), "Però");
    EXPECT_EQ(tickerTitle("/musica/dischi/ brano.mp3 ", true), "brano.mp3");
    EXPECT_EQ(tickerTitle("C:\\musica\\brano.mp3", true), "brano.mp3");
    EXPECT_EQ(tickerTitle("/musica/brano.mp3", false), "Nessuna canzone");
}

TEST(DeckTicker, AShortTitleShowsItselfThreeSpacesAndItselfAgain)
{
    Ticker t;
    const std::vector<std::string> expected = {"abcd   abcd", "bcd   abcd", "cd   abcd", "d   abcd"};
    for (int round = 0; round < 2; ++round)
        for (const std::string& e : expected)
            EXPECT_EQ(t.tick("abcd"), e) << round;
    EXPECT_EQ(t.position(), 4);
}

TEST(DeckTicker, ALongTitleShowsTwentyFiveCharactersNotBytes)
{
    Ticker t;
    // "è" and "ò" are two bytes each: the window counts them as one.
    const std::string accented = "Perché è così però.mp3"; // 22 characters
    EXPECT_EQ(t.tick(accented), "Perché è così però.mp3   ");
    EXPECT_EQ(t.tick(accented), "erché è così però.mp3   P");
    for (int i = 3; i <= 22; ++i)
        t.tick(accented);
    EXPECT_EQ(t.tick(accented), "Perché è così però.mp3   "); // round again after 22 ticks
}

TEST(DeckTicker, AShorterTitleTakesTheTickerBackToItsStart)
{
    Ticker t;
    for (int i = 0; i < 10; ++i)
        t.tick("una canzone lunga.mp3");
    ASSERT_EQ(t.position(), 10);
    EXPECT_EQ(t.tick("abc"), "abc   abc"); // 11 passes the 3 characters
    EXPECT_EQ(t.tick(""), "   ");
}

TEST(DeckSlider, CountsTwentiethsOfASecond)
{
    EXPECT_DOUBLE_EQ(sliderSeconds(200), 10.0);
    EXPECT_DOUBLE_EQ(sliderSeconds(3), 0.15);
    EXPECT_EQ(sliderMaximum(3.5), 70);
    EXPECT_EQ(sliderMaximum(180.04), 3600);
    EXPECT_EQ(sliderMaximum(0.0), 0);
}
