// Zondari: plays, analyses, tags and catalogues music kept as files on disks
// and CDs.

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <memory>

#include "platform/drives.h"
#include "platform/programfolder.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/gstmediaplayer.h"
#include "platform/qt/qtscreen.h"
#include "platform/shell.h"
#include "ui/appcontext.h"
#include "ui/shell/application.h"
#include "ui/shell/mdiform1.h"
#include "ui/shell/startup.h"

int main(int argc, char** argv)
{
    using namespace zondari;
    QApplication app(argc, argv);
    prepareApplication(app);

    QtDialogs dialogs;
    const auto folder = resolveProgramFolder(executableFolder());
    if (!folder) {
        dialogs.runtimeError(folder.error());
        return 1;
    }
    QApplication::setWindowIcon(QIcon(QString::fromStdString(withSlash(*folder) + "zondlogo.jpg")));

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
