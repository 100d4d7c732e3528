// Times the player's grid fill (RiempiTabella) on a folder, in a real
// player window on the offscreen platform. Prints the median of the runs in
// seconds.
//   bench_trackgrid FOLDER [RUNS]

#include "ui/player/trackgrid.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/drives.h"
#include "platform/qt/qtscreen.h"
#include "platform/shell.h"
#include "ui/appcontext.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"

namespace {

// Nobody answers boxes in a benchmark; a box would be a failure.
class SilentDialogs : public zondari::Dialogs {
public:
    using Dialogs::message;
    zondari::MsgAnswer message(const zondari::Message& m) override
    {
        std::fprintf(stderr, "message: %s\n", m.text.c_str());
        return zondari::MsgAnswer::Ok;
    }
    void runtimeError(const zondari::RuntimeError& e) override
    {
        std::fprintf(stderr, "runtime error %d: %s\n", e.number, e.description.c_str());
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> openFile(const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
};

} // namespace

int main(int argc, char** argv)
{
    using namespace zondari;
    if (argc < 2) {
        std::fprintf(stderr, "uso: bench_trackgrid CARTELLA [VOLTE]\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    AppState state;
    state.programFolder = "/tmp";
    state.FilesMusicali = ".WAV.MP3.M3U.WMA";
    SilentDialogs dialogs;
    PosixShell shell;
    QtScreen screen;
    MountedDrives drives;
    CurrentFolder folders(drives);
    AppContext ctx(state, Services{dialogs, shell, screen, drives, folders, [] {}});

    Form1 form(ctx);
    auto* dir = form.findChild<DirListBox*>("Dir1");
    const QSignalBlocker quiet(dir); // no settings file is written
    if (!dir->setPath(argv[1])) {
        std::fprintf(stderr, "cartella illeggibile: %s\n", argv[1]);
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < runs + 1; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        form.RiempiTabella();
        const auto t1 = std::chrono::steady_clock::now();
        if (i > 0) // the first run warms the caches, as ls's warm-up does
            times.push_back(std::chrono::duration<double>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%.4f %d\n", times[times.size() / 2], form.findChild<TrackGrid*>("ExtGrid1")->rows() - 1);
    return 0;
}
