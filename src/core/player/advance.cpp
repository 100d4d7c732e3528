#include "core/player/advance.h"

#include "core/player/playstate.h"

namespace zondari {

TickStep tickStep(int playState, bool playMode, int rows)
{
    if (playState != kStopped || !playMode)
        return TickStep::DisplayOnly;
    // An empty folder has no row to wrap to; waiting on it would only start
    // music by surprise when the user opens the next folder.
    return rows > 1 ? TickStep::Advance : TickStep::ReleasePlayMode;
}

int nextTrackRow(int current, int rows)
{
    if (rows <= 1)
        return 0;
    return current >= rows - 1 || current < 0 ? 1 : current + 1;
}

}  // namespace zondari
