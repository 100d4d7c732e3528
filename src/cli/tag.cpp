// zondari-cli tag: the ID3v1 tag as the editor loads it, and saved as the
// editor saves it.

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "cli/commands.h"
#include "core/common/escape.h"
#include "core/tags/id3v2.h"
#include "core/tags/tageditor.h"
#include "platform/files.h"
#include "platform/id3v2file.h"
#include "platform/mp3file.h"

namespace zondari::cli {
namespace {

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
        out += std::string(c[i]) + "\t" + text::terminalText(values[i]) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
}

// Whether `path` is a file to tag; if not, says why. A FIFO, a socket or
// a device is never opened: it exists, but is no file to tag.
bool isTaggable(const std::string& path)
{
    if (files::fileExists(path))
        return true;
    struct stat st { };
    const bool exists = ::stat(path.c_str(), &st) == 0;
    const std::string why = !exists ? "file non trovato"
        : S_ISDIR(st.st_mode)       ? "è una cartella"
                                    : runtimeErrorFromErrno(EACCES).description;
    std::fprintf(
        stderr, "zondari-cli: impossibile leggere \"%s\": %s.\n", text::terminalText(path).c_str(), why.c_str());
    return false;
}

// The editor's fields with what the command line gives: the ID3v2 tag's
// fields with --da-id3v2, then each field option. Nothing when the file
// has no ID3v2 tag to copy.
std::optional<tageditor::Fields> fieldsToSave(const Args& args, const std::string& path, tageditor::Fields fields)
{
    if (args.has("--da-id3v2")) {
        // As "Copia da ID3v2" does; the other options given still win.
        const Id3v2Tag v2 = readId3v2(path);
        if (!v2.present()) {
            std::fprintf(stderr, "zondari-cli: \"%s\" non contiene un tag ID3v2: il tag ID3v1 non è stato scritto.\n",
                text::terminalText(path).c_str());
            return std::nullopt;
        }
        fields = id3v2::toEditorFields(v2);
    }
    const std::pair<const char*, std::string tageditor::Fields::*> textOptions[] = {
        {"--titolo", &tageditor::Fields::title},
        {"--autore", &tageditor::Fields::artist},
        {"--album", &tageditor::Fields::album},
        {"--anno", &tageditor::Fields::year},
        {"--commento", &tageditor::Fields::comment},
    };
    for (const auto& [option, member] : textOptions)
        if (const auto given = args.value(option))
            fields.*member = *given;
    if (const auto genre = args.value("--genere"))
        fields.genre = *genreNumber(*genre);
    return fields;
}

// Writes the tag, only into the file as it was read: another program may
// be writing it meanwhile.
int save(const std::string& path, const tageditor::Fields& fields, const std::optional<TagRecord>& inFile,
    std::optional<FileState> seen)
{
    const auto written = WriteTag(path, tageditor::toSave(fields, inFile), seen ? &*seen : nullptr);
    const std::string shownPath = text::terminalText(path);
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
            shownPath.c_str());
        return 1;
    }
    if (*written == TagWrite::NotMp3) {
        std::fprintf(stderr, "%s\n", tageditor::kNotMp3Text);
        return 1;
    }
    if (*written == TagWrite::ChangedWhileWriting) {
        std::fprintf(stderr, "zondari-cli: \"%s\": %s.\n", shownPath.c_str(), tageditor::kChangedWhileWritingText);
        return 1;
    }
    if (*written == TagWrite::TooShort) {
        std::fprintf(stderr, "zondari-cli: \"%s\" è più corto di %d byte: il tag non è stato scritto.\n",
            shownPath.c_str(), static_cast<int>(mp3file::kShortestTagged));
        return 1;
    }
    return 0;
}

} // namespace

int runTag(const Args& args)
{
    const std::string& path = args.operands()[0];
    if (const auto genre = args.value("--genere"); genre && !genreNumber(*genre))
        return args.wrong("il genere deve essere un numero da 0 a " + std::to_string(tageditor::kGenreCount - 1) + ".");
    if (!isTaggable(path))
        return 1;

    const auto read = ReadTag(path);
    const std::optional<TagRecord> inFile = read ? read->tag : std::nullopt;
    const std::optional<FileState> seen = read ? std::optional(read->state) : std::nullopt;
    const tageditor::Fields loaded = inFile ? tageditor::fromTag(*inFile) : tageditor::forUntagged(path);
    if (!args.anyOption()) {
        if (!inFile)
            std::fprintf(stderr, "%s\n", tageditor::kNoTagText);
        print(loaded);
        return 0;
    }
    const auto fields = fieldsToSave(args, path, loaded);
    if (!fields)
        return 1;
    return save(path, *fields, inFile, seen);
}

} // namespace zondari::cli
