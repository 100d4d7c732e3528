#include "core/player/advance.h"

#include <algorithm>

#include "core/common/text.h"
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

int previousTrackRow(int current, int rows)
{
    if (rows <= 1)
        return 0;
    return current <= 1 || current > rows - 1 ? rows - 1 : current - 1;
}

void AutoAdvance::newRound()
{
    failed_.clear();
    trackStarted();
}

void AutoAdvance::trackStarted()
{
    reported_ = false;
}

std::string AutoAdvance::report(const std::string& track)
{
    return "Impossibile riprodurre: " + text::trimSpaces(track);
}

bool AutoAdvance::roundFailed(const std::vector<TrackRow>& tracks) const
{
    return std::all_of(tracks.begin(), tracks.end(),
        [this](const TrackRow& r) { return failed_.count(text::trimSpaces(r.title)) > 0; });
}

TickStep AutoAdvance::tick(const PlayerFacts& facts, const std::vector<TrackRow>& tracks)
{
    if (facts.playState != kStopped)
        return TickStep::DisplayOnly;
    // No track named yet ("riprendi" before any choice) is nothing to
    // report: the advance starts the first row.
    const std::string track = text::trimSpaces(facts.track);
    const bool failed = facts.unplayable && !track.empty();
    const bool news = failed && !reported_;
    if (news) {
        reported_ = true;
        if (!facts.playMode)
            return TickStep::ReportUnplayable;
        failed_.insert(track);
        if (roundFailed(tracks))
            return TickStep::ReportUnplayableAndRelease;
    }
    const TickStep step = tickStep(facts.playState, facts.playMode, static_cast<int>(tracks.size()) + 1);
    if (step != TickStep::Advance)
        return step;
    if (!facts.unplayable)
        failed_.clear(); // it played to its end
    trackStarted();
    return news ? TickStep::SkipUnplayable : TickStep::Advance;
}

} // namespace zondari
