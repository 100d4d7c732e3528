#include "ui/catalogue/playentry.h"

#include "core/catalogue/playaddress.h"
#include "platform/cataloguedisc.h"
#include "platform/files.h"
#include "ui/appcontext.h"

namespace zondari {

namespace cat = catalogue;

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
        ctx.dialogs().message(
            cat::insertDiscMessage(checked->title, checked->disc), MsgButtons::Ok, MsgIcon::Information);
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
    ctx.player.openPath(at.path);
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
