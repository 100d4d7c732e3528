#include "core/mixer/crossfader.h"

#include <cmath>

#include "core/common/text.h"
#include "core/player/mediavolume.h"

namespace zondari::mixer {

namespace {

constexpr int kMiddle = 5000;
constexpr double kSilenceBelow = -8000.0;
constexpr double kFullAbove = -45.0;

int clampVolume(double v)
{
    if (v < kSilenceBelow)
        return kSilentVolume;
    if (v > kFullAbove)
        return 0;
    return static_cast<int>(text::roundHalfEven(v));
}

} // namespace

DeckVolumes crossfaderVolumes(int value)
{
    const double v = value;
    const double left = -(std::exp(0.0006 * v) * 30.0);
    const double right = -(std::exp(-0.0006 * v) * 12000.0);
    return {clampVolume(left), clampVolume(right)};
}

std::string dominantDeck(int value)
{
    return value > kMiddle ? "2" : "1";
}

DeckVolumes openingVolumes(int value)
{
    return {-value, value - kCrossfaderMax};
}

FadeTick crossfadeTick(int value, Fade direction)
{
    if (direction == Fade::TowardsRight) {
        if (value >= kCrossfaderMax)
            return {true, value};
        return {false, value + kCrossfadeStep > kCrossfaderMax ? kCrossfaderMax : value + kCrossfadeStep};
    }
    if (value <= kCrossfaderMin)
        return {true, value};
    return {false, value - kCrossfadeStep < kCrossfaderMin ? kCrossfaderMin : value - kCrossfadeStep};
}

} // namespace zondari::mixer
