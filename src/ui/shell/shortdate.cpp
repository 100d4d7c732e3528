#include "ui/shell/shortdate.h"

namespace zondari {

QLocale uiLocale()
{
    const QLocale system = QLocale::system();
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
