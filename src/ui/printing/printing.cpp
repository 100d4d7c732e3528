#include "ui/printing/printing.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "ui/appcontext.h"
#include "ui/printing/fonten.h"
#include "ui/printing/frmpreview.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

FrmPreview* findPreview(AppContext& ctx)
{
    return ctx.frame ? ctx.frame->findChild<FrmPreview*>("FrmPreview") : nullptr;
}

FrmPreview* showPreview(AppContext& ctx)
{
    if (!ctx.frame)
        return nullptr;
    FrmPreview* preview = findPreview(ctx);
    QMdiSubWindow* sub = nullptr;
    if (preview) {
        sub = childWindowOf(preview);
    } else {
        preview = new FrmPreview(ctx);
        sub = ctx.frame->addChild(preview);
        // Each time it becomes the active window it draws the page again,
        // so it follows the catalogue shown meanwhile.
        QObject::connect(
            ctx.frame->mdiArea(), &QMdiArea::subWindowActivated, preview, [&ctx, sub, preview](QMdiSubWindow* w) {
                if (w == sub)
                    ctx.slot(preview, &FrmPreview::Form_Activate)();
            });
        sub->move(0, 0);
        sub->show();
    }
    if (sub) {
        sub->showNormal();
        ctx.frame->mdiArea()->setActiveSubWindow(sub);
    }
    preview->Refresh();
    return preview;
}

fONTEN* findFontChooser(AppContext& ctx)
{
    return ctx.frame ? ctx.frame->findChild<fONTEN*>("fONTEN") : nullptr;
}

void showFontChooser(AppContext& ctx)
{
    if (!ctx.frame)
        return;
    fONTEN* chooser = findFontChooser(ctx);
    if (!chooser) {
        chooser = new fONTEN(ctx, ctx.frame);
        chooser->Form_Load();
    }
    chooser->exec();
}

} // namespace zondari
