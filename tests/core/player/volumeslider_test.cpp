// (Dragging, typing and opening at the system's volume through the window:
// ui/player/frmvolume_test.cpp.)

#include <gtest/gtest.h>

#include "core/player/volumeslider.h"

using namespace zondari::volume;

TEST(VolumeSlider, TheTopIsTheMaximumTheBottomTheMinimumAndValuesNeverLeaveTheRange)
{
    // A track of 200 pixels: the knob's top, the bounds, the value.
    const struct {
        int top, minimum, maximum, value;
    } cases[] = {
        {0, 0, 65535, 65535}, {200, 0, 65535, 0}, {50, 0, 65535, 49151}, // 0.75 x 65535, truncated
        {200, -6000, 0, -6000}, {100, -6000, 0, -3000}, {150, 100, 300, 150}, {-40, 0, 65536, 65536},
        {260, 10, 20, 10}, // past the ends: the nearer bound
        {137, 0, 0, 0}, // no control
        {0, INT32_MIN, INT32_MAX, INT32_MAX}, {100, INT32_MIN, INT32_MAX, -1}, // no overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(sliderValue(c.top, 200, c.minimum, c.maximum), c.value) << c.top << " " << c.minimum;
    EXPECT_EQ(sliderValue(0, 0, 0, 100), 100); // a knob as tall as the track has no travel
}

TEST(VolumeSlider, TheKnobOpensWhereTheSystemsVolumeIsAndADragKeepsItInsideTheTrack)
{
    EXPECT_EQ(knobTopFor(-1500, 200, -6000, 0), 50);
    EXPECT_EQ(knobTopFor(100, 200, 0, 300), 133); // to the nearest pixel
    EXPECT_EQ(knobTopFor(70000, 200, 0, 65536), 0);
    EXPECT_EQ(knobTopFor(-5, 200, 0, 65536), 200);
    // Every position gives back the value that put the knob there.
    for (int top = 0; top <= 200; ++top)
        EXPECT_EQ(knobTopFor(sliderValue(top, 200, 0, 65536), 200, 0, 65536), top) << top;
    for (const auto& [y, top] : {std::pair{-35.0, 0}, {235.0, 200}, {73.6, 74}, {72.5, 72}}) // halves to even
        EXPECT_EQ(dragKnobTop(y, 200), top) << y;
    EXPECT_EQ(initialKnobTop(200), 50);
}

TEST(VolumeSlider, TheTypedValueIsANumberWithinTheBounds)
{
    for (const auto& [typed, value] : {std::pair{"13.5", 14}, {"99999999999", 65536}, {"-3", 0}})
        EXPECT_EQ(volumeFromText(typed, 0, 65536), value) << typed;
    EXPECT_EQ(volumeFromText("-3", -10, 0), -3);
    for (const char* notANumber : {"", "forte", "12a", "1.2.3", "-", "."})
        EXPECT_FALSE(volumeFromText(notANumber, 0, 65536)) << notANumber;
}
