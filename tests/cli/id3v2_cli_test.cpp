#include <gtest/gtest.h>

#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/peertags.h"

using namespace zondari::test;
namespace peer = zondari::test::peertags;

namespace {

const peer::Fields kFields = {"Песня ñ", "Ärtist Σ", "Альбом", "2004", "Commento é", "3/12", "Rock"};

// What Python's json module (which also checks that the whole output is
// JSON) prints of `expression` over zondari-cli's JSON for `args`.
std::string json(const std::string& args, const std::string& expression)
{
    return output(shellQuoted(programBinary("zondari-cli")) + " info --json " + args + " | python3 -c "
        + shellQuoted("import json,sys; d=json.load(sys.stdin); print(" + expression + ")"));
}

} // namespace

// (Each version and text encoding: platform/id3v2file_test; the same tag in
// the details window: ui/analysis/frmdatimp3_test.)
TEST(CliId3v2, InfoShowsTheTagOfFilesFromPeerTaggers)
{
    ASSERT_TRUE(haveMp3Tools());
    ASSERT_TRUE(peer::have("eyeD3")) << "scripts/setup installs eyed3";
    TempDir dir;
    // eyeD3 writes ID3v2.3 in UTF-16, the track as "03/12".
    const std::string path = makeMp3(dir.path(), "eyed3.mp3", {2.0});
    ASSERT_TRUE(peer::tagWithEyeD3(path, kFields));
    const CliRun r = runCli("info " + shellQuoted(path));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(r.out.find("VBR\t")),
        "VBR\tFalso\nReplayGain\t-11.30 dB\nID3v2\t2.3\nID3v2 Titolo\tПесня ñ\nID3v2 Autore\tÄrtist Σ\nID3v2 "
        "Album\tАльбом\n"
        "ID3v2 Anno\t2004\nID3v2 Commento\tCommento é\nID3v2 Traccia\t03/12\nID3v2 Genere\tRock\n");
    // The ID3v1 fields stay the ID3v1 tag's: there is none.
    EXPECT_NE(r.out.find("Nome brano\t\n"), std::string::npos);
    EXPECT_NE(r.out.find("Hastag\tFalso\n"), std::string::npos);
}

TEST(CliId3v2, JsonHasEveryDetailsFieldInAStableShape)
{
    ASSERT_TRUE(haveMp3Tools());
    TempDir dir;
    const std::string v1
        = makeMp3(dir.path(), "v1.mp3", {2.0, 44100, 2, "-b 128 --id3v1-only --tt \"Il \\\"titolo\\\"\" --tg 85"});
    const std::string v2
        = makeMp3(dir.path(), "v2.mp3", {2.0, 44100, 2, "-b 128 --id3v2-only --tt Uno --tc \"a\\\\b\""});
    EXPECT_EQ(json(shellQuoted(v1), "list(d[0].keys()), list(d[0]['id3v1'].keys())"),
        "['file', 'bitrate', 'frequenza', 'durata', 'durata_secondi', 'versione', 'layer', 'original', 'empasis', "
        "'copyright', 'mode', 'padding', 'crc', 'private', 'vbr', 'vbr_frames', 'replaygain_db', 'id3v1', 'id3v2'] "
        "['presente', 'artista', 'nome_brano', 'album', 'anno', 'commenti', 'genere', 'genere_numero']\n");
    EXPECT_EQ(
        json(shellQuoted(v1),
            "d[0]['bitrate'], d[0]['durata'], d[0]['mode'], d[0]['original'], d[0]['vbr'], "
            "d[0]['id3v1']['nome_brano'], d[0]['id3v1']['genere'], d[0]['id3v1']['genere_numero'], d[0]['id3v2']"),
        "128 0:02 joint stereo sì False Il \"titolo\" Bebob 85 None\n");
    EXPECT_EQ(json(shellQuoted(v2), "list(d[0]['id3v2'].keys()), d[0]['id3v2']['versione'], d[0]['id3v2']['commento']"),
        "['versione', 'titolo', 'autore', 'album', 'anno', 'commento', 'traccia', 'genere'] 2.3 a\\b\n");
    // Several files, one unreadable: an array with an error entry, status 1.
    dir.mkdir("cartella.mp3");
    const std::string three = shellQuoted(v1) + " " + shellQuoted(dir / "cartella.mp3") + " " + shellQuoted(v2);
    EXPECT_EQ(runCli("info --json " + three).status, 1);
    EXPECT_EQ(
        json(three, "len(d), d[1]['errore'], d[2]['id3v2']['titolo']"), "3 Errore di accesso al percorso/file Uno\n");
}

// (The copy read back by eyeD3: ui/tags/frmmain_test, the editor's button.)
TEST(CliId3v2, TagFromId3v2WritesTheId3v1TagAsTheEditorsCopyDoes)
{
    ASSERT_TRUE(haveMp3Tools());
    ASSERT_TRUE(peer::have("mid3v2"));
    TempDir dir;
    const std::string path = makeMp3(dir.path(), "brano.mp3", {2.0});
    peer::Fields f = kFields;
    f.artist = "Un artista dal nome molto più lungo di trenta";
    ASSERT_TRUE(peer::tagWithMid3v2(path, f));
    const std::string before = readFile(path);
    const CliRun r = runCli("tag " + shellQuoted(path) + " --da-id3v2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(path).substr(0, before.size()), before); // the ID3v2 tag and the audio untouched
    EXPECT_EQ(runCli("tag " + shellQuoted(path)).out,
        "Titolo:\t????? ñ\nAutore:\tUn artista dal nome molto più\nAlbum:\t??????\nAnno:\t2004\n"
        "Commento:\tCommento é\nGenere:\tRock\n");
    // A file without an ID3v2 tag is left as it was.
    const std::string plain = makeMp3(dir.path(), "semplice.mp3", {1.0}), plainBytes = readFile(plain);
    EXPECT_NE(
        runCli("tag " + shellQuoted(plain) + " --da-id3v2").err.find("non contiene un tag ID3v2"), std::string::npos);
    EXPECT_EQ(readFile(plain), plainBytes);
}
