// zondari-cli info: the details window's lines for each file.

#include <cstdio>
#include <string>
#include <vector>

#include "core/analysis/mp3analysis.h"
#include "platform/mp3file.h"

namespace zondari::cli {

int runInfo(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    bool options = true;
    for (const std::string& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "zondari-cli info: opzione sconosciuta \"%s\".\nUso: zondari-cli info FILE...\n",
                         a.c_str());
            return 2;
        } else {
            paths.push_back(a);
        }
    }
    if (paths.empty()) {
        std::fprintf(stderr, "zondari-cli info: indicare almeno un file.\nUso: zondari-cli info FILE...\n");
        return 2;
    }

    int status = 0;
    bool first = true;
    std::string out;
    for (const std::string& path : paths) {
        const auto bytes = mp3file::readMp3Bytes(path);
        if (!bytes) {
            std::fflush(stdout);
            std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": %s.\n", path.c_str(),
                         bytes.error().description.c_str());
            status = 1;
            continue;
        }
        const TrackInfo info = mp3::DecodeMp3Header(*bytes);
        out.clear();
        if (paths.size() > 1)
            out += (first ? "" : "\n") + path + ":\n";
        first = false;
        const auto& labels = mp3::detailLabels();
        const auto values = mp3::detailValues(info);
        for (std::size_t i = 0; i < labels.size(); ++i)
            out += labels[i] + "\t" + values[i] + "\n";
        out += "VBR\t" + mp3::booleanText(info.IsVbr) + "\n";
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    return status;
}

}  // namespace zondari::cli
