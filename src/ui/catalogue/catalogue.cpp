#include "ui/catalogue/catalogue.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "ui/appcontext.h"
#include "ui/catalogue/form2.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/mdiform1.h"

namespace zondari {
namespace {

void showCatalogue(AppContext& ctx)
{
    if (!ctx.frame)
        return;
    if (frmMP3print* open = findCatalogueWindow(ctx)) {
        // Already there: brought to the front.
        if (QMdiSubWindow* sub = childWindowOf(open)) {
            if (sub->isMinimized())
                sub->showNormal();
            ctx.frame->mdiArea()->setActiveSubWindow(sub);
        }
        return;
    }
    auto* window = new frmMP3print(ctx);
    QMdiSubWindow* sub = ctx.frame->addChild(window);
    // Beside the player, as tall as it.
    int left = 0;
    int height = 560;
    if (const QWidget* playerWindow = ctx.player.screenWindow()) {
        const QRect player = playerWindow->geometry();
        left = player.right() + 1;
        height = std::max(height, player.height());
    }
    sub->setGeometry(left, 0, std::max(640, ctx.frame->mdiArea()->width() - left), height);
    sub->show();
    window->Load();
}

} // namespace

frmMP3print* findCatalogueWindow(AppContext& ctx)
{
    return ctx.frame ? ctx.frame->findChild<frmMP3print*>("frmMP3print") : nullptr;
}

frmMP3print* catalogueWindow(AppContext& ctx)
{
    if (frmMP3print* w = findCatalogueWindow(ctx))
        return w;
    showCatalogue(ctx);
    return findCatalogueWindow(ctx);
}

void registerCatalogue(AppContext& ctx)
{
    ctx.openers.showCatalogue = [&ctx] { showCatalogue(ctx); };
    ctx.openers.catalogueEdit = [&ctx] {
        if (frmMP3print* w = catalogueWindow(ctx))
            w->EditSelected();
    };
    ctx.openers.catalogueDelete = [&ctx] {
        if (frmMP3print* w = catalogueWindow(ctx))
            w->DeleteSelected();
    };
    ctx.openers.unloadForm2 = [&ctx] {
        if (Form2* form = ctx.frame ? ctx.frame->findChild<Form2*>("Form2") : nullptr)
            form->accept();
    };
}

} // namespace zondari
