#include "ui/shell/startup.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
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

MDIForm1* startZondari(AppContext& ctx)
{
    // Each subsystem's windows join the program here, before any window is
    // made, so that the commands that open them are enabled from the start.
    // A hook set before start-up (a test standing in for a window) stays.
    Openers preset = std::move(ctx.openers);
    ctx.openers = {};
    registerTrackWindows(ctx);
    registerCatalogue(ctx);
    registerPages(ctx);
    registerVolumeAndAbout(ctx);
    registerMixer(ctx);
    preset.fillEmptyFrom(ctx.openers);
    ctx.openers = std::move(preset);
    auto* frame = new MDIForm1(ctx);
    ctx.slot(frame, &MDIForm1::Load)();
    auto* player = new Form1(ctx);
    QMdiSubWindow* sub = frame->addChild(player);
    sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    // Without a window manager a maximised window keeps its size; give it
    // the screen's.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame->setGeometry(screen->availableGeometry());
    frame->showMaximized();
    sub->show();
    ctx.slot(player, &Form1::Load)();
    sub->move(0, 0);
    if (!ctx.openers.showPlayer) {
        // A closed player is hidden, not gone: shown again, it plays once more.
        ctx.openers.showPlayer = [&ctx, player = QPointer<Form1>(player), sub = QPointer<QMdiSubWindow>(sub)] {
            if (!player || !sub || !ctx.frame)
                return;
            QMdiArea* area = ctx.frame->mdiArea();
            // Closing took it out of the frame's list of windows.
            if (!area->subWindowList().contains(sub))
                area->addSubWindow(sub);
            ctx.player.attach(player);
            player->show();
            sub->showNormal();
            area->setActiveSubWindow(sub);
        };
    }
    return frame;
}

} // namespace zondari
