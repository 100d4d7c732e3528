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

}  // namespace zondari
