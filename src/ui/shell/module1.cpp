#include "ui/shell/module1.h"

#include "core/shell/settings.h"
#include "platform/files.h"
#include "platform/programfolder.h"
#include "ui/appcontext.h"

namespace zondari {

void readSettings(AppContext& ctx)
{
    AppState& s = ctx.state;
    auto read = readSettingsFile(s.programFolder);
    if (!read)
        ctx.dialogs().runtimeError(read.error()); // unreadable: the defaults stand
    const Settings settings = read ? std::move(*read) : defaultSettings(s.programFolder);
    s.Utente = settings.utente;
    s.FilesMusicali = settings.filesMusicali;
    s.UltimoPath = settings.ultimoPath;
}

Status saveSettings(AppContext& ctx)
{
    const AppState& s = ctx.state;
    const std::string p = ctx.programPath();
    Status st = files::replaceTextFile(p + kSettingsFileName, settingsLines({s.Utente, s.FilesMusicali, s.UltimoPath}));
    if (!st)
        ctx.dialogs().runtimeError(st.error());
    // The file types window closes with the save.
    if (ctx.openers.unloadForm2)
        ctx.openers.unloadForm2();
    return st;
}

} // namespace zondari
