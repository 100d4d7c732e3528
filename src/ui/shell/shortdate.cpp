#include "ui/shell/shortdate.h"

namespace zondari {

namespace {

// Its name only: no QLocale is made before Qt has read its own locale.
QByteArray& systemLocaleName()
{
    static QByteArray name;
    return name;
}

} // namespace

void rememberSystemLocale(const QByteArray& name)
{
    systemLocaleName() = name;
}

QLocale uiLocale()
{
    const QByteArray& name = systemLocaleName();
    const QLocale system = name.isEmpty() ? QLocale::system() : QLocale(QString::fromLatin1(name));
    return system.language() == QLocale::C ? QLocale(QLocale::Italian, QLocale::Italy) : system;
}

QString shortDate(const QDate& date)
{
    static const QLocale locale = uiLocale();
    static const QString format = [] {
        QString f = locale.dateFormat(QLocale::ShortFormat);
        if (!f.contains("yyyy"))
            f.replace("yy", "yyyy");
        return f;
    }();
    return locale.toString(date, format);
}

} // namespace zondari
