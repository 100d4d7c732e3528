#pragma once

#include <QObject>

namespace zondari {

// Tells the windows that a program-wide value they show has changed. Each
// change is made through the AppContext, which sends the signal; a window
// that shows the value connects to it and shows the value again.
class AppEvents : public QObject {
    Q_OBJECT
signals:
    // The current catalogue's entries, its title; the printed columns.
    void catalogueEntriesChanged();
    void catalogueTitleChanged();
    void printColumnsChanged();
    // The print font's family, italic or bold.
    void printFontChanged();
};

} // namespace zondari
