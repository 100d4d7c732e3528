#pragma once

namespace zondari {

class AppContext;

// Plugs the track details window, the details routine and the tag editor
// into the player's commands (the context's openers).
void registerTrackWindows(AppContext& ctx);

} // namespace zondari
