#pragma once

#include <string>
#include <string_view>

// The rules of one deck of the mixer: the title it shows, its ticker and
// its position slider.
namespace zondari::mixer {

// What a deck shows while it plays nothing.
inline constexpr const char* kNoSong = "Nessuna canzone";

// The caption a deck takes when a file is loaded: the name without its
// extension (the text before the last "."), so "x.flac" shows "x".
std::string loadedCaption(std::string_view fileName);

// The title the ticker scrolls: the trimmed name part (after the last "/"
// or "\") of the deck's file while the deck plays; "Impossibile riprodurre: "
// and that name when the file turned out not to be playable, so that a
// failed file is told from an empty deck; else "Nessuna canzone".
std::string tickerTitle(std::string_view fileName, bool playing, bool unplayable = false);

// A deck's title ticker: on each tick the window of 25 characters of
// title & "   " & title moves on by one character, and comes round again
// after as many ticks as the title has characters. Characters, not bytes.
class Ticker {
public:
    static constexpr std::size_t kWidth = 25;

    // Moves on one tick and gives the text to show for `title` (UTF-8).
    std::string tick(const std::string& title);

    // Where the window starts in the title: 1 after the first tick.
    int position() const { return position_; }

private:
    int position_ = 0;
};

// The position slider counts twentieths of a second: the deck goes to
// value x 5 / 100 seconds, and a track of d seconds spans the values
// 0..d x 20.
double sliderSeconds(int value);
int sliderMaximum(double durationSeconds);

} // namespace zondari::mixer
