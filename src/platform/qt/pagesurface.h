#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>

#include "core/printing/surface.h"

class QPainter;
class QPrinter;

namespace zondari {

// The drawing surface on a QPainter: page millimetres are mapped onto the
// painter's device from `origin` (device pixels) at `pixelsPerMm`; fonts
// keep their point sizes on the device, so the preview, whose font sizes
// are scaled by the caller, looks like a reduced copy of the page.
class PageSurface : public printing::Surface {
public:
    PageSurface(QPainter& painter, double pageWidthMm, QPointF pixelsPerMm, QPointF origin = {});

    void setFontName(const std::string& name) override;
    void setFontSize(double points) override;
    double fontSize() const override { return size_; }
    void setFontBold(bool on) override;
    void setFontItalic(bool on) override;
    void setFontUnderline(bool on) override;
    double textHeight(std::string_view text) override;
    double textWidth(std::string_view text) override;
    double width() const override { return pageWidth_; }
    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2) override;
    void filledBox(double x1, double y1, double x2, double y2, Colour colour) override;

protected:
    void drawText(double x, double y, std::string_view text) override;

private:
    QPointF at(double x, double y) const;
    QFontMetricsF reference() const;
    QPointF em() const;

    QPainter& painter_;
    double pageWidth_;
    QPointF scale_;
    QPointF origin_;
    QFont font_;
    double size_ = 8;
};

// A surface for the whole printed page of `printer`, which must draw on the
// full paper (the origin is the paper's top-left corner).
class PrinterSurface : public PageSurface {
public:
    PrinterSurface(QPainter& painter, const QPrinter& printer);
};

} // namespace zondari
