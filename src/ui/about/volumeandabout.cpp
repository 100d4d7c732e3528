#include "ui/about/volumeandabout.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>

#include "platform/qt/alsamixer.h"
#include "ui/about/form3.h"
#include "ui/appcontext.h"
#include "ui/player/frmvolume.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

void registerVolumeAndAbout(AppContext& ctx)
{
    // The one volume window, while it is loaded.
    auto volume = std::make_shared<QPointer<frmVolume>>();
    ctx.openers.showVolume = [&ctx, volume] {
        if (!ctx.frame)
            return;
        if (*volume) {
            // Already loaded: shown again as it is.
            ctx.frame->mdiArea()->setActiveSubWindow(childWindowOf(*volume));
            return;
        }
        auto* window = new frmVolume(ctx, std::make_unique<AlsaMixer>());
        *volume = window;
        QMdiSubWindow* sub = ctx.frame->addChild(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
        ctx.slot(window, &frmVolume::Load)();
        sub->show();
    };
    ctx.openers.showAbout = [&ctx] {
        Form3 about(ctx, ctx.frame);
        ctx.slot(&about, &Form3::Load)();
        about.exec();
    };
}

} // namespace zondari
