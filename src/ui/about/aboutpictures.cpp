#include "ui/about/aboutpictures.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace zondari {
namespace {

constexpr int kFrameSize = 64;

// A transparent picture of `size` pixels drawn by `draw`.
template <class Draw> QPixmap drawn(int size, Draw draw)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pm;
}

void drawDisc(QPainter& p, double angle)
{
    const QPointF c(kFrameSize / 2.0, kFrameSize / 2.0 + 6);
    const double r = 24;
    // The rainbow sheen of a CD turns with the disc.
    QConicalGradient sheen(c, angle);
    sheen.setColorAt(0.00, QColor(0xd8, 0xdd, 0xe6));
    sheen.setColorAt(0.10, QColor(0x9f, 0xd8, 0xff));
    sheen.setColorAt(0.20, QColor(0xff, 0xe0, 0x8a));
    sheen.setColorAt(0.30, QColor(0xd8, 0xdd, 0xe6));
    sheen.setColorAt(0.60, QColor(0xf2, 0xa3, 0xd8));
    sheen.setColorAt(0.70, QColor(0xd8, 0xdd, 0xe6));
    sheen.setColorAt(1.00, QColor(0xd8, 0xdd, 0xe6));
    p.setPen(QPen(QColor(0x5a, 0x64, 0x78), 1));
    p.setBrush(sheen);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(0xf4, 0xf6, 0xfa));
    p.drawEllipse(c, 7, 7);
    p.setBrush(QColor(0x1d, 0x24, 0x33));
    p.drawEllipse(c, 2.5, 2.5);
}

void drawNote(QPainter& p, double y)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x5f, 0xb3));
    p.drawEllipse(QPointF(46, y + 14), 5, 3.8);
    p.setPen(QPen(QColor(0x2f, 0x5f, 0xb3), 2));
    p.drawLine(QPointF(50.5, y + 14), QPointF(50.5, y));
    QPainterPath flag;
    flag.moveTo(50.5, y);
    flag.cubicTo(56, y + 2, 58, y + 6, 55, y + 10);
    p.setBrush(Qt::NoBrush);
    p.drawPath(flag);
}

} // namespace

std::array<QPixmap, 3> animationFrames()
{
    std::array<QPixmap, 3> frames;
    constexpr std::array<double, 3> noteHeights = {2, 8, 14};
    for (std::size_t i = 0; i < frames.size(); ++i) {
        frames[i] = drawn(kFrameSize, [&](QPainter& p) {
            drawDisc(p, 120.0 * static_cast<double>(i));
            drawNote(p, noteHeights[i]);
        });
    }
    return frames;
}

QPixmap webSitePicture()
{
    return drawn(48, [](QPainter& p) {
        const QPointF c(24, 24);
        QRadialGradient sea(QPointF(18, 18), 26);
        sea.setColorAt(0, QColor(0x9f, 0xd8, 0xff));
        sea.setColorAt(1, QColor(0x2f, 0x5f, 0xb3));
        p.setBrush(sea);
        p.setPen(QPen(QColor(0x0b, 0x1f, 0x4d), 1.5));
        p.drawEllipse(c, 20, 20);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xf4, 0xf6, 0xfa), 1.2));
        p.drawEllipse(c, 9, 20);
        p.drawLine(QPointF(4, 24), QPointF(44, 24));
        p.drawLine(QPointF(24, 4), QPointF(24, 44));
        p.drawLine(QPointF(7, 14), QPointF(41, 14));
        p.drawLine(QPointF(7, 34), QPointF(41, 34));
    });
}

QPixmap systemInfoPicture()
{
    return drawn(32, [](QPainter& p) {
        p.setPen(QPen(QColor(0x1d, 0x24, 0x33), 1.5));
        p.setBrush(QColor(0x2f, 0x5f, 0xb3));
        p.drawRoundedRect(QRectF(3, 4, 26, 18), 2, 2);
        p.setPen(QPen(QColor(0xf4, 0xf6, 0xfa), 2));
        p.drawLine(QPointF(16, 9), QPointF(16, 9.5));
        p.drawLine(QPointF(16, 12.5), QPointF(16, 18));
        p.setPen(QPen(QColor(0x1d, 0x24, 0x33), 1.5));
        p.setBrush(QColor(0x8c, 0x9b, 0xb8));
        p.drawRect(QRectF(13, 22, 6, 4));
        p.drawRoundedRect(QRectF(8, 26, 16, 3), 1, 1);
    });
}

} // namespace zondari
