#include "core/player/volumeslider.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/common/text.h"

namespace zondari::volume {

std::int32_t sliderValue(int knobTop, int travel, std::int32_t minimum, std::int32_t maximum)
{
    if (maximum <= minimum)
        return minimum;
    if (travel <= 0)
        return maximum;
    const long long below = travel - std::clamp(knobTop, 0, travel); // distance from the bottom
    const long long range = static_cast<long long>(maximum) - minimum;
    return static_cast<std::int32_t>(minimum + below * range / travel);
}

int knobTopFor(std::int32_t value, int travel, std::int32_t minimum, std::int32_t maximum)
{
    if (travel <= 0 || maximum <= minimum)
        return 0;
    const long long above = std::clamp(value, minimum, maximum) - static_cast<long long>(minimum);
    const long long range = static_cast<long long>(maximum) - minimum;
    // (above × travel / range) to the nearest whole, in integers.
    const long long fromBottom = (2 * above * travel + range) / (2 * range);
    return travel - static_cast<int>(fromBottom);
}

int dragKnobTop(double dragPosition, int travel)
{
    if (!std::isfinite(dragPosition) || travel <= 0)
        return 0;
    const double held = std::clamp(dragPosition, 0.0, static_cast<double>(travel));
    return static_cast<int>(text::roundHalfEven(held));
}

std::optional<std::int32_t> volumeFromText(std::string_view text, std::int32_t minimum, std::int32_t maximum)
{
    const std::string s = text::trimSpaces(text);
    // Digits with an optional sign and decimal point, nothing else.
    std::size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            digits = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    double number = 0;
    const char* first = s.data() + (s[0] == '+' ? 1 : 0);
    if (std::from_chars(first, s.data() + s.size(), number).ec != std::errc())
        return std::nullopt;
    if (maximum < minimum)
        return minimum;
    const double held = std::clamp(number, static_cast<double>(minimum), static_cast<double>(maximum));
    return static_cast<std::int32_t>(text::roundHalfEven(held));
}

} // namespace zondari::volume
