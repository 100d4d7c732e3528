#pragma once

#include <cstddef>
#include <string>

namespace zondari {

// The player's title display: the title framed by three spaces each side
// moves left one character per tick and wraps, so a title of L characters
// comes round again every L + 6 ticks. The caption is always followed by
// the title itself, so it stays full when the window reaches the frame's
// end.
class TitleScroller {
public:
    static constexpr std::size_t kWidth = 35; // characters of the display

    // Moves on one tick and gives the caption for `title` (UTF-8; counted in
    // characters, not bytes).
    std::string tick(const std::string& title);

    // Starts the next caption at the title's beginning.
    void restart() { position_ = 0; }

    // Where the window starts in the framed title: 1 after the first tick.
    int position() const { return position_; }

private:
    int position_ = 0;
};

} // namespace zondari
