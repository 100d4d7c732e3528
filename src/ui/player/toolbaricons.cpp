#include "ui/player/toolbaricons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <map>

namespace zondari {

namespace {

// Every picture is drawn on a 24 x 24 grid and scaled to the size asked.
using Drawing = std::function<void(QPainter&, const QColor& ink, const QColor& accent)>;

void drawPlayPause(QPainter& p, const QColor& ink, const QColor& accent)
{
    QPolygonF triangle;
    triangle << QPointF(3, 5) << QPointF(12, 12) << QPointF(3, 19);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawPolygon(triangle);
    p.setBrush(ink);
    p.drawRect(QRectF(14, 5, 3, 14));
    p.drawRect(QRectF(19, 5, 3, 14));
}

void drawVolume(QPainter& p, const QColor& ink, const QColor& accent)
{
    QPolygonF speaker;
    speaker << QPointF(3, 9) << QPointF(7, 9) << QPointF(12, 4) << QPointF(12, 20) << QPointF(7, 15) << QPointF(3, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(speaker);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(accent, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(9, 7, 8, 10), -50 * 16, 100 * 16);
    p.drawArc(QRectF(8, 3, 13, 18), -50 * 16, 100 * 16);
}

void drawTag(QPainter& p, const QColor& ink, const QColor& accent)
{
    QPainterPath tag;
    tag.moveTo(1, 7);
    tag.lineTo(17, 7);
    tag.lineTo(23, 12);
    tag.lineTo(17, 17);
    tag.lineTo(1, 17);
    tag.closeSubpath();
    p.setPen(QPen(ink, 1.2));
    p.setBrush(accent);
    p.drawPath(tag);
    QFont f("DejaVu Sans");
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 7, 16, 10), Qt::AlignCenter, "ID3");
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(19, 12), 1.3, 1.3);
}

void drawDetails(QPainter& p, const QColor& ink, const QColor& accent)
{
    p.setPen(QPen(ink, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 13, 18));
    p.setPen(QPen(ink, 1));
    for (int y = 6; y <= 14; y += 3)
        p.drawLine(QPointF(7, y), QPointF(14, y));
    p.setPen(QPen(accent, 2.2));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(15, 15), 4, 4);
    p.drawLine(QPointF(18, 18), QPointF(22, 22));
}

void drawLetterInCircle(QPainter& p, const QColor& fill, const QString& letter)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(QRectF(2, 2, 20, 20));
    QFont f("DejaVu Sans");
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, letter);
}

void drawHelp(QPainter& p, const QColor&, const QColor& accent)
{
    drawLetterInCircle(p, accent, "?");
}

void drawInformation(QPainter& p, const QColor& ink, const QColor&)
{
    drawLetterInCircle(p, ink, "i");
}

void drawMixer(QPainter& p, const QColor& ink, const QColor& accent)
{
    p.setPen(QPen(ink, 1.2));
    for (const qreal x : {6.5, 17.5}) {
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(x, 9), 5.5, 5.5);
        p.setBrush(accent);
        p.drawEllipse(QPointF(x, 9), 1.8, 1.8);
    }
    p.setPen(QPen(ink, 1.5));
    p.drawLine(QPointF(3, 19), QPointF(21, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRect(QRectF(10, 16, 4, 6));
}

void drawQuit(QPainter& p, const QColor& ink, const QColor& accent)
{
    p.setPen(QPen(ink, 1.4));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(3, 2, 11, 20));
    p.setPen(QPen(accent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 12), QPointF(21, 12));
    p.drawLine(QPointF(17, 8), QPointF(21, 12));
    p.drawLine(QPointF(17, 16), QPointF(21, 12));
}

const std::map<QString, Drawing>& drawings()
{
    static const std::map<QString, Drawing> all = {
        {"riprendi", drawPlayPause},
        {"volume", drawVolume},
        {"ID3", drawTag},
        {"dettagli", drawDetails},
        {"help", drawHelp},
        {"informazioni", drawInformation},
        {"mixer", drawMixer},
        {"quit", drawQuit},
    };
    return all;
}

QPixmap render(const Drawing& draw, int size, const QColor& ink, const QColor& accent)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p, ink, accent);
    return pixmap;
}

} // namespace

QIcon toolbarIcon(const QString& key, int size)
{
    const auto found = drawings().find(key);
    if (found == drawings().end())
        return {};
    QIcon icon;
    icon.addPixmap(render(found->second, size, QColor(0x1d, 0x2b, 0x4f), QColor(0x2f, 0x7a, 0xd8)), QIcon::Normal);
    icon.addPixmap(render(found->second, size, QColor(0x0b, 0x1f, 0x4d), QColor(0xf0, 0x8a, 0x12)), QIcon::Active);
    return icon;
}

} // namespace zondari
