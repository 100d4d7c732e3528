#pragma once

class QMdiSubWindow;
class QWidget;

namespace zondari {

class AppContext;

// Plugs the track details window, the details routine and the tag editor
// into the player's commands (the context's openers).
void registerTrackWindows(AppContext& ctx);

// The frame's child window that holds `widget`, if any.
QMdiSubWindow* childWindowOf(QWidget* widget);

// Unloads a window: closes its child window in the frame (or the window).
void unloadWindow(QWidget* widget);

}  // namespace zondari
