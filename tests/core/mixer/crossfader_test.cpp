#include <gtest/gtest.h>

#include "core/mixer/crossfader.h"

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
