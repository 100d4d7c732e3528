#pragma once

#include <string>
#include <string_view>

namespace zondari::printing {

// A page to draw on, in millimetres from its drawing origin: the printed
// page, or the preview picture scaled so that the same millimetres cover
// it. Text goes where a line printer would put it: a printed line starts
// at the current position with its top there, and leaves the position at
// the left edge of the next line.
class Surface {
public:
    virtual ~Surface() = default;

    virtual void setFontName(const std::string& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual double fontSize() const = 0;
    virtual void setFontBold(bool on) = 0;
    virtual void setFontItalic(bool on) = 0;
    virtual void setFontUnderline(bool on) = 0;

    // The height of a line of `text` and its advance, in the current font.
    virtual double textHeight(std::string_view text) = 0;
    virtual double textWidth(std::string_view text) = 0;

    // The width of the drawing area.
    virtual double width() const = 0;

    // Black lines and outlines, and filled boxes in black or white, given
    // by two opposite corners.
    enum class Colour { Black, White };
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void box(double x1, double y1, double x2, double y2) = 0;
    virtual void filledBox(double x1, double y1, double x2, double y2, Colour colour) = 0;

    double currentY() const { return currentY_; }
    void setCurrentX(double x) { currentX_ = x; }
    void setCurrentY(double y) { currentY_ = y; }

    // Prints `text` as one line at the current position and moves to the
    // next line.
    void print(std::string_view text)
    {
        drawText(currentX_, currentY_, text);
        currentY_ += textHeight(text);
        currentX_ = 0;
    }

protected:
    // Draws `text` with the top of its line at `y`.
    virtual void drawText(double x, double y, std::string_view text) = 0;

private:
    double currentX_ = 0;
    double currentY_ = 0;
};

} // namespace zondari::printing
