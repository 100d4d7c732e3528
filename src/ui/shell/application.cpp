#include "ui/shell/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zondari {

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool loadItalianTranslations(QCoreApplication& app)
{
    // "qt_it" gathers qtbase_it, qtmultimedia_it and the other modules'
    // catalogues; a system that ships only some of them still has qtbase.
    auto* translator = new QTranslator(&app);
    const QString folder = qtTranslationsFolder();
    if (!translator->load("qt_it", folder) && !translator->load("qtbase_it", folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void prepareApplication(QApplication& app)
{
    QApplication::setApplicationName("Zondari");
    // No display name is set: on X11 Qt appends one, when set, to every
    // top-level window's title ("Zondari - Informazioni — Zondari"), and
    // each window already carries the title it should have.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    loadItalianTranslations(app);
}

} // namespace zondari
