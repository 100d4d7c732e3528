#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace zondari {

// The locale dates and times are shown in: the system's, or Italian when the
// system names none (the "C" locale of a bare session).
QLocale uiLocale();

// The system's locale, as the environment names it, before Qt is told to
// read another (see ItalianLocale).
void rememberSystemLocale(const QByteArray& name);

// A date in the short format, with the year in four digits as the program's
// users know it from their desktop ("06/12/2026" in Italy).
QString shortDate(const QDate& date);

} // namespace zondari
