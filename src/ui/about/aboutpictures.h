#pragma once

#include <QPixmap>
#include <array>

namespace zondari {

// The about window's pictures, drawn by the program.

// The three frames of the animation: a spinning disc with a note that
// bounces over it.
std::array<QPixmap, 3> animationFrames();

// The picture that links to the maker's web site: a globe.
QPixmap webSitePicture();

// The picture of the "System info" button: a computer screen.
QPixmap systemInfoPicture();

} // namespace zondari
