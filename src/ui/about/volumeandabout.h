#pragma once

namespace zondari {

class AppContext;

// Plugs the master volume window (non-modal, in the frame) and the about
// window (modal) into the player's toolbar and the frame's menu.
void registerVolumeAndAbout(AppContext& ctx);

} // namespace zondari
