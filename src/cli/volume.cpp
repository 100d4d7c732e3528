// zondari-cli volume: what the catalogue names a volume by.

#include "platform/volume.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "core/catalogue/volumeserial.h"

namespace zondari::cli {

int runVolume(const std::vector<std::string>& args)
{
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
        std::fprintf(stderr,
            "zondari-cli volume: indicare una cartella o un'immagine.\n"
            "Uso: zondari-cli volume CARTELLA|IMMAGINE\n");
        return 2;
    }
    const std::string& path = args[0];
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0) {
        std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": file non trovato.\n", path.c_str());
        return 1;
    }
    VolumeInfo v;
    if (S_ISDIR(st.st_mode)) {
        v = SystemVolumeReader().volumeOf(path);
    } else if (auto image = readVolumeDevice(path)) {
        v = *image;
    } else {
        std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": non è una cartella né un'immagine leggibile.\n",
            path.c_str());
        return 1;
    }
    const std::string out = "File system\t" + v.fileSystem + "\nEtichetta\t" + v.label + "\nNumero di serie\t"
        + volumeserial::signedText(v.serial) + "\nNumero di serie (Windows)\t" + volumeserial::windowsText(v.serial)
        + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace zondari::cli
