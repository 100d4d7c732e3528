#include <gtest/gtest.h>
#include <string>
#include <tuple>

#include "core/mixer/automix.h"
#include "core/mixer/crossfader.h"
#include "core/mixer/deck.h"

using namespace zondari::mixer;

TEST(CrossfaderLaw, EndsMiddleAndClampsAndTheDeckHeardChangesJustPastTheMiddle)
{
    // Worked out by hand from the law: left -(e^(0.0006 v) x 30), right
    // -(e^(-0.0006 v) x 12000), silenced below -8000, full above -45.
    const struct {
        int value, left, right;
    } cases[] = {
        {0, 0, -10000}, // -30 is full, -12000 silent
        {675, 0, -10000}, // -44.98 full; -8003.7 silent
        {676, -45, -7999}, // -45.006 stays; -7998.92 rounds
        {5000, -603, -597}, // -602.57, -597.44
        {5001, -603, -597}, // -602.93, -597.09
        {9309, -7995, -45}, // -7995.21, -45.027
        {9310, -10000, 0}, // -8000.004 silent, -44.99997 full
        {10000, -10000, 0}, // -12102.9, -29.7
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            std::pair(crossfaderVolumes(c.value).left, crossfaderVolumes(c.value).right), std::pair(c.left, c.right))
            << c.value;
    EXPECT_EQ(dominantDeck(0) + dominantDeck(5000) + dominantDeck(5001) + dominantDeck(10000), "1122");
}

TEST(AutoMix, TheOtherDeckStartsFirstThenTheCrossfadeWithTheSettingsReadAsValReadsThem)
{
    const struct {
        DeckNow heard;
        bool waiting, fading; // a track on the other deck; a crossfade running
        const char *lead, *otherLead;
        bool otherDeck, crossfade;
    } cases[] = {
        // A 60-second track, the crossfade 15 seconds before its end, the
        // other deck 5 seconds before that.
        {{true, 40.0, 60.0}, true, false, "15", "5", false, false},
        {{true, 40.5, 60.0}, true, false, "15", "5", true, false},
        {{true, 45.5, 60.0}, true, false, "15", "5", true, true},
        // Nothing for a deck silent, of unknown length (it would look past
        // its end), already fading or with nothing to mix into.
        {{false, 59.0, 60.0}, true, false, "15", "5", false, false},
        {{true, 0.5, 0.0}, true, false, "15", "5", false, false},
        {{true, 59.0, 60.0}, true, true, "15", "5", false, false},
        {{true, 59.0, 60.0}, false, false, "15", "5", false, false},
        {{true, 0.0, 10.0}, true, false, "15", "5", true, true}, // shorter than the leads
        // "20 s" is 20, "abc" 0, "2.5" two and a half; they add up as
        // numbers, not as text ("15" & "5" would be 155).
        {{true, 39.0, 60.0}, true, false, "20 s", "abc", false, false},
        {{true, 40.5, 60.0}, true, false, "20 s", "abc", true, true},
        {{true, 40.5, 60.0}, true, false, "abc", "abc", false, false},
        {{true, 57.6, 60.0}, true, false, "2.5", "", true, true},
        {{true, 57.4, 60.0}, true, false, "2.5", "", false, false},
        {{true, 50.0, 200.0}, true, false, "15", "5", false, false},
    };
    for (const auto& c : cases) {
        const AutoMixStep s = autoMixStep({c.heard, c.waiting, c.fading}, c.lead, c.otherLead);
        EXPECT_EQ(std::pair(s.startOtherDeck, s.startCrossfade), std::pair(c.otherDeck, c.crossfade))
            << c.heard.position << " of " << c.heard.duration << " " << c.lead << "+" << c.otherLead;
    }
    for (const auto& [text, deck] : {std::pair{" 2", 2}, {"1.0", 1}, {"3", 0}, {"due", 0}})
        EXPECT_EQ(deckNamed(text), deck) << text;
}

TEST(DeckCaption, IsTheNameWithoutItsExtensionTheTickersTitleTheTrimmedNameWhilePlaying)
{
    for (const auto& [name, caption] : {std::pair{"x.flac", "x"}, {"live.2003.ogg", "live.2003"},
             {"senza estensione", "senza estensione"}, {"Però.wav", "Però"}})
        EXPECT_EQ(loadedCaption(name), caption);
    EXPECT_EQ(tickerTitle("/musica/dischi/ brano.mp3 ", true), "brano.mp3");
    EXPECT_EQ(tickerTitle("C:\\musica\\brano.mp3", true), "brano.mp3");
    EXPECT_EQ(tickerTitle("/musica/brano.mp3", false), "Nessuna canzone");
}
