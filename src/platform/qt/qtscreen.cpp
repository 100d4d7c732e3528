#include "platform/qt/qtscreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace zondari {

double QtScreen::twipsPerPixel() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int QtScreen::widthTwips() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? static_cast<int>(s->geometry().width() * twipsPerPixel()) : 0;
}

int QtScreen::heightTwips() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? static_cast<int>(s->geometry().height() * twipsPerPixel()) : 0;
}

} // namespace zondari
