#pragma once

namespace zondari {

class AppContext;
class MDIForm1;

// Starts the program's windows in their order: the frame loads (settings),
// then the player window loads inside it; the frame is shown maximised.
// The windows belong to the returned frame.
MDIForm1* startZondari(AppContext& ctx);

} // namespace zondari
