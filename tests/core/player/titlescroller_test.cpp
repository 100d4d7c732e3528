#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/common/text.h"
#include "core/player/titlescroller.h"

using namespace zondari;

namespace {

std::vector<std::string> captions(const std::string& title, int ticks)
{
    TitleScroller s;
    std::vector<std::string> out;
    for (int i = 0; i < ticks; ++i)
        out.push_back(s.tick(title));
    return out;
}

// The smallest p with caption[i] == caption[i + p] for every i shown.
int periodOf(const std::vector<std::string>& c)
{
    for (std::size_t p = 1; p < c.size(); ++p) {
        bool repeats = true;
        for (std::size_t i = 0; i + p < c.size() && repeats; ++i)
            repeats = c[i] == c[i + p];
        if (repeats)
            return static_cast<int>(p);
    }
    return 0;
}

} // namespace

TEST(TitleScroller, MovesLeftOneCharacterPerTickAndComesRoundAfterLengthPlusSix)
{
    const auto c = captions("abc", 30);
    EXPECT_EQ(c[0], "   abc   abc");
    EXPECT_EQ(c[1], "  abc   abc");
    EXPECT_EQ(c[3], "abc   abc");
    EXPECT_EQ(c[4], "bc   abc");
    EXPECT_EQ(c[8], " abc");
    EXPECT_EQ(c[9], c[0]);
    EXPECT_EQ(periodOf(c), 9);

    // An empty title shows blanks.
    const auto blank = captions("", 18);
    EXPECT_EQ(periodOf(blank), 6);
    EXPECT_EQ(blank[0], "      ");
    EXPECT_EQ(blank[5], " ");
}

TEST(TitleScroller, LongTitleFillsTheThirtyFiveCharacterDisplay)
{
    const std::string title = "Pink Floyd - Shine On You Crazy Diamond (Parts I-V).mp3"; // 55 characters
    const auto c = captions(title, 3 * 61);
    EXPECT_EQ(periodOf(c), 61);
    for (const auto& caption : c)
        EXPECT_EQ(caption.size(), 35u) << caption;
    EXPECT_EQ(c[0], "   Pink Floyd - Shine On You Crazy ");
    // Near the end of the framed title the title itself follows on.
    EXPECT_EQ(c[54], ".mp3   Pink Floyd - Shine On You Cr");
    EXPECT_EQ(c[57], "3   Pink Floyd - Shine On You Crazy");
}

TEST(TitleScroller, CountsCharactersNotBytes)
{
    const std::string title = "Città è già qui"; // 15 characters, 18 bytes
    const auto c = captions(title, 63);
    EXPECT_EQ(periodOf(c), 21);
    EXPECT_EQ(c[3], title + "   " + title);
    EXPECT_EQ(c[4], "ittà è già qui   Città è già qui");
    EXPECT_EQ(text::charCount(c[0]), 3u + 15u + 3u + 14u);
}
