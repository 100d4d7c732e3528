// Hostile command lines, tags, names and catalogues, each checked at the
// bytes the terminal gets: no raw control character, the right status, the
// file named.

#include <filesystem>
#include <gtest/gtest.h>

#include "core/tags/id3v1.h"
#include "support/cli.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// The shell's words for `s` with every byte written by printf, so that the
// bytes reach the command line as they are.
std::string bytesWord(const std::string& s)
{
    std::string octal;
    for (unsigned char c : s) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\%03o", c);
        octal += buf;
    }
    return "\"$(printf '" + octal + "')\"";
}

struct Row {
    std::string args; // run in the folder of the tracks
    int status;
    std::string outHas = {}, errHas = {};
    std::string outLacks = "\x1b"; // besides ESC and BEL, which no row may print
    bool brokenFolder = false; // the program folder with a link to a catalogue that is gone
};

} // namespace

TEST(CliHostileLines, ControlCharactersAreShownEscapedAndEveryCommandReadsOneWay)
{
    TempDir dir, pf, broken;
    TagRecord tag;
    tag.Title = "\x1b[2J\nBitrate\t1";
    tag.Artist = "Anna\xc2\x81"; // U+0081, a C1 control
    const std::string tagged = dir.write("tagged.mp3", std::string(5000, 'a') + id3v1::encode(tag));
    fs::copy_file(tagged, dir / "-brano.mp3");
    const std::string esc = "brano\x1b]52;c;SGVp\x07\nBitrate\t999.mp3"; // a clipboard write and a forged line
    dir.write(esc, std::string(5000, 'a'));
    dir.write("caff\xe8.mp3", std::string(5000, 'a'));
    dir.write("musica/x\x1b[2Jy.mp3");
    dir.write("musica/z\x9b"
              "2J.mp3"); // CSI of an 8-bit terminal
    dir.write("-cartella/a.mp3");
    dir.write("vuoto.img");
    dir.write("vuota/leggimi.txt");
    pf.write("ZOND_DEFAULT_A_1.txt", std::string("Ro\0ck \x1b[2J\r\n/m/a.mp3\r\n", 20));
    broken.write("ZOND_DEFAULT_B_2.txt", "Buono\r\n/m/rock.mp3\r\n");
    const std::string gone = broken / "ZOND_DEFAULT_Z_9.txt";
    fs::create_symlink(broken / "altrove.txt", gone);

    const std::string leftOut = "lasciato fuori:\n" + gone + " (File non trovato)\n";
    const std::vector<Row> rows = {
        {"info tagged.mp3", 0, "Nome brano\t\\x1B[2J\\x0ABitrate\\x091\nAlbum", "", "\nBitrate\t1"},
        {"info -- -brano.mp3", 0, "Artista\tAnna\\x81\n"},
        {"tag tagged.mp3", 0, "Titolo:\t\\x1B[2J\\x0ABitrate\\x091\nAutore:\tAnna\\x81\n"},
        {"tag -- -brano.mp3", 0, "Titolo:\t\\x1B[2J"},
        {"info tagged.mp3 " + bytesWord(esc), 0, "\nbrano\\x1B]52;c;SGVp\\x07\\x0ABitrate\\x09999.mp3:\nBitrate\t0\n",
            "", "\nBitrate\t999"},
        {"tag " + bytesWord(esc), 0, "Titolo:\tbrano\\x1B]52;c;SGVp\\x07\\x0ABitrate"},
        {"info --json " + bytesWord("caff\xe8.mp3"), 0, "\"file\": \"caff\\udce8.mp3\"", "", "caff\xe8"},
        {"scan --differenze musica", 0, "musica/x\\x1B[2Jy.mp3\n" + dir / "musica/z\\x9B2J.mp3\n", "", "\x9b"},
        {"scan --differenze -- -cartella", 0, "1 file aggiunto"},
        {"scan vuota", 1, "", "", "ZOND_"},
        {"scan manca", 1, "", "", "ZOND_"},
        {"list", 0, "ZOND_DEFAULT_A_1.txt \\ (Ro\\x00ck \\x1B[2J)\n"},
        {"volume tagged.mp3", 1, "", "\"tagged.mp3\": non è una cartella né un'immagine leggibile.\n", "File system"},
        {"volume vuoto.img", 1, "", "\"vuoto.img\": non è una cartella né un'immagine leggibile.\n", "File system"},
        {"list", 1, "ZOND_DEFAULT_B_2.txt \\ (Buono)\n", "impossibile leggere \"" + gone + "\": File non trovato.",
            "\x1b", true},
        {"database", 1, broken / "zondari-database-generale.htm\n", leftOut, "\x1b", true},
        {"search -- -rock", 1, broken / "zondari-pagina-di-ricerca.htm\n", leftOut, "\x1b", true},
        {"tascabile", 1, "zondari-catalogo-tascabile.htm\n1 cataloghi, 1 file\n", leftOut, "\x1b", true},
        {"scan musica --titolo", 2, "", "scan: manca il valore di --titolo (T).\nUso: zondari-cli scan CARTELLA"},
        {"list " + bytesWord("--\x1b[2J"), 2, "", "opzione sconosciuta \"--\\x1B[2J\".\nUso: zondari-cli list\n"},
        {"database di troppo", 2, "", "argomento in più: \"di\".\nUso: zondari-cli database\n"},
        {"scan --help", 0,
            "Uso: zondari-cli scan CARTELLA [--titolo T] [--tutti] [--sovrascrivi] [--differenze] [--impronte]\n"},
        {"info -h", 0, "  --json "},
        {"search " + bytesWord("\xff\xfe"), 2, "",
            "Il testo da cercare contiene caratteri non validi: scriverlo di nuovo.\n"},
        {"info", 2},
        {"info --boh tagged.mp3", 2},
        {"list troppo", 2},
        {"tag", 2},
        {"tag tagged.mp3 --genere 126", 2},
        {"tag tagged.mp3 --colore blu", 2},
        {"tag tagged.mp3 altro.mp3", 2},
        {"tag nessuno.mp3 --titolo X", 1},
        {"volume", 2},
        {"volume a b", 2},
        {"volume manca", 1, "", "impossibile leggere \"manca\": file non trovato.\n"},
    };
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    for (const Row& row : rows) {
        const CliRun r = runCli(row.args, row.brokenFolder ? broken.path() : pf.path());
        const std::string what = row.args + "\n" + r.out + r.err;
        EXPECT_EQ(r.status, row.status) << what;
        EXPECT_NE(r.out.find(row.outHas), std::string::npos) << what;
        EXPECT_NE(r.err.find(row.errHas), std::string::npos) << what;
        for (const std::string& lacks : {row.outLacks, std::string("\x1b"), std::string("\x07")})
            EXPECT_EQ(r.out.find(lacks), std::string::npos) << what;
        EXPECT_EQ(r.err.find_first_of("\x1b\x07"), std::string::npos) << what;
    }
    fs::current_path(before);
}
