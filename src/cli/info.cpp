// zondari-cli info: the details window's lines for each file, or the same
// as JSON.

#include <cstdio>
#include <initializer_list>
#include <malloc.h>
#include <string>
#include <vector>

#include "core/analysis/genres.h"
#include "core/analysis/mp3analysis.h"
#include "core/tags/id3v2.h"
#include "platform/id3v2file.h"
#include "platform/mp3file.h"

namespace zondari::cli {
namespace {

constexpr const char* kUsage = "Uso: zondari-cli info [--json] FILE...\n";

// A JSON string: quotes, backslashes and control characters escaped; the
// text is UTF-8 already.
std::string quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string member(const char* key, const std::string& jsonValue)
{
    return std::string("\"") + key + "\": " + jsonValue;
}

// "{a, b, ...}", appended piece by piece: g++ 12 at -O3 takes a literal put
// before a temporary string for an overlapping copy (a false -Wrestrict).
std::string object(std::initializer_list<std::string> members)
{
    std::string out(1, '{');
    for (const std::string& x : members) {
        if (out.size() > 1)
            out += ", ";
        out += x;
    }
    out += '}';
    return out;
}

// The shape is documented in the README ("zondari-cli info --json"); keys are
// only ever added.
std::string jsonObject(const std::string& path, const TrackInfo& i, const Id3v2Tag& v2)
{
    const auto n = [](long v) { return std::to_string(v); };
    const auto b = [](bool v) { return std::string(v ? "true" : "false"); };
    std::vector<std::string> m = {
        member("file", quoted(path)),
        member("bitrate", n(i.BitRate)),
        member("frequenza", n(i.SampleRate)),
        member("durata", quoted(mp3::durationText(i.Duration))),
        member("durata_secondi", n(i.Duration)),
        member("versione", n(i.Version)),
        member("layer", n(i.Layer)),
        member("original", quoted(i.Original)),
        member("empasis", quoted(i.Emphasis)),
        member("copyright", quoted(i.Copyright)),
        member("mode", quoted(i.ChannelMode)),
        member("padding", quoted(i.Padding)),
        member("crc", quoted(i.Crc)),
        member("private", quoted(i.Private)),
        member("vbr", b(i.IsVbr)),
        member("vbr_frames", n(static_cast<long>(i.VbrFrames))),
    };
    m.push_back(member("id3v1",
        object({member("presente", b(i.HasTag)), member("artista", quoted(i.Artist)),
            member("nome_brano", quoted(i.Title)), member("album", quoted(i.Album)), member("anno", quoted(i.Year)),
            member("commenti", quoted(i.Comment)), member("genere", quoted(GenreName(i.Genre))),
            member("genere_numero", n(i.Genre))})));
    if (v2.present()) {
        std::string version = "2.";
        version += std::to_string(v2.version);
        m.push_back(member("id3v2",
            object({member("versione", quoted(version)), member("titolo", quoted(v2.title)),
                member("autore", quoted(v2.artist)), member("album", quoted(v2.album)), member("anno", quoted(v2.year)),
                member("commento", quoted(v2.comment)), member("traccia", quoted(v2.track)),
                member("genere", quoted(v2.genre))})));
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
        out += values[k];
        out += '\n';
    }
    return out;
}

} // namespace

int runInfo(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    bool options = true;
    bool json = false;
    for (const std::string& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--json") {
            json = true;
        } else if (options && a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "zondari-cli info: opzione sconosciuta \"%s\".\n%s", a.c_str(), kUsage);
            return 2;
        } else {
            paths.push_back(a);
        }
    }
    if (paths.empty()) {
        std::fprintf(stderr, "zondari-cli info: indicare almeno un file.\n%s", kUsage);
        return 2;
    }

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
        const auto bytes = mp3file::readMp3Bytes(path);
        out.clear();
        if (!bytes) {
            std::fflush(stdout);
            std::fprintf(stderr, "zondari-cli: impossibile leggere \"%s\": %s.\n", path.c_str(),
                bytes.error().description.c_str());
            status = 1;
            if (json) {
                out = std::string(first ? "\n" : ",\n") + "  {" + member("file", quoted(path)) + ", "
                    + member("errore", quoted(bytes.error().description)) + "}";
                std::fwrite(out.data(), 1, out.size(), stdout);
                first = false;
            }
            continue;
        }
        const TrackInfo info = mp3::DecodeMp3Header(*bytes);
        // Only the files that open with an ID3v2 header are handed to TagLib.
        const Id3v2Tag v2 = bytes->tagsInFront > 0 ? readId3v2(path) : Id3v2Tag{};
        if (json) {
            out = std::string(first ? "\n" : ",\n") + jsonObject(path, info, v2);
            first = false;
            std::fwrite(out.data(), 1, out.size(), stdout);
            continue;
        }
        if (paths.size() > 1)
            out += (first ? "" : "\n") + path + ":\n";
        first = false;
        const auto& labels = mp3::detailLabels();
        const auto values = mp3::detailValues(info);
        for (std::size_t i = 0; i < labels.size(); ++i)
            out += labels[i] + "\t" + values[i] + "\n";
        out += "VBR\t" + mp3::booleanText(info.IsVbr) + "\n";
        out += id3v2Lines(v2);
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    if (json)
        std::fputs(first ? "]\n" : "\n]\n", stdout);
    return status;
}

} // namespace zondari::cli
