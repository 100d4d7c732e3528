// Zondari: plays, analyses, tags and catalogues music kept as files on disks
// and CDs.
//
//   zondari [FILE | FOLDER]
//   zondari --version | --help

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

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
#include "ui/shell/application.h"
#include "ui/shell/mdiform1.h"
#include "ui/shell/startup.h"

namespace {

constexpr const char* kUsage =
    "Uso: zondari\n"
    "     zondari --version\n";

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

}  // namespace

int main(int argc, char** argv)
{
    using namespace zondari;
    if (int status = 0; printedInformation(argc, argv, status))
        return status;

    QApplication app(argc, argv);
    prepareApplication(app);
    // The desktop matches the windows to the menu entry, and its icon, by it.
    QGuiApplication::setDesktopFileName(build::kDesktopId);

    QtDialogs dialogs;
    const auto folder = resolveProgramFolder(executableFolder());
    if (!folder) {
        dialogs.runtimeError(folder.error());
        return 1;
    }
    QApplication::setWindowIcon(QIcon::fromTheme(build::kDesktopId,
                                                 QIcon(QString::fromStdString(withSlash(*folder) + "zondlogo.jpg"))));

    AppState state;
    state.programFolder = *folder;
    PosixShell shell({*folder});
    QtScreen screen;
    MountedDrives drives;
    CurrentFolder folders(drives);
    AppContext ctx(state, Services{dialogs, shell, screen, drives, folders, [] { QApplication::exit(0); },
                                   [] { return std::make_unique<GstMediaPlayer>(); }});

    std::unique_ptr<MDIForm1> frame(startZondari(ctx));
    return QApplication::exec();
}
