#include <filesystem>
#include <gtest/gtest.h>

#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/peertags.h"

using namespace zondari::test;
namespace peer = zondari::test::peertags;

namespace {

const peer::Fields kFields = {"Песня ñ", "Ärtist Σ", "Альбом", "2004", "Commento é", "3/12", "Rock"};

struct Tagged {
    std::string path;
    std::string version;
};

// The same fields through each peer: mid3v2 (2.4, UTF-8), eyeD3 (2.3,
// UTF-16), lame --id3v2-only (2.3, UTF-16).
std::vector<Tagged> taggedByPeers(const TempDir& dir)
{
    std::vector<Tagged> files;
    const std::string mid3v2 = makeMp3(dir.path(), "mid3v2.mp3", {2.0});
    EXPECT_TRUE(peer::tagWithMid3v2(mid3v2, kFields));
    files.push_back({mid3v2, "2.4"});
    const std::string eyed3 = makeMp3(dir.path(), "eyed3.mp3", {2.0});
    EXPECT_TRUE(peer::tagWithEyeD3(eyed3, kFields));
    files.push_back({eyed3, "2.3"});
    files.push_back(
        {makeMp3(dir.path(), "lame.mp3", {2.0, 44100, 2, "-b 128 " + peer::lameId3v2Only(kFields)}), "2.3"});
    return files;
}

// A field of zondari-cli's JSON, read by Python's json module (which also
// checks that the whole output is JSON).
std::string jsonField(const std::string& path, const std::string& expression)
{
    int status = -1;
    std::string out = output(shellQuoted(programBinary("zondari-cli")) + " info --json " + shellQuoted(path)
            + " | python3 -c " + shellQuoted("import json,sys; d=json.load(sys.stdin); print(" + expression + ")"),
        &status);
    EXPECT_EQ(status, 0) << expression;
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

} // namespace

TEST(CliId3v2, InfoShowsTheTagOfFilesFromPeerTaggers)
{
    ASSERT_TRUE(haveMp3Tools());
    ASSERT_TRUE(peer::have("mid3v2") && peer::have("eyeD3")) << "scripts/setup installs python3-mutagen and eyed3";
    TempDir dir;
    for (const Tagged& f : taggedByPeers(dir)) {
        SCOPED_TRACE(f.path);
        const CliRun r = runCli("info " + shellQuoted(f.path));
        EXPECT_EQ(r.status, 0);
        const std::string block = r.out.substr(r.out.find("VBR\t"));
        // eyeD3 writes the track as "03/12".
        const std::string track = f.path.find("eyed3") != std::string::npos ? "03/12" : "3/12";
        EXPECT_EQ(block,
            "VBR\tFalso\nID3v2\t" + f.version
                + "\nID3v2 Titolo\tПесня ñ\nID3v2 Autore\tÄrtist Σ\nID3v2 Album\tАльбом\n"
                  "ID3v2 Anno\t2004\nID3v2 Commento\tCommento é\nID3v2 Traccia\t"
                + track
                + "\n"
                  "ID3v2 Genere\tRock\n");
        // The ID3v1 fields stay the ID3v1 tag's: there is none.
        EXPECT_NE(r.out.find("Nome brano\t\n"), std::string::npos);
        EXPECT_NE(r.out.find("Hastag\tFalso\n"), std::string::npos);
    }
}

TEST(CliId3v2, EveryFieldAgreesWithFfprobeOrMediainfo)
{
    ASSERT_TRUE(haveMp3Tools());
    ASSERT_TRUE(peer::have("mid3v2") && peer::have("eyeD3"));
    const bool ffprobe = peer::have("ffprobe");
    const bool mediainfo = peer::have("mediainfo");
    if (!ffprobe && !mediainfo)
        GTEST_SKIP() << "ffprobe and mediainfo are missing: scripts/setup --bench installs them";
    TempDir dir;
    for (const Tagged& f : taggedByPeers(dir)) {
        SCOPED_TRACE(f.path);
        const auto probe = ffprobe ? peer::ffprobeTags(f.path) : std::map<std::string, std::string>{};
        const peer::Fields info = mediainfo ? peer::mediainfoFields(f.path) : peer::Fields{};
        const struct {
            const char* ours;
            const char* ffprobeKey;
            std::string peer::Fields::*mediainfoField;
        } fields[] = {
            {"titolo", "title", &peer::Fields::title},
            {"autore", "artist", &peer::Fields::artist},
            {"album", "album", &peer::Fields::album},
            {"anno", "date", &peer::Fields::year},
            {"commento", "comment", &peer::Fields::comment},
            {"traccia", "track", &peer::Fields::track},
            {"genere", "genre", &peer::Fields::genre},
        };
        // All seven in one run, one to a line.
        std::string expression
            = "'\\n'.join(d[0]['id3v2'][k] for k in ['titolo','autore','album','anno','commento','traccia','genere'])";
        const std::string all = jsonField(f.path, expression) + "\n";
        std::size_t at = 0;
        for (const auto& field : fields) {
            const std::string ours = all.substr(at, all.find('\n', at) - at);
            at = all.find('\n', at) + 1;
            EXPECT_FALSE(ours.empty()) << field.ours;
            const auto p = probe.find(field.ffprobeKey);
            const std::string theirs = info.*field.mediainfoField;
            // Each peer reads what it can: lame's comment is lost on ffprobe.
            EXPECT_TRUE((p != probe.end() && p->second == ours) || theirs == ours)
                << field.ours << ": ours \"" << ours << "\", ffprobe \"" << (p != probe.end() ? p->second : "-")
                << "\", mediainfo \"" << theirs << "\"";
        }
    }
}

TEST(CliId3v2, JsonHasEveryDetailsFieldInAStableShape)
{
    ASSERT_TRUE(haveMp3Tools());
    TempDir dir;
    const std::string v1
        = makeMp3(dir.path(), "v1.mp3", {2.0, 44100, 2, "-b 128 --id3v1-only --tt \"Il \\\"titolo\\\"\" --tg 85"});
    EXPECT_EQ(jsonField(v1, "list(d[0].keys())"),
        "['file', 'bitrate', 'frequenza', 'durata', 'durata_secondi', 'versione', 'layer', 'original', 'empasis', "
        "'copyright', 'mode', 'padding', 'crc', 'private', 'vbr', 'vbr_frames', 'id3v1', 'id3v2']");
    EXPECT_EQ(jsonField(v1, "list(d[0]['id3v1'].keys())"),
        "['presente', 'artista', 'nome_brano', 'album', 'anno', 'commenti', 'genere', 'genere_numero']");
    EXPECT_EQ(jsonField(v1, "d[0]['bitrate'], d[0]['durata'], d[0]['mode'], d[0]['original'], d[0]['vbr']"),
        "128 0:02 joint stereo sì False");
    EXPECT_EQ(jsonField(v1, "d[0]['id3v1']['nome_brano'], d[0]['id3v1']['genere'], d[0]['id3v1']['genere_numero']"),
        "Il \"titolo\" Bebob 85");
    EXPECT_EQ(jsonField(v1, "d[0]['id3v2']"), "None");

    const std::string v2
        = makeMp3(dir.path(), "v2.mp3", {2.0, 44100, 2, "-b 128 --id3v2-only --tt Uno --tc \"a\\\\b\""});
    EXPECT_EQ(jsonField(v2, "list(d[0]['id3v2'].keys())"),
        "['versione', 'titolo', 'autore', 'album', 'anno', 'commento', 'traccia', 'genere']");
    EXPECT_EQ(
        jsonField(v2, "d[0]['id3v2']['versione'], d[0]['id3v2']['titolo'], d[0]['id3v2']['commento']"), "2.3 Uno a\\b");

    // Several files, one unreadable: an array with an error entry, status 1.
    dir.mkdir("cartella.mp3");
    const CliRun r
        = runCli("info --json " + shellQuoted(v1) + " " + shellQuoted(dir / "cartella.mp3") + " " + shellQuoted(v2));
    EXPECT_EQ(r.status, 1);
    const std::string check = "echo " + shellQuoted(r.out)
        + " | python3 -c 'import json,sys; d=json.load(sys.stdin); print(len(d), d[1][\"errore\"], "
          "d[2][\"id3v2\"][\"titolo\"])'";
    EXPECT_EQ(output(check), "3 Errore di accesso al percorso/file Uno\n");
}

TEST(CliId3v2, TagFromId3v2WritesTheId3v1TagThatPeersReadBack)
{
    ASSERT_TRUE(haveMp3Tools());
    ASSERT_TRUE(peer::have("mid3v2") && peer::have("eyeD3"));
    TempDir dir;
    const std::string path = makeMp3(dir.path(), "brano.mp3", {2.0});
    peer::Fields f = kFields;
    f.artist = "Un artista dal nome molto più lungo di trenta";
    ASSERT_TRUE(peer::tagWithMid3v2(path, f));
    const std::string before = readFile(path);

    const CliRun r = runCli("tag " + shellQuoted(path) + " --da-id3v2");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string after = readFile(path);
    ASSERT_EQ(after.size(), before.size() + 128);
    EXPECT_EQ(after.substr(0, before.size()), before); // the ID3v2 tag and the audio untouched
    const std::string record = after.substr(before.size());
    EXPECT_EQ(static_cast<unsigned char>(record[127]), 17); // Rock

    // eyeD3 reads the ID3v1 tag alone.
    const std::string v1 = output("eyeD3 --no-color --v1 " + shellQuoted(path) + " 2>/dev/null");
    EXPECT_NE(v1.find("title: ????? ñ"), std::string::npos) << v1;
    EXPECT_NE(v1.find("artist: Un artista dal nome molto più\n"), std::string::npos) << v1;
    EXPECT_NE(v1.find("album: ??????"), std::string::npos) << v1;
    EXPECT_NE(v1.find("genre: Rock"), std::string::npos) << v1;
    EXPECT_EQ(runCli("tag " + shellQuoted(path)).out,
        "Titolo:\t????? ñ\nAutore:\tUn artista dal nome molto più\nAlbum:\t??????\nAnno:\t2004\n"
        "Commento:\tCommento é\nGenere:\tRock\n");

    // A file without an ID3v2 tag is left as it was.
    const std::string plain = makeMp3(dir.path(), "semplice.mp3", {1.0});
    const std::string plainBytes = readFile(plain);
    const CliRun none = runCli("tag " + shellQuoted(plain) + " --da-id3v2");
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("non contiene un tag ID3v2"), std::string::npos);
    EXPECT_EQ(readFile(plain), plainBytes);
}
