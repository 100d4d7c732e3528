// zondari-cli info: the details window's lines for each file, or the same
// as JSON.

#include <cstdio>
#include <initializer_list>
#include <malloc.h>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/analysis/genres.h"
#include "core/analysis/mp3analysis.h"
#include "core/common/escape.h"
#include "core/tags/id3v2.h"
#include "platform/id3v2file.h"
#include "platform/mp3file.h"

namespace zondari::cli {
namespace {

std::string member(const char* key, const std::string& jsonValue)
{
    return std::string("\"") + key + "\": " + jsonValue;
}

// "{a, b, ...}".
std::string object(std::initializer_list<std::string> members)
{
    std::string out;
    for (const std::string& x : members)
        out += (out.empty() ? "" : ", ") + x;
    return "{" + out + "}";
}

// The shape is documented in the README ("zondari-cli info --json"); keys are
// only ever added.
std::string jsonObject(const std::string& path, const TrackInfo& i, const Id3v2Tag& v2, std::optional<double> gain)
{
    const auto n = [](long v) { return std::to_string(v); };
    const auto b = [](bool v) { return std::string(v ? "true" : "false"); };
    std::vector<std::string> m = {
        member("file", text::jsonString(path)),
        member("bitrate", n(i.BitRate)),
        member("frequenza", n(i.SampleRate)),
        member("durata", text::jsonString(mp3::durationText(i.Duration))),
        member("durata_secondi", n(i.Duration)),
        member("versione", n(i.Version)),
        member("layer", n(i.Layer)),
        member("original", text::jsonString(i.Original)),
        member("empasis", text::jsonString(i.Emphasis)),
        member("copyright", text::jsonString(i.Copyright)),
        member("mode", text::jsonString(i.ChannelMode)),
        member("padding", text::jsonString(i.Padding)),
        member("crc", text::jsonString(i.Crc)),
        member("private", text::jsonString(i.Private)),
        member("vbr", b(i.IsVbr)),
        member("vbr_frames", n(static_cast<long>(i.VbrFrames))),
        member("replaygain_db", gain ? std::to_string(*gain) : "null"),
    };
    m.push_back(member("id3v1",
        object({member("presente", b(i.HasTag)), member("artista", text::jsonString(i.Artist)),
            member("nome_brano", text::jsonString(i.Title)), member("album", text::jsonString(i.Album)),
            member("anno", text::jsonString(i.Year)), member("commenti", text::jsonString(i.Comment)),
            member("genere", text::jsonString(GenreName(i.Genre))), member("genere_numero", n(i.Genre))})));
    if (v2.present()) {
        std::string version = "2.";
        version += std::to_string(v2.version);
        m.push_back(member("id3v2",
            object({member("versione", text::jsonString(version)), member("titolo", text::jsonString(v2.title)),
                member("autore", text::jsonString(v2.artist)), member("album", text::jsonString(v2.album)),
                member("anno", text::jsonString(v2.year)), member("commento", text::jsonString(v2.comment)),
                member("traccia", text::jsonString(v2.track)), member("genere", text::jsonString(v2.genre))})));
    } else {
        m.push_back(member("id3v2", "null"));
    }
    std::string out = "  {";
    for (std::size_t k = 0; k < m.size(); ++k)
        out += (k ? ",\n    " : "\n    ") + m[k];
    return out + "\n  }";
}

// The block under the VBR line: the tag's version, then its fields.
std::string id3v2Lines(const Id3v2Tag& tag)
{
    if (!tag.present())
        return "ID3v2\tassente\n";
    std::string out = "ID3v2\t2.";
    out += std::to_string(tag.version);
    out += '\n';
    const auto values = id3v2::fieldValues(tag);
    for (std::size_t k = 0; k < id3v2::kFieldCount; ++k) {
        out += "ID3v2 ";
        out += id3v2::kFieldLabels[k];
        out += '\t';
        out += text::terminalText(values[k]);
        out += '\n';
    }
    return out;
}

// The details window's lines of one file, its ID3v2 block after them.
std::string detailLines(const TrackInfo& info, const Id3v2Tag& v2, std::optional<double> gain)
{
    std::string out;
    const auto& labels = mp3::detailLabels();
    const auto values = mp3::detailValues(info);
    for (std::size_t i = 0; i < labels.size(); ++i)
        out += labels[i] + "\t" + text::terminalText(values[i]) + "\n";
    out += "VBR\t" + mp3::booleanText(info.IsVbr) + "\n";
    if (gain)
        out += "ReplayGain\t" + mp3::gainText(*gain) + "\n";
    return out + id3v2Lines(v2);
}

// What one file gives: its lines or its JSON object (with the separator
// before it), or its error. False when it cannot be read.
bool describe(const std::string& path, bool json, bool first, bool named, std::string& out)
{
    const auto bytes = mp3file::readMp3Bytes(path);
    if (!bytes) {
        std::fflush(stdout);
        std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": %s.\n", text::terminalText(path).c_str(),
            bytes.error().description.c_str());
        if (json)
            out = std::string(first ? "\n" : ",\n") + "  {" + member("file", text::jsonString(path)) + ", "
                + member("errore", text::jsonString(bytes.error().description)) + "}";
        return false;
    }
    const TrackInfo info = mp3::DecodeMp3Header(*bytes);
    // Only the files that open with an ID3v2 header are handed to TagLib.
    const Id3v2Tag v2 = bytes->tagsInFront > 0 ? readId3v2(path) : Id3v2Tag{};
    // The tag's gain, else the encoder's.
    const std::optional<double> gain = v2.trackGainDb ? v2.trackGainDb : mp3::encoderGainDb(*bytes);
    if (json)
        out = std::string(first ? "\n" : ",\n") + jsonObject(path, info, v2, gain);
    else
        out = (named ? std::string(first ? "" : "\n") + text::terminalText(path) + ":\n" : std::string())
            + detailLines(info, v2, gain);
    return true;
}

} // namespace

int runInfo(const Args& args)
{
    const std::vector<std::string>& paths = args.operands();
    const bool json = args.has("--json");

    // The buffers of one file's ID3v2 tag (a cover picture is often 500 KiB)
    // stay for the next file instead of going back to the system and being
    // faulted in again: that cost more than TagLib's whole parse.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);

    int status = 0;
    bool first = true;
    std::string out;
    if (json)
        std::fputs("[", stdout);
    for (const std::string& path : paths) {
        out.clear();
        if (!describe(path, json, first, paths.size() > 1, out))
            status = 1;
        first = first && out.empty();
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    if (json)
        std::fputs(first ? "]\n" : "\n]\n", stdout);
    return status;
}

} // namespace zondari::cli
