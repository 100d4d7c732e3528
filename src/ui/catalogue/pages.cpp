#include "ui/catalogue/pages.h"

#include <QProgressDialog>
#include <algorithm>
#include <optional>

#include "core/catalogue/pages.h"
#include "core/catalogue/pocket.h"
#include "core/catalogue/search.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"
#include "ui/appcontext.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/form4.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/shell/mdiform1.h"
#include "ui/shell/waitcursor.h"

namespace zondari {
namespace {

// Writes "default.htm" in the program folder, with the data of the
// catalogue file at `cataloguePath`; its full path.
std::string writeExportPage(AppContext& ctx, const std::string& title, const std::vector<std::string>& entries,
    const std::string& cataloguePath)
{
    auto page = cataloguestore::writeExportPage(ctx.state.programFolder, title, entries, cataloguePath);
    check(page);
    return *page;
}

// Opens a page of the program folder with the short form of the start
// convention, from the program folder.
void openFromProgramFolder(AppContext& ctx, const std::string& pageName)
{
    ctx.goToProgramFolder();
    check(ctx.services.shell.start("start", {pageName}));
}

// Runs `work` (which reads `count` catalogues and reports each one done)
// under the hourglass, with a progress window shown when it lasts; modal,
// so that nothing else runs meanwhile.
template <class Work> auto withProgress(AppContext& ctx, std::size_t count, Work work)
{
    WaitCursor wait;
    QProgressDialog progress("Lettura dei cataloghi...", QString(), 0, static_cast<int>(count), ctx.frame);
    progress.setWindowTitle("Zondari");
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(700);
    progress.setAutoClose(true);
    progress.setValue(0);
    return work([&](std::size_t done, std::size_t) { progress.setValue(static_cast<int>(done)); });
}

// Writes the pocket catalogue from `catalogues`; its full path. The
// catalogues it was made without join `leftOut`, once each.
std::string writePocket(
    AppContext& ctx, const std::vector<std::string>& catalogues, std::vector<catalogue::UnreadCatalogue>& leftOut)
{
    auto written = withProgress(ctx, catalogues.size(), [&](const catalogue::PageProgress& progress) {
        return cataloguestore::writePocketPage(ctx.state.programFolder, catalogues, progress);
    });
    check(written);
    for (catalogue::UnreadCatalogue& c : written->summary.leftOut)
        if (std::none_of(leftOut.begin(), leftOut.end(), [&](const auto& l) { return l.path == c.path; }))
            leftOut.push_back(std::move(c));
    return written->path;
}

// The user's catalogue files that the pages read; nothing, after the
// message that says so, when there is none.
std::optional<std::vector<std::string>> userCatalogues(AppContext& ctx)
{
    auto catalogues = cataloguestore::pageCataloguePaths(ctx.state.programFolder, ctx.state.Utente);
    check(catalogues);
    if (catalogues->empty()) {
        ctx.dialogs().message(catalogue::kEmptyDatabaseMessage);
        return std::nullopt;
    }
    return std::move(*catalogues);
}

// Names the catalogues the pages were made without, once they are written.
void tellLeftOut(AppContext& ctx, const std::vector<catalogue::UnreadCatalogue>& leftOut)
{
    if (!leftOut.empty())
        ctx.dialogs().message(catalogue::leftOutMessage(leftOut));
}

} // namespace

void showContents(AppContext& ctx, const std::string& catalogueName)
{
    if (catalogueName.empty())
        return;
    const std::string path = ctx.programPath() + catalogueName;
    if (!files::fileExists(path)) {
        ctx.dialogs().message(catalogue::kNoExportMessage);
        return;
    }
    WaitCursor wait;
    auto shown = cataloguestore::readCatalogue(path);
    check(shown);

    // The page first: when it cannot be written the window keeps the
    // catalogue it showed.
    const std::string page = writeExportPage(ctx, shown->title, shown->entries, path);

    ctx.setCatalogue(catalogue::displayText(shown->title), std::move(shown->entries), path);

    ctx.openWithStart(page);
}

void exportEntryList(AppContext& ctx)
{
    const CurrentCatalogue& shown = ctx.state.catalogue;
    if (shown.entries.empty()) {
        ctx.dialogs().message(catalogue::kNoExportMessage);
        return;
    }
    writeExportPage(ctx, shown.title, shown.entries, shown.path);
    openFromProgramFolder(ctx, catalogue::kExportPageName);
}

void rebuildnew(AppContext& ctx, const std::string& ricerca)
{
    const auto catalogues = userCatalogues(ctx);
    if (!catalogues)
        return;

    catalogue::PageRequest request;
    request.text = ricerca;
    request.caseSensitive = ctx.state.searchCaseSensitive == 1;
    request.folders = ctx.state.searchFolders == 1;

    auto written = withProgress(ctx, catalogues->size(), [&](const catalogue::PageProgress& progress) {
        return cataloguestore::writeDatabasePage(ctx.state.programFolder, *catalogues, request, progress);
    });
    check(written);
    // The pocket catalogue is rebuilt with the general page, so that a copy
    // taken away is as new as the archive.
    if (request.wholeDatabase())
        writePocket(ctx, *catalogues, written->leftOut);
    tellLeftOut(ctx, written->leftOut);

    if (request.wholeDatabase() || written->hits >= 1)
        openFromProgramFolder(ctx, request.pageName());
    else
        ctx.dialogs().message(catalogue::noHitMessage(ricerca));
}

void cerca(AppContext& ctx, QWidget* parent)
{
    for (;;) {
        Form4 dialog(ctx, parent ? parent : ctx.frame);
        if (dialog.exec() != QDialog::Accepted)
            return; // cancelled: the previous text stands
        const auto typed = catalogue::searchTextOf(ctx.state.searchText);
        if (!typed) {
            ctx.dialogs().message(catalogue::kInvalidSearchTextMessage);
            continue;
        }
        ctx.state.searchText = *typed; // without the line ends a paste may bring
        const std::string& text = ctx.state.searchText;
        const catalogue::SearchLength length = catalogue::searchLength(text);
        if (length == catalogue::SearchLength::Empty)
            return;
        if (length == catalogue::SearchLength::Short) {
            ctx.dialogs().message(catalogue::kShortSearchMessage);
            continue;
        }
        rebuildnew(ctx, text);
        return;
    }
}

void pocketCatalogue(AppContext& ctx)
{
    const auto catalogues = userCatalogues(ctx);
    if (!catalogues)
        return;
    std::vector<catalogue::UnreadCatalogue> leftOut;
    const std::string page = writePocket(ctx, *catalogues, leftOut);
    tellLeftOut(ctx, leftOut);
    ctx.openWithStart(page);
}

void findDuplicates(AppContext& ctx)
{
    const auto catalogues = userCatalogues(ctx);
    if (!catalogues)
        return;
    auto written = withProgress(ctx, catalogues->size(), [&](const catalogue::PageProgress& progress) {
        return cataloguestore::writeDuplicatesPage(ctx.state.programFolder, *catalogues, progress);
    });
    check(written);
    tellLeftOut(ctx, written->leftOut);
    if (written->groups == 0)
        ctx.dialogs().message(catalogue::kNoDuplicatesMessage);
    else
        openFromProgramFolder(ctx, catalogue::kDuplicatesPageName);
}

void registerPages(AppContext& ctx)
{
    ctx.openers.pocketCatalogue = [&ctx] { pocketCatalogue(ctx); };
    // From the frame's menu the catalogue window is made first when closed.
    ctx.openers.catalogueShowContents = [&ctx] {
        if (frmMP3print* w = catalogueWindow(ctx))
            showContents(ctx, w->selectedName());
    };
}

} // namespace zondari
