// zondari-cli volume: what the catalogue names a volume by.

#include "platform/volume.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "cli/commands.h"
#include "core/catalogue/volumeserial.h"
#include "core/common/escape.h"

namespace zondari::cli {

int runVolume(const Args& args)
{
    const std::string& path = args.operands()[0];
    const std::string shownPath = text::terminalText(path);
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0) {
        std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": file non trovato.\n", shownPath.c_str());
        return 1;
    }
    VolumeInfo v;
    if (S_ISDIR(st.st_mode)) {
        v = SystemVolumeReader().volumeOf(path);
    } else if (auto image = readVolumeDevice(path)) {
        v = *image;
    } else {
        std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": non è una cartella né un'immagine leggibile.\n",
            shownPath.c_str());
        return 1;
    }
    const std::string out = "File system\t" + text::terminalText(v.fileSystem) + "\nEtichetta\t"
        + text::terminalText(v.label) + "\nNumero di serie\t" + volumeserial::signedText(v.serial)
        + "\nNumero di serie (Windows)\t" + volumeserial::windowsText(v.serial) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace zondari::cli
