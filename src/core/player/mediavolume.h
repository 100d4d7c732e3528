#pragma once

namespace zondari {

// Media player volumes are hundredths of a decibel: 0 is full volume,
// -10000 is silent.
inline constexpr int kSilentVolume = -10000;

// The linear gain of a volume: 10^(v / 2000), exactly 0 when silent; values
// outside -10000..0 are held at the nearer end.
double volumeGain(int hundredthsOfDecibel);

// The volume of a linear gain, to the nearest hundredth of a decibel: 0 and
// below are silent, 1 and above full volume (a player does not amplify).
int volumeOfGain(double gain);

} // namespace zondari
