#pragma once

#include <string>
#include <vector>

#include "core/printing/surface.h"

namespace zondari::test {

// A drawing surface that records what is drawn on it, with metrics simple
// enough to work positions out by hand: a line is `heightPerPoint` mm per
// point of font size, a character `widthPerPoint` mm per point.
class RecordingSurface : public printing::Surface {
public:
    struct Text {
        double x, y;
        std::string text;
        std::string font;
        double size;
        bool bold, italic, underline;
        int order;  // position among everything drawn
    };
    struct Shape {
        enum Kind { Line, Box, WhiteBox, BlackBox } kind;
        double x1, y1, x2, y2;
        int order;
    };

    double heightPerPoint = 0.5;
    double widthPerPoint = 0.25;
    double pageWidth = 210;

    std::vector<Text> texts;
    std::vector<Shape> shapes;

    void setFontName(const std::string& name) override { font_ = name; }
    void setFontSize(double points) override { size_ = points; }
    double fontSize() const override { return size_; }
    void setFontBold(bool on) override { bold_ = on; }
    void setFontItalic(bool on) override { italic_ = on; }
    void setFontUnderline(bool on) override { underline_ = on; }
    double textHeight(std::string_view) override { return size_ * heightPerPoint; }
    double textWidth(std::string_view text) override
    {
        std::size_t chars = 0;
        for (unsigned char c : text)
            chars += (c & 0xC0) != 0x80;
        return static_cast<double>(chars) * size_ * widthPerPoint;
    }
    double width() const override { return pageWidth; }
    void line(double x1, double y1, double x2, double y2) override { add(Shape::Line, x1, y1, x2, y2); }
    void box(double x1, double y1, double x2, double y2) override { add(Shape::Box, x1, y1, x2, y2); }
    void filledBox(double x1, double y1, double x2, double y2, Colour c) override
    {
        add(c == Colour::White ? Shape::WhiteBox : Shape::BlackBox, x1, y1, x2, y2);
    }

    // The drawn texts equal to `text`.
    std::vector<Text> find(const std::string& text) const
    {
        std::vector<Text> out;
        for (const Text& t : texts)
            if (t.text == text)
                out.push_back(t);
        return out;
    }

    std::vector<Shape> shapesOf(Shape::Kind kind) const
    {
        std::vector<Shape> out;
        for (const Shape& s : shapes)
            if (s.kind == kind)
                out.push_back(s);
        return out;
    }

protected:
    void drawText(double x, double y, std::string_view text) override
    {
        texts.push_back({x, y, std::string(text), font_, size_, bold_, italic_, underline_, next_++});
    }

private:
    void add(Shape::Kind kind, double x1, double y1, double x2, double y2)
    {
        shapes.push_back({kind, x1, y1, x2, y2, next_++});
    }

    std::string font_;
    double size_ = 0;
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;
    int next_ = 0;
};

}  // namespace zondari::test
