// Zondari: plays, analyses, tags and catalogues music kept as files on disks
// and CDs.
//
//   zondari [FILE | FOLDER | ADDRESS]
//   zondari --version | --help

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QSocketNotifier>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <signal.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "buildinfo.h"
#include "core/about/version.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/programfolder.h"
#include "platform/qt/gstmediaplayer.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qtscreen.h"
#include "platform/shell.h"
#include "ui/appcontext.h"
#include "ui/catalogue/playentry.h"
#include "ui/player/mpris.h"
#include "ui/shell/application.h"
#include "ui/shell/mdiform1.h"
#include "ui/shell/startup.h"

namespace {

constexpr const char* kUsage = "Uso: zondari [FILE | CARTELLA | INDIRIZZO]\n"
                               "     zondari --version\n"
                               "\n"
                               "Una cartella diventa la cartella del lettore; un file ne apre la cartella e\n"
                               "lo suona. Un indirizzo file:// vale come il suo file; un indirizzo\n"
                               "zondari:riproduci?catalogo=...&voce=... suona una voce di un catalogo dal\n"
                               "suo disco.\n";

// Answered before Qt starts, so that they need no display.
bool printedInformation(int argc, char** argv, int& status)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", zondari::programVersionLine().c_str());
            status = 0;
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            status = 0;
            return true;
        }
    }
    return false;
}

// SIGTERM reaches the program through a socket that the event loop
// watches: a signal handler may do nothing but write to it.
int sigtermSocket[2] = {-1, -1};

void onSigterm(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(sigtermSocket[0], &byte, 1);
}

void endOnSigterm(std::function<void()> end)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sigtermSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(sigtermSocket[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [end = std::move(end)] {
        char byte = 0;
        [[maybe_unused]] const auto n = ::read(sigtermSocket[1], &byte, 1);
        end();
    });
    struct sigaction action { };
    action.sa_handler = onSigterm;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zondari;
    if (int status = 0; printedInformation(argc, argv, status))
        return status;

    ItalianLocale italian;
    QApplication app(argc, argv);
    italian.applicationMade();
    prepareApplication(app);
    // The desktop matches the windows to the menu entry, and its icon, by it.
    QGuiApplication::setDesktopFileName(build::kDesktopId);

    // Qt has taken its own options; what is left is the file or folder.
    const QStringList args = QApplication::arguments().mid(1);
    std::string opened;
    for (const QString& arg : args) {
        if (arg.startsWith('-') || !opened.empty()) {
            std::fprintf(stderr, "zondari: argomento non valido \"%s\".\n%s", arg.toLocal8Bit().constData(), kUsage);
            return 2;
        }
        // Made absolute now: the start-up moves the current folder. An
        // address is taken as it is (the desktop passes its bytes).
        const std::string word = QFile::encodeName(arg).toStdString();
        opened = isAddress(word) ? word : files::absolutePath(word);
    }
    // A file chosen in the file manager while Zondari is open plays there.
    if (!opened.empty() && (isAddress(opened) ? openAddressInRunningPlayer(opened) : openInRunningPlayer(opened)))
        return 0;

    QtDialogs dialogs;
    const auto folder = resolveProgramFolder(executableFolder());
    if (!folder) {
        dialogs.runtimeError(folder.error());
        return 1;
    }
    QApplication::setWindowIcon(
        QIcon::fromTheme(build::kDesktopId, QIcon(QString::fromStdString(withSlash(*folder) + "zondlogo.jpg"))));

    AppState state;
    state.programFolder = *folder;
    PosixShell shell({*folder});
    QtScreen screen;
    MountedDrives drives;
    CurrentFolder folders(drives);
    AppContext ctx(state,
        Services{dialogs, shell, screen, drives, folders, [] { QApplication::exit(0); },
            [] { return std::make_unique<GstMediaPlayer>(); }});

    // The media keys and the desktop's sound applet; without a session bus
    // the program runs as ever. On the bus before the windows load, as a box
    // of their start-up may wait for the person.
    Mpris mpris(ctx);
    mpris.registerOnSessionBus();
    std::unique_ptr<MDIForm1> frame(startZondari(ctx));
    // A file given plays; else, when asked for, the music picks up where it
    // stopped.
    if (!opened.empty() && isAddress(opened))
        openAddress(ctx, opened);
    else if (!opened.empty())
        ctx.player.openPath(opened);
    else
        ctx.player.resumeWhereStopped();
    // The desktop ending the session: the place is kept, then the end.
    endOnSigterm([&ctx] {
        ctx.player.rememberPlace();
        QApplication::quit();
    });
    return QApplication::exec();
}
