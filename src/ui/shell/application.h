#pragma once

class QApplication;
class QCoreApplication;
class QString;

namespace zondari {

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
