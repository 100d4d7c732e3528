#include "ui/analysis/trackwindows.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <memory>

#include "ui/analysis/frmdatimp3.h"
#include "ui/appcontext.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/mdiform1.h"
#include "ui/tags/frmmain.h"

namespace zondari {
namespace {

// The one instance of each window, while it is loaded.
struct Loaded {
    QPointer<frmDATIMP3> details;
    QPointer<frmMain> editor;
};

// Unloads the old instance and puts a new one, shown, into the frame.
template <class Window> Window* reload(AppContext& ctx, QPointer<Window>& slot)
{
    if (slot)
        delete windowOf(slot);
    auto* window = new Window(ctx);
    slot = window;
    QMdiSubWindow* sub = ctx.frame->addChild(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    return window;
}

} // namespace

void registerTrackWindows(AppContext& ctx)
{
    auto loaded = std::make_shared<Loaded>();
    ctx.openers.showTrackDetails = [&ctx, loaded] {
        if (ctx.frame)
            reload(ctx, loaded->details)->Load();
    };
    ctx.openers.riempimp3 = [&ctx, loaded](const std::string& file) { riempimp3(ctx, loaded->details, file); };
    ctx.openers.showTagEditor = [&ctx, loaded] {
        if (!ctx.frame)
            return;
        frmMain* editor = reload(ctx, loaded->editor);
        ctx.slot(editor, &frmMain::Load)();
    };
}

} // namespace zondari
