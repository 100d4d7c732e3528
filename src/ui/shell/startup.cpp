#include "ui/shell/startup.h"

#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>

#include "ui/about/volumeandabout.h"
#include "ui/analysis/trackwindows.h"
#include "ui/appcontext.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/pages.h"
#include "ui/mixer/mixer.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

namespace {

// The player window, made and loaded in the frame at its top left. Closing
// it deletes it; it is made anew when something asks it to play.
void showPlayer(AppContext& ctx)
{
    if (ctx.player.present() || !ctx.frame)
        return;
    auto* player = new Form1(ctx);
    QMdiSubWindow* sub = ctx.frame->addChild(player);
    sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    sub->show();
    ctx.slot(player, &Form1::Load)();
    sub->move(0, 0);
}

} // namespace

MDIForm1* startZondari(AppContext& ctx)
{
    // Each subsystem's windows join the program here, before any window is
    // made, so that the commands that open them are enabled from the start.
    // A hook set before start-up (a test standing in for a window) stays.
    Openers preset = std::move(ctx.openers);
    ctx.openers = {};
    ctx.openers.showPlayer = [&ctx] { showPlayer(ctx); };
    registerTrackWindows(ctx);
    registerCatalogue(ctx);
    registerPages(ctx);
    registerVolumeAndAbout(ctx);
    registerMixer(ctx);
    preset.fillEmptyFrom(ctx.openers);
    ctx.openers = std::move(preset);
    auto* frame = new MDIForm1(ctx);
    ctx.slot(frame, &MDIForm1::Load)();
    // Without a window manager a maximised window keeps its size; give it
    // the screen's.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame->setGeometry(screen->availableGeometry());
    frame->showMaximized();
    showPlayer(ctx);
    return frame;
}

} // namespace zondari
