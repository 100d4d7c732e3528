#pragma once

namespace zondari {

// The media player's play state, as the player window tests it.
inline constexpr int kStopped = 0;
inline constexpr int kPaused = 1;
inline constexpr int kPlaying = 2;

} // namespace zondari
