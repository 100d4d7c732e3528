#pragma once

namespace zondari {

class AppContext;
class mp3MIXER;

// Joins the DJ mixer to the program: the player's "mixer" button shows it.
void registerMixer(AppContext& ctx);

// The mixer window while it is open, else nothing.
mp3MIXER* findMixer(AppContext& ctx);

} // namespace zondari
