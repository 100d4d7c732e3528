#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/common/text.h"
#include "core/player/titlescroller.h"

using namespace zondari;

namespace {

// The captions of `ticks` ticks; fails unless they come round every `period`.
std::vector<std::string> captions(const std::string& title, int ticks, int period)
{
    TitleScroller s;
    std::vector<std::string> out;
    for (int i = 0; i < ticks; ++i)
        out.push_back(s.tick(title));
    for (int i = 0; i < ticks; ++i)
        EXPECT_EQ(out[i], out[i % period]) << title << " tick " << i;
    for (int p = 1; p < period; ++p) {
        bool repeats = true;
        for (int i = 0; i + p < ticks; ++i)
            repeats = repeats && out[i] == out[i + p];
        EXPECT_FALSE(repeats) << title << " comes round after " << p;
    }
    return out;
}

} // namespace

TEST(TitleScroller, MovesLeftOneCharacterATickAndComesRoundAfterItsLengthAndSix)
{
    const auto c = captions("abc", 30, 9);
    for (const auto& [i, caption] : {std::pair{0, "   abc   abc"}, {1, "  abc   abc"}, {4, "bc   abc"}, {8, " abc"}})
        EXPECT_EQ(c[i], caption) << i;
    EXPECT_EQ(captions("", 18, 6)[5], " "); // an empty title shows blanks

    // A long title fills the 35-character display.
    const std::string title = "Pink Floyd - Shine On You Crazy Diamond (Parts I-V).mp3"; // 55 characters
    const auto l = captions(title, 3 * 61, 61);
    for (const auto& caption : l)
        EXPECT_EQ(caption.size(), 35u) << caption;
    EXPECT_EQ(l[0], "   Pink Floyd - Shine On You Crazy ");
    EXPECT_EQ(l[54], ".mp3   Pink Floyd - Shine On You Cr"); // the title itself follows on
}

TEST(TitleScroller, CountsCharactersNotBytes)
{
    const std::string title = "Città è già qui"; // 15 characters, 18 bytes
    const auto c = captions(title, 63, 21);
    EXPECT_EQ(c[3], title + "   " + title);
    EXPECT_EQ(c[4], "ittà è già qui   Città è già qui");
    EXPECT_EQ(text::charCount(c[0]), 3u + 15u + 3u + 14u);
}
