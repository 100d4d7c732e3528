#include "platform/qt/pagesurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <algorithm>

namespace zondari {
namespace {

QString q(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr double kLineWidthMm = 0.1;

// Text is measured on a font this many pixels high and scaled down:
// measures taken at the real size are rounded to the device's pixels,
// and the preview, drawn a few pixels high, would then lay the page out
// otherwise than the printer.
constexpr double kReferencePixels = 1000;

} // namespace

PageSurface::PageSurface(QPainter& painter, double pageWidthMm, QPointF pixelsPerMm, QPointF origin)
    : painter_(painter)
    , pageWidth_(pageWidthMm)
    , scale_(pixelsPerMm)
    , origin_(origin)
{
    // The same metrics on screen and on paper: no snapping to pixels.
    font_.setHintingPreference(QFont::PreferNoHinting);
    font_.setPointSizeF(size_);
}

QPointF PageSurface::at(double x, double y) const
{
    return origin_ + QPointF(x * scale_.x(), y * scale_.y());
}

void PageSurface::setFontName(const std::string& name)
{
    font_.setFamily(q(name));
}

void PageSurface::setFontSize(double points)
{
    size_ = points;
    // A font has a size above nothing; the smallest keeps the text unseen.
    font_.setPointSizeF(std::max(points, 0.01));
}

void PageSurface::setFontBold(bool on)
{
    font_.setBold(on);
}

void PageSurface::setFontItalic(bool on)
{
    font_.setItalic(on);
}

void PageSurface::setFontUnderline(bool on)
{
    font_.setUnderline(on);
}

QFontMetricsF PageSurface::reference() const
{
    QFont f = font_;
    f.setPixelSize(static_cast<int>(kReferencePixels));
    return QFontMetricsF(f);
}

// Device pixels per reference pixel: the font's em on the device over the
// reference em.
QPointF PageSurface::em() const
{
    const QPaintDevice* device = painter_.device();
    const double points = font_.pointSizeF() / 72 / kReferencePixels;
    return QPointF(points * device->logicalDpiX(), points * device->logicalDpiY());
}

double PageSurface::textHeight(std::string_view)
{
    return reference().height() * em().y() / scale_.y();
}

double PageSurface::textWidth(std::string_view text)
{
    return reference().horizontalAdvance(q(text)) * em().x() / scale_.x();
}

void PageSurface::drawText(double x, double y, std::string_view text)
{
    painter_.setFont(font_);
    painter_.setPen(Qt::black);
    painter_.drawText(at(x, y) + QPointF(0, reference().ascent() * em().y()), q(text));
}

void PageSurface::line(double x1, double y1, double x2, double y2)
{
    painter_.setPen(QPen(Qt::black, std::max(1.0, kLineWidthMm * scale_.x())));
    painter_.drawLine(at(x1, y1), at(x2, y2));
}

void PageSurface::box(double x1, double y1, double x2, double y2)
{
    painter_.setPen(QPen(Qt::black, std::max(1.0, kLineWidthMm * scale_.x())));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(at(x1, y1), at(x2, y2)).normalized());
}

void PageSurface::filledBox(double x1, double y1, double x2, double y2, Colour colour)
{
    painter_.fillRect(QRectF(at(x1, y1), at(x2, y2)).normalized(), colour == Colour::White ? Qt::white : Qt::black);
}

PrinterSurface::PrinterSurface(QPainter& painter, const QPrinter& printer)
    : PageSurface(painter, printer.pageLayout().fullRect(QPageLayout::Millimeter).width(),
        QPointF(printer.resolution() / 25.4, printer.resolution() / 25.4))
{
}

} // namespace zondari
