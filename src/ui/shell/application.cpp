#include "ui/shell/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <array>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "ui/shell/shortdate.h"

namespace zondari {

namespace {

struct Translation {
    const char* context;
    const char* source;
    const char* italian;
};

// What Qt's own Italian catalogue lacks of the dialogs the program shows:
// texts that Qt 6 moved or added after the catalogue was made.
constexpr std::array<Translation, 12> kMissing = {{
    {"QAbstractFileIconProvider", "Folder", "Cartella"},
    {"QAbstractFileIconProvider", "Drive", "Unità"},
    {"QAbstractFileIconProvider", "Shortcut", "Collegamento"},
    {"QAbstractFileIconProvider", "%1 File", "File %1"},
    {"QPrintSettingsOutput", "Pages", "Pagine"},
    {"QPrintSettingsOutput",
        "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
        "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
        "Pagine o intervalli separati da virgole; un intervallo è dato da due numeri separati da un trattino. "
        "Per esempio 3,5-7,9 stampa le pagine 3, 5, 6, 7 e 9."},
    {"QPrintSettingsOutput", "Double Sided Printing", "Stampa fronte/retro"},
    {"QPrintSettingsOutput", "Off", "No"},
    {"QPrintSettingsOutput", "Long side binding", "Rilegatura sul lato lungo"},
    {"QPrintSettingsOutput", "Short side binding", "Rilegatura sul lato corto"},
    {"QPrintPropertiesWidget", "Advanced", "Avanzate"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
        "Alcune opzioni sono in conflitto: correggerle."},
}};

// The program's own small catalogue, asked after Qt's.
class MissingItalian : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        for (const Translation& t : kMissing)
            if (context && source && std::strcmp(context, t.context) == 0 && std::strcmp(source, t.source) == 0)
                return QString::fromUtf8(t.italian);
        return {};
    }
    bool isEmpty() const override { return false; }
};

constexpr const char* kItalian = "it_IT.UTF-8";

} // namespace

ItalianLocale::ItalianLocale()
{
    // The system's locale as the C library reads it: LC_ALL, else the
    // category, else LANG.
    QByteArray named;
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"})
        if (named = qgetenv(variable); !named.isEmpty())
            break;
    rememberSystemLocale(named.isEmpty() ? QByteArray("C") : named);
    if (qEnvironmentVariableIsSet("LC_ALL"))
        lcAll_ = qgetenv("LC_ALL");
    qputenv("LC_ALL", kItalian);
}

void ItalianLocale::applicationMade()
{
    // Qt has read its locale by now; the rest of the process, and the
    // programs it starts, get the user's own again.
    (void)QLocale::system();
    if (lcAll_)
        qputenv("LC_ALL", *lcAll_);
    else
        qunsetenv("LC_ALL");
    std::setlocale(LC_ALL, "");
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

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
    // Installed first, asked last: Qt's catalogue answers what it has.
    QCoreApplication::installTranslator(new MissingItalian(&app));
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
