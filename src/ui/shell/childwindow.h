#pragma once

class QMdiSubWindow;
class QWidget;

namespace zondari {

// The frame's child window that holds `widget`, if any.
QMdiSubWindow* childWindowOf(QWidget* widget);

// The window as it stands on the screen: the child window that holds
// `widget` in the frame, or `widget` itself when it stands alone.
QWidget* windowOf(QWidget* widget);

// Unloads a window: closes its child window in the frame (or the window).
void unloadWindow(QWidget* widget);

} // namespace zondari
