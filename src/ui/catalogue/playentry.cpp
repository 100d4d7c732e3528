#include "ui/catalogue/playentry.h"

#include <QMessageBox>
#include <QPointer>
#include <memory>

#include "core/catalogue/playaddress.h"
#include "core/player/playlist.h"
#include "core/shell/filetypes.h"
#include "platform/cataloguedisc.h"
#include "platform/files.h"
#include "platform/qt/mountwatcher.h"
#include "ui/appcontext.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

namespace cat = catalogue;

namespace {

// A found entry played: a folder from its first track, a music file from its
// row of its folder, anything else the player does not list by the system's
// opener.
void playFound(AppContext& ctx, const std::string& path)
{
    if (ctx.openers.showPlayer)
        ctx.openers.showPlayer(); // only when it was closed
    if (files::folderExists(path)) {
        ctx.player.openPath(path);
        if (ctx.player.trackCount() > 0)
            ctx.player.playRow(1);
        return;
    }
    const std::string name = files::nameOf(path);
    if (files::fileExists(path) && !matchesFileTypes(name, ctx.state.FilesMusicali) && !playlist::isPlaylist(name)) {
        ctx.openWithStart(path);
        return;
    }
    ctx.player.openPath(path);
}

// The question that waits for a disc; a new one replaces it.
QPointer<QMessageBox>& waitingQuestion()
{
    static QPointer<QMessageBox> question;
    return question;
}

// Asks for the entry's disc without holding up the program, and plays the
// entry as soon as its disc is mounted anywhere.
void askForDisc(AppContext& ctx, const CatalogueEntry& checked)
{
    if (QMessageBox* old = waitingQuestion())
        old->done(QDialog::Rejected);
    auto* box = new QMessageBox(QMessageBox::Information, "Zondari",
        QString::fromStdString(cat::insertDiscMessage(checked.title, checked.disc)), QMessageBox::NoButton, ctx.frame);
    box->setObjectName(kDiscQuestionName);
    box->addButton("Annulla", QMessageBox::RejectRole);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    waitingQuestion() = box;
    auto* watcher = new MountWatcher(box);
    auto mounts = std::make_shared<MountTable>();
    QObject::connect(watcher, &MountWatcher::changed, box, [&ctx, box, checked, mounts] {
        ctx.handle([&] {
            const cat::Located at = findOnDisc(checked.entry, checked.disc, *mounts);
            if (at.where != cat::Whereabouts::Mounted)
                return;
            box->done(QDialog::Accepted);
            playFound(ctx, at.path);
        });
    });
    box->show();
}

} // namespace

void playCatalogueEntry(AppContext& ctx, const std::string& catalogueName, const std::string& entry)
{
    const auto checked = checkCatalogueEntry(ctx.state.programFolder, ctx.state.Utente, catalogueName, entry);
    if (!checked) {
        ctx.dialogs().message(checked.error(), MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    MountTable mounts;
    const cat::Located at = findOnDisc(checked->entry, checked->disc, mounts);
    switch (at.where) {
    case cat::Whereabouts::NotMounted:
        askForDisc(ctx, *checked);
        return;
    case cat::Whereabouts::Unidentified:
        if (!files::fileExists(at.path) && !files::folderExists(at.path)) {
            ctx.dialogs().message(whereaboutsText(at, checked->title, checked->disc), MsgButtons::Ok, MsgIcon::Warning);
            return;
        }
        ctx.dialogs().message(
            "Non è stato possibile verificare il disco di «" + checked->title + "»: si riproduce " + at.path + ".",
            MsgButtons::Ok, MsgIcon::Information);
        break;
    case cat::Whereabouts::Mounted:
        break;
    }
    playFound(ctx, at.path);
}

void openAddress(AppContext& ctx, const std::string& address)
{
    const auto request = cat::parseAddress(address);
    if (!request)
        ctx.dialogs().message(request.error(), MsgButtons::Ok, MsgIcon::Warning);
    else if (request->play)
        playCatalogueEntry(ctx, request->catalogue, request->entry);
    else
        ctx.player.openPath(request->path);
}

bool isAddress(const std::string& argument)
{
    return argument.starts_with(cat::kAddressScheme) || argument.starts_with("file://");
}

} // namespace zondari
