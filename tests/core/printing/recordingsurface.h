#pragma once

#include <string>
#include <vector>

#include "core/printing/surface.h"

namespace zondari::test {

// Records what is drawn, with metrics simple enough to work positions out
// by hand: a line is `heightPerPoint` mm per point, a character 0.25 mm per
// point. `order` numbers texts and shapes together, in drawing order.
class RecordingSurface : public printing::Surface {
public:
    struct Text {
        double x, y;
        std::string text, font;
        double size;
        bool bold, italic, underline;
        int order;
    };
    enum Kind { Line, Box, WhiteBox, BlackBox };
    struct Shape {
        Kind kind;
        double x1, y1, x2, y2;
        int order;
    };

    double heightPerPoint = 0.5;
    std::vector<Text> texts;
    std::vector<Shape> shapes;

    void setFontName(const std::string& name) override { font_ = name; }
    void setFontSize(double points) override { size_ = points; }
    double fontSize() const override { return size_; }
    void setFontBold(bool on) override { bold_ = on; }
    void setFontItalic(bool on) override { italic_ = on; }
    void setFontUnderline(bool on) override { underline_ = on; }
    double textHeight(std::string_view) override { return size_ * heightPerPoint; }
    double textWidth(std::string_view t) override { return static_cast<double>(t.size()) * size_ * 0.25; }
    double width() const override { return 210; }
    void line(double x1, double y1, double x2, double y2) override
    {
        shapes.push_back({Line, x1, y1, x2, y2, next_++});
    }
    void box(double x1, double y1, double x2, double y2) override { shapes.push_back({Box, x1, y1, x2, y2, next_++}); }
    void filledBox(double x1, double y1, double x2, double y2, Colour c) override
    {
        shapes.push_back({c == Colour::White ? WhiteBox : BlackBox, x1, y1, x2, y2, next_++});
    }

    std::vector<Text> find(const std::string& text) const
    {
        std::vector<Text> out;
        for (const Text& t : texts)
            if (t.text == text)
                out.push_back(t);
        return out;
    }

protected:
    void drawText(double x, double y, std::string_view text) override
    {
        texts.push_back({x, y, std::string(text), font_, size_, bold_, italic_, underline_, next_++});
    }

private:
    std::string font_;
    double size_ = 0;
    bool bold_ = false, italic_ = false, underline_ = false;
    int next_ = 0;
};

} // namespace zondari::test
