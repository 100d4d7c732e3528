#include "core/player/mediavolume.h"

#include <cmath>

namespace zondari {

double volumeGain(int hundredthsOfDecibel)
{
    if (hundredthsOfDecibel <= kSilentVolume)
        return 0.0;
    if (hundredthsOfDecibel >= 0)
        return 1.0;
    return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

int volumeOfGain(double gain)
{
    if (!(gain > 0.0)) // also NaN
        return kSilentVolume;
    if (gain >= 1.0)
        return 0;
    const double v = std::round(2000.0 * std::log10(gain));
    return v <= kSilentVolume ? kSilentVolume : static_cast<int>(v);
}

} // namespace zondari
