// zondari-cli tag: the ID3v1 tag as the editor loads it, and saved as the
// editor saves it.

#include <cerrno>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "core/tags/id3v2.h"
#include "core/tags/tageditor.h"
#include "platform/files.h"
#include "platform/id3v2file.h"
#include "platform/mp3file.h"

namespace zondari::cli {
namespace {

constexpr const char* kUsage
    = "Uso: zondari-cli tag FILE [--da-id3v2] [--titolo T] [--autore A] [--album A] [--anno A] [--commento C] "
      "[--genere N]\n";

int wrongLine(const std::string& why)
{
    std::fprintf(stderr, "zondari-cli tag: %s\n%s", why.c_str(), kUsage);
    return 2;
}

// A genre of the editor's list, 0 to 125, written in digits.
std::optional<int> genreNumber(const std::string& text)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int n = std::stoi(text);
    if (n < 0 || static_cast<std::size_t>(n) >= tageditor::kGenreCount)
        return std::nullopt;
    return n;
}

void print(const tageditor::Fields& f)
{
    const auto& c = tageditor::kFieldCaptions;
    const std::string genre
        = f.genre >= 0 ? std::string(tageditor::genres()[static_cast<std::size_t>(f.genre)]) : std::string();
    const std::string values[] = {f.title, f.artist, f.album, f.year, f.comment, genre};
    std::string out;
    for (std::size_t i = 0; i < c.size(); ++i)
        out += std::string(c[i]) + "\t" + values[i] + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
}

} // namespace

int runTag(const std::vector<std::string>& args)
{
    const std::map<std::string, std::string tageditor::Fields::*> textOptions = {
        {"--titolo", &tageditor::Fields::title},
        {"--autore", &tageditor::Fields::artist},
        {"--album", &tageditor::Fields::album},
        {"--anno", &tageditor::Fields::year},
        {"--commento", &tageditor::Fields::comment},
    };
    std::optional<std::string> path;
    std::map<std::string, std::string> given;
    bool fromId3v2 = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (textOptions.count(a) || a == "--genere") {
            if (i + 1 >= args.size())
                return wrongLine("manca il valore di " + a + ".");
            given[a] = args[++i];
        } else if (a == "--da-id3v2") {
            fromId3v2 = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return wrongLine("opzione sconosciuta \"" + a + "\".");
        } else if (path) {
            return wrongLine("indicare un solo file.");
        } else {
            path = a;
        }
    }
    if (!path)
        return wrongLine("indicare il file.");
    std::optional<int> genre;
    if (given.count("--genere") && !(genre = genreNumber(given["--genere"])))
        return wrongLine("il genere deve essere un numero da 0 a " + std::to_string(tageditor::kGenreCount - 1) + ".");
    if (!files::fileExists(*path)) {
        // A FIFO, a socket or a device is never opened: it exists, but is no
        // file to tag.
        struct stat st { };
        const bool exists = ::stat(path->c_str(), &st) == 0;
        const std::string why = !exists ? "file non trovato"
            : S_ISDIR(st.st_mode)       ? "è una cartella"
                                        : runtimeErrorFromErrno(EACCES).description;
        std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": %s.\n", path->c_str(), why.c_str());
        return 1;
    }

    const auto read = ReadTag(*path);
    const std::optional<TagRecord> inFile = read ? read->tag : std::nullopt;
    std::optional<FileState> seen = read ? std::optional(read->state) : std::nullopt;
    tageditor::Fields fields = inFile ? tageditor::fromTag(*inFile) : tageditor::forUntagged(*path);
    if (fromId3v2) {
        // As "Copia da ID3v2" does; the other options given still win.
        const Id3v2Tag v2 = readId3v2(*path);
        if (!v2.present()) {
            std::fprintf(stderr, "zondari-cli: \"%s\" non contiene un tag ID3v2: il tag ID3v1 non è stato scritto.\n",
                path->c_str());
            return 1;
        }
        fields = id3v2::toEditorFields(v2);
    }
    if (given.empty() && !fromId3v2) {
        if (!inFile)
            std::fprintf(stderr, "%s\n", tageditor::kNoTagText);
        print(fields);
        return 0;
    }

    for (const auto& [option, member] : textOptions) {
        if (given.count(option))
            fields.*member = given[option];
    }
    if (genre)
        fields.genre = *genre;
    // Written only into the file as it was read: another program may be
    // writing it meanwhile.
    const auto written = WriteTag(*path, tageditor::toSave(fields, inFile), seen ? &*seen : nullptr);
    if (!written) {
        const RuntimeError& e = written.error();
        std::fprintf(
            stderr, "%s\n", tageditor::isBusy(e) ? tageditor::kBusyText : tageditor::writeErrorText(e).c_str());
        return 1;
    }
    if (*written == TagWrite::Changed) {
        std::fprintf(stderr,
            "zondari-cli: \"%s\" è stato modificato da un altro programma durante la scrittura: "
            "il tag non è stato scritto.\n",
            path->c_str());
        return 1;
    }
    if (*written == TagWrite::NotMp3) {
        std::fprintf(stderr, "%s\n", tageditor::kNotMp3Text);
        return 1;
    }
    if (*written == TagWrite::ChangedWhileWriting) {
        std::fprintf(stderr, "zondari-cli: \"%s\": %s.\n", path->c_str(), tageditor::kChangedWhileWritingText);
        return 1;
    }
    if (*written == TagWrite::TooShort) {
        std::fprintf(stderr, "zondari-cli: \"%s\" è più corto di %d byte: il tag non è stato scritto.\n", path->c_str(),
            static_cast<int>(mp3file::kShortestTagged));
        return 1;
    }
    return 0;
}

} // namespace zondari::cli
