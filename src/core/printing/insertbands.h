#pragma once

#include "core/printing/caseinsert.h"

// The text bands of the insert's two panels and the rule that fills their
// columns: shared by the drawing and by the search for a layout that fits,
// so that "fits" there means "nothing left out" here.
namespace zondari::printing {

// Where a band's columns start and end, where each column's left edge and
// the white-out before it are, and how far down the white-outs reach.
struct Band {
    double top, bottom;
    int firstEdge;
    int (*edge)(int columns, int k);
    double (*whiteOut)(int columns, int k);
    double whiteTop, whiteBottom;
};
inline constexpr Band kFrontBand{21, 140, 21, frontColumnEdge, frontWhiteOut, 20, 141};
inline constexpr Band kBackBand{142, 259, 27, backColumnEdge, backWhiteOut, 141, 259};

// The text whose height, in the entries' regular font, decides whether one
// more line fits in a column.
inline constexpr const char* kLineTest = "J";

// A column is full when the next line, starting at `y`, would pass the
// band's bottom.
inline bool columnFull(const Band& band, double y, double lineTest)
{
    return y + lineTest > band.bottom;
}

} // namespace zondari::printing
