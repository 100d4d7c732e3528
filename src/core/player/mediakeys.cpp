#include "core/player/mediakeys.h"

#include <cmath>

#include "core/player/playstate.h"

namespace zondari::mediakeys {

const char* playbackStatus(int playState, bool playMode)
{
    if (playState == kPlaying || (playState == kStopped && playMode))
        return "Playing";
    return playState == kPaused ? "Paused" : "Stopped";
}

std::int64_t microseconds(double seconds)
{
    if (!(seconds > 0.0))
        return 0;
    return static_cast<std::int64_t>(std::llround(seconds * 1e6));
}

TrackText trackText(const std::string& path, const std::optional<TagRecord>& tag)
{
    TrackText t;
    if (tag) {
        t.title = id3v1::fieldText(tag->Title);
        t.artist = id3v1::fieldText(tag->Artist);
        t.album = id3v1::fieldText(tag->Album);
    }
    if (t.title.find_first_not_of(' ') == std::string::npos) {
        const auto slash = path.rfind('/');
        t.title = slash == std::string::npos ? path : path.substr(slash + 1);
    }
    return t;
}

} // namespace zondari::mediakeys
