#pragma once

#include <QByteArray>
#include <optional>

class QApplication;
class QCoreApplication;
class QString;

namespace zondari {

// Qt formats what its own dialogs show (the file dialog's dates, the print
// dialog's numbers) in the system's locale, which it reads from the
// environment while the application is made; Zondari speaks Italian
// whatever LANG says. Made before the QApplication and told once it is
// made: Qt reads an Italian locale, then the environment and the C
// library's locale are put back as they were, for the programs Zondari
// starts. The dates of the track grid keep the system's own short format,
// taken first.
class ItalianLocale {
public:
    ItalianLocale();
    void applicationMade();

private:
    std::optional<QByteArray> lcAll_; // as it was; nullopt when it was not set
};

// Readies the Qt application as Zondari before any window is made: its
// name, Qt's own texts (standard buttons, file, folder and print dialogs)
// in Italian, and Qt's own dialogs rather than another toolkit's, which
// would speak the desktop's language.
void prepareApplication(QApplication& app);

// Loads Qt's Italian catalogues from Qt's translations folder, whatever the
// user's locale: the program speaks Italian everywhere. False when they are
// not installed (the dialogs then stay in English).
bool loadItalianTranslations(QCoreApplication& app);

// Qt's translations folder.
QString qtTranslationsFolder();

} // namespace zondari
