#include <gtest/gtest.h>

#include "core/player/volumeslider.h"

using namespace zondari::volume;

TEST(VolumeSlider, TheTopIsTheMaximumTheBottomTheMinimumAndValuesNeverLeaveTheRange)
{
    // A 0-65535 control on a travel of 200 pixels.
    EXPECT_EQ(sliderValue(0, 200, 0, 65535), 65535);
    EXPECT_EQ(sliderValue(200, 200, 0, 65535), 0);
    // A quarter of the way down: 0.75 x 65535 = 49151.25, truncated.
    EXPECT_EQ(sliderValue(50, 200, 0, 65535), 49151);
    // A minimum other than 0: the whole range is used.
    EXPECT_EQ(sliderValue(200, 200, -6000, 0), -6000);
    EXPECT_EQ(sliderValue(100, 200, -6000, 0), -3000);
    EXPECT_EQ(sliderValue(150, 200, 100, 300), 150);
    // Past the ends of the track: the nearer bound.
    EXPECT_EQ(sliderValue(-40, 200, 0, 65536), 65536);
    EXPECT_EQ(sliderValue(260, 200, 10, 20), 10);
    // No control (bounds 0 and 0): every position is 0.
    EXPECT_EQ(sliderValue(137, 200, 0, 0), 0);
    // A knob as tall as the track has no travel.
    EXPECT_EQ(sliderValue(0, 0, 0, 100), 100);
    // The widest 32-bit range does not overflow.
    EXPECT_EQ(sliderValue(0, 200, INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(sliderValue(100, 200, INT32_MIN, INT32_MAX), -1);
}

TEST(VolumeSlider, TheKnobOpensWhereTheSystemsVolumeIsAndADragKeepsItInsideTheTrack)
{
    EXPECT_EQ(knobTopFor(49152, 200, 0, 65536), 50);
    EXPECT_EQ(knobTopFor(-1500, 200, -6000, 0), 50);
    // To the nearest pixel: 1/3 of 200 is 66.7 above the bottom.
    EXPECT_EQ(knobTopFor(100, 200, 0, 300), 133);
    // Out of the bounds: at the nearer end.
    EXPECT_EQ(knobTopFor(70000, 200, 0, 65536), 0);
    EXPECT_EQ(knobTopFor(-5, 200, 0, 65536), 200);
    // Every position gives back the value that put the knob there.
    for (int top = 0; top <= 200; ++top)
        EXPECT_EQ(knobTopFor(sliderValue(top, 200, 0, 65536), 200, 0, 65536), top) << top;
    EXPECT_EQ(dragKnobTop(-35.0, 200), 0);
    EXPECT_EQ(dragKnobTop(235.0, 200), 200);
    EXPECT_EQ(dragKnobTop(73.6, 200), 74);
    EXPECT_EQ(dragKnobTop(72.5, 200), 72); // halves to even
    EXPECT_EQ(initialKnobTop(200), 50);
}

TEST(VolumeSlider, TheTypedValueIsANumberWithinTheBounds)
{
    EXPECT_EQ(volumeFromText("  1200 ", 0, 65536), 1200);
    EXPECT_EQ(volumeFromText("13.5", 0, 65536), 14);
    EXPECT_EQ(volumeFromText("99999999999", 0, 65536), 65536);
    EXPECT_EQ(volumeFromText("-3", 0, 65536), 0);
    EXPECT_EQ(volumeFromText("-3", -10, 0), -3);
    for (const char* notANumber : {"", "forte", "12a", "1.2.3", "-", "."})
        EXPECT_FALSE(volumeFromText(notANumber, 0, 65536)) << notANumber;
}
