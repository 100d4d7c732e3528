#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/mixer/deck.h"

using namespace zondari::mixer;

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
