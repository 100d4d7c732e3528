#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The master volume window's slider: a knob dragged up and down a track.
// The knob's top runs from 0 (the top of the track) to the travel (the
// track's height less the knob's); the top stands for the control's
// maximum, the bottom for its minimum.
namespace zondari::volume {

// The value a knob top stands for, truncated toward the minimum. A top
// outside 0..travel counts as the nearer end; with no travel at all the
// knob can only stand for the maximum.
std::int32_t sliderValue(int knobTop, int travel, std::int32_t minimum, std::int32_t maximum);

// The knob top that shows `value` (to the nearest whole unit), within
// 0..travel. A value outside the bounds is shown at the nearer end.
int knobTopFor(std::int32_t value, int travel, std::int32_t minimum, std::int32_t maximum);

// Where a drag puts the knob: the drag position to the nearest whole
// number (halves to even), held within 0..travel.
int dragKnobTop(double dragPosition, int travel);

// Where the knob opens when the system's volume cannot be read: a quarter
// of the travel from the top.
inline int initialKnobTop(int travel)
{
    return travel > 0 ? travel / 4 : 0;
}

// The volume typed in the value box: a decimal number (spaces around it
// allowed), to the nearest whole number and held within the bounds;
// nothing when the text is not a number.
std::optional<std::int32_t> volumeFromText(std::string_view text, std::int32_t minimum, std::int32_t maximum);

} // namespace zondari::volume
