#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/tags/id3v1.h"

// What the desktop's media keys and sound applet (MPRIS 2) are told of the
// player window.
namespace zondari::mediakeys {

// "Playing", "Paused" or "Stopped". A stopped player whose play mode is on
// is between two tracks (the timer is about to start the next): still
// "Playing", so that the applet does not flicker at every track's end.
const char* playbackStatus(int playState, bool playMode);

// Seconds as the whole microseconds MPRIS counts in.
std::int64_t microseconds(double seconds);

// The texts of a track: the ID3v1 title, or the file name when the file has
// no tag or an empty title; the artist and album as the tag holds them
// (empty without a tag).
struct TrackText {
    std::string title;
    std::string artist;
    std::string album;
};
TrackText trackText(const std::string& path, const std::optional<TagRecord>& tag);

} // namespace zondari::mediakeys
