#include "ui/mixer/mixer.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "ui/appcontext.h"
#include "ui/mixer/mp3mixer.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

namespace {

void showMixer(AppContext& ctx)
{
    if (!ctx.frame)
        return;
    // One mixer: showing it again brings the open one forward.
    if (mp3MIXER* open = findMixer(ctx)) {
        if (QMdiSubWindow* sub = childWindowOf(open)) {
            sub->showNormal();
            ctx.frame->mdiArea()->setActiveSubWindow(sub);
        }
        return;
    }
    auto* window = new mp3MIXER(ctx);
    QMdiSubWindow* sub = ctx.frame->addChild(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(sub->sizeHint());
    sub->show();
    ctx.slot(window, &mp3MIXER::Load)();
    ctx.frame->mdiArea()->setActiveSubWindow(sub);
}

} // namespace

mp3MIXER* findMixer(AppContext& ctx)
{
    if (!ctx.frame)
        return nullptr;
    for (mp3MIXER* m : ctx.frame->findChildren<mp3MIXER*>("mp3MIXER"))
        if (!m->unloaded())
            return m;
    return nullptr;
}

void registerMixer(AppContext& ctx)
{
    ctx.openers.showMixer = [&ctx] { showMixer(ctx); };
}

} // namespace zondari
