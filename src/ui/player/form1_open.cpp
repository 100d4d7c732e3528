// The player window opening a file or folder handed to the program from
// outside: its command line, the file manager, the media keys' OpenUri.

#include <algorithm>

#include "core/player/playlist.h"
#include "platform/files.h"
#include "ui/appcontext.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/drivelistbox.h"
#include "ui/player/form1.h"
#include "ui/player/trackgrid.h"

namespace zondari {

bool Form1::listFolder(const std::string& folder)
{
    if (folder == Dir1->path())
        return true;
    // As the load moves the lists to the last folder: the folder list
    // first (its change lists the grid and saves the folder), then the drive.
    if (!Dir1->setPath(folder)) {
        ctx_.dialogs().message("Impossibile aprire la cartella " + folder + ".");
        return false;
    }
    Drive1->setDrive(folder);
    return true;
}

void Form1::openPathGuarded(const std::string& absolutePath)
{
    ctx_.slot(this, &Form1::openPath, absolutePath)();
}

void Form1::openPath(const std::string& absolutePath)
{
    if (files::folderExists(absolutePath)) {
        listFolder(absolutePath);
        return;
    }
    if (!files::fileExists(absolutePath)) {
        ctx_.dialogs().message("File o cartella non trovati: " + absolutePath);
        return;
    }
    if (!listFolder(files::folderOf(absolutePath)))
        return;
    const std::string name = files::nameOf(absolutePath);
    const auto& rows = ExtGrid1->gridModel()->rows();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const TrackRow& r) { return r.title == " " + name; });
    if (row == rows.end() && playlist::isPlaylist(name)) {
        // A list the grid does not show (an ".m3u8": the types it lists
        // have three letters) plays all the same.
        ctx_.state.BranoCorrente = name;
        playCurrentTrack();
        return;
    }
    if (row == rows.end()) {
        ctx_.dialogs().message("Il file " + name + " non è tra i tipi di file musicali che il lettore elenca.");
        return;
    }
    ExtGrid1->setRow(static_cast<int>(row - rows.begin()) + 1);
    ExtGrid1_Click();
}

} // namespace zondari
