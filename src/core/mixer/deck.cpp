#include "core/mixer/deck.h"

#include <climits>
#include <cmath>

#include "core/catalogue/entry.h"
#include "core/common/text.h"
#include "core/player/advance.h"

namespace zondari::mixer {

namespace {

constexpr int kTicksPerSecond = 20;

} // namespace

std::string loadedCaption(std::string_view fileName)
{
    const auto dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::string tickerTitle(std::string_view fileName, bool playing, bool unplayable)
{
    if (unplayable)
        return AutoAdvance::report(catalogue::fileNameOf(fileName));
    return playing ? text::trimSpaces(catalogue::fileNameOf(fileName)) : kNoSong;
}

std::string Ticker::tick(const std::string& title)
{
    const auto length = static_cast<int>(text::charCount(title));
    if (++position_ > length)
        position_ = 1;
    return text::midChars(title + "   " + title, static_cast<std::size_t>(position_ - 1), kWidth);
}

double sliderSeconds(int value)
{
    return value * 5.0 / 100.0;
}

int sliderMaximum(double durationSeconds)
{
    if (!(durationSeconds > 0.0))
        return 0;
    const double ticks = std::floor(durationSeconds * kTicksPerSecond);
    return ticks >= INT_MAX ? INT_MAX : static_cast<int>(ticks);
}

} // namespace zondari::mixer
