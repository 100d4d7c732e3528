#include "core/printing/caseinsert.h"

#include "core/about/version.h"
#include "core/catalogue/entry.h"
#include "core/common/text.h"
#include "core/printing/insertbands.h"

namespace zondari::printing {
namespace {

using Colour = Surface::Colour;

constexpr double kLeftSpine = 23;
constexpr double kRightSpine = 167;
constexpr double kSpineMiddle = 141 + kSpineLength / 2;

class InsertDrawer {
public:
    InsertDrawer(Surface& s, const Listing& listing, const PrintFont& font, int columns, double scale)
        : s_(s)
        , listing_(listing)
        , font_(font)
        , columns_(columns)
        , scale_(scale)
        , right_(s.width() + 1)
    {
    }

    InsertOutcome draw()
    {
        s_.setFontName(font_.name);
        s_.setFontSize(font_.size * scale_);
        s_.setFontItalic(font_.italic);
        s_.setFontBold(false);
        s_.setFontUnderline(false);
        title();
        InsertOutcome outcome;
        const std::size_t stop = front(outcome);
        // The last front column ends at the panel's edge.
        s_.filledBox(kFrontBand.lastCut, 20, right_, 141, Colour::White);
        std::size_t end = stop;
        if (outcome.frontOverflowed)
            end = back(stop);
        // The back panel's last column ends before the right spine.
        s_.filledBox(kBackBand.lastCut, 140, right_, 258, Colour::White);
        for (std::size_t i = end; i < listing_.entries.size(); ++i)
            if (!listing_.entries[i].empty())
                ++outcome.leftOut;
        spines();
        outlines();
        footer();
        return outcome;
    }

private:
    void title()
    {
        s_.setCurrentY(kFrontBand.top);
        s_.setCurrentX(21);
        s_.setFontBold(true);
        s_.setFontUnderline(true);
        s_.print(listing_.title);
        s_.setFontUnderline(false);
        s_.setFontBold(false);
    }

    // Prints the entries from `first` in the band's columns, each column
    // as far as the next line fits; returns the index of the first entry
    // there is no room for, or the number of entries.
    std::size_t fill(const Band& band, std::size_t first)
    {
        int k = 0;
        int left = columnEdge(band, columns_, 0);
        const auto& entries = listing_.entries;
        for (std::size_t i = first; i < entries.size(); ++i) {
            if (columnFull(band, s_.currentY(), s_.textHeight(kLineTest))) {
                if (++k >= columns_)
                    return i;
                s_.filledBox(band.whiteOut(columns_, k), band.whiteTop, right_, band.whiteBottom, Colour::White);
                s_.setCurrentY(band.top);
                left = columnEdge(band, columns_, k);
            }
            s_.setCurrentX(left);
            entry(entries[i]);
        }
        return entries.size();
    }

    // The front goes on below the title; returns where it stopped.
    std::size_t front(InsertOutcome& outcome)
    {
        const std::size_t stop = fill(kFrontBand, 0);
        if (stop < listing_.entries.size()) {
            outcome.frontOverflowed = true;
            outcome.resumeIndex = stop;
        }
        return stop;
    }

    std::size_t back(std::size_t first)
    {
        s_.setCurrentY(kBackBand.top);
        const std::size_t stop = fill(kBackBand, first);
        if (stop < listing_.entries.size())
            s_.filledBox(164, 141, right_, 259, Colour::White); // the back is full
        return stop;
    }

    void entry(const std::string& e)
    {
        if (e.empty())
            return; // takes no line
        const bool heading = catalogue::isFolderEntry(e);
        s_.setFontBold(heading);
        s_.print(printedLine(e));
        s_.setFontBold(false);
    }

    // The title down both spines, one character a line, each centred on the
    // spine; the font shrinks a point at a time until the title fits, down
    // to one point, below which only the characters that fit are written.
    void spines()
    {
        s_.setFontBold(true);
        std::vector<std::string> chars = text::characters(listing_.title);
        double line = 0;
        double h = 0;
        for (int points = 11;; --points) {
            s_.setFontSize(points * scale_);
            line = s_.textHeight("j");
            h = static_cast<double>(chars.size()) * line;
            if (h <= kSpineLength || points == 1)
                break;
        }
        if (h > kSpineLength && line > 0) {
            chars.resize(static_cast<std::size_t>(kSpineLength / line));
            h = static_cast<double>(chars.size()) * line;
        }
        for (double spine : {kLeftSpine, kRightSpine}) {
            s_.setCurrentY(kSpineMiddle - h / 2);
            for (const std::string& c : chars) {
                s_.setCurrentX(spine - s_.textWidth(c) / 2);
                s_.print(c);
            }
        }
    }

    void outlines()
    {
        s_.box(20, 20, 141, 141);
        s_.box(20, 141, 170, 259);
        s_.line(26, 141, 26, 259);
        s_.line(164, 141, 164, 259);
    }

    void footer()
    {
        s_.setCurrentX(20);
        s_.setCurrentY(266);
        s_.setFontSize(7 * scale_);
        s_.setFontBold(false);
        s_.print(std::string(kFooterLine) + kHomePage);
    }

    Surface& s_;
    const Listing& listing_;
    const PrintFont& font_;
    const int columns_;
    const double scale_;
    const double right_; // past the right edge of the page
};

} // namespace

std::string printedLine(const std::string& entry)
{
    return catalogue::isFolderEntry(entry) ? entry : text::toLower(catalogue::fileNameOf(entry));
}

int frontColumnEdge(int columns, int k)
{
    return static_cast<int>(text::roundHalfEven(120.0 / columns * k + 21));
}

int backColumnEdge(int columns, int k)
{
    return static_cast<int>(text::roundHalfEven(137.0 / columns * k + 27));
}

double frontWhiteOut(int columns, int k)
{
    return 118.0 / columns * k + 20;
}

double backWhiteOut(int columns, int k)
{
    return 135.0 / columns * k + 26;
}

InsertOutcome DrawListing(Surface& target, const Listing& listing, const PrintFont& font, int columns, double scale)
{
    return InsertDrawer(target, listing, font, columns, scale).draw();
}

std::string leftOutLine(std::size_t leftOut)
{
    if (leftOut == 0)
        return {};
    if (leftOut == 1)
        return "1 voce del catalogo non entra nell'etichetta e non sarà stampata.";
    return std::to_string(leftOut) + " voci del catalogo non entrano nell'etichetta e non saranno stampate.";
}

} // namespace zondari::printing
