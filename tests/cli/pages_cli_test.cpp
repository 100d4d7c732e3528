#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

#include "support/cli.h"
#include "support/filtercases.h"

using namespace zondari::test;

namespace {

const std::string kAnna = "; c\r\n; c\r\nUtente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n";

} // namespace

TEST(CliPages, EachPageIsWrittenFromTheUsersCataloguesAndItsPathPrinted)
{
    // (No catalogue yet, or one that is not there: no page, and the
    // windows' messages, in ui/catalogue/pages_test.)
    TempDir folder;
    folder.write("zondari.ini", kAnna);
    folder.write("ZOND_Anna_X_1.txt", "Di Anna\r\n(/a)\r\n/a/uno due.mp3\r\n/a/tre.mp3\r\n");
    folder.write("ZOND_Anna_Y_2.txt", "Vuoto\r\n");
    folder.write("ZOND_DEFAULT_X_1.txt", "Di altri\r\n/a/altrui.mp3\r\n");
    const struct {
        const char* command;
        std::string out, has; // what it prints, what its page holds
    } rows[] = {
        {"database", "zondari-database-generale.htm\n", "<a href=\"file:///a/uno%20due.mp3\">uno due.mp3</a>"},
        {"html ZOND_Anna_X_1.txt", "default.htm\n", ">tre.mp3</a><br>\r\n</p></body>"},
        {"tascabile", "zondari-catalogo-tascabile.htm\n2 cataloghi, 2 file\n", "Di Anna\nZOND_Anna_X_1.txt\n"},
    };
    for (const auto& row : rows) {
        const CliRun r = runCli(row.command, folder.path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, folder / row.out);
        const std::string page = readFile(r.firstLine());
        EXPECT_NE(page.find(row.has), std::string::npos) << row.command;
        EXPECT_EQ(page.find("altrui"), std::string::npos) << row.command; // another user's catalogue
    }
    // The pocket page is whole in itself: nothing is fetched from elsewhere.
    const std::string pocket = readFile(folder / "zondari-catalogo-tascabile.htm");
    for (const char* fetch : {" src=", "<link", "http"})
        EXPECT_EQ(pocket.find(fetch), std::string::npos) << fetch;
}

// (Its folder lines with and without --senza-cartelle, letter for letter:
// pocket_browser_qt_test; its hostile texts and options: hostile_lines_test.)
TEST(CliPages, SearchFollowsItsOptionsAndTellsWhenNothingMatches)
{
    TempDir folder;
    folder.write("ZOND_DEFAULT_A_1.txt", "T\r\n(C:\\ROCK)\r\nC:\\ROCK\\a.mp3\r\nc:\\x\\Rock.mp3\r\nc:\\x\\pop.mp3\r\n");
    const std::string page = folder / "zondari-pagina-di-ricerca.htm";
    CliRun r = runCli("search rock", folder.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, page + "\n");
    r = runCli("search --maiuscole rock", folder.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Non trovato nessun file musicale contenente la stringa : rock\n");
    EXPECT_EQ(readFile(page).find("Trovati"), std::string::npos); // written all the same
    for (const char* args : {"search x", "search è", "search ''"}) {
        r = runCli(args, folder.path());
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.err, "Inserire una stringa per la ricerca composta almeno da 2 caratteri!\n") << args;
    }
}

TEST(CliPages, CatalogueWhoseLinesEndInCrCrLfGivesThePagesOfOneEndingInCrLf)
{
    // Line ends converted to CR LF once too often: every reader takes them
    // as line ends, never as part of a title or a name.
    const auto catalogue = [&](const std::string& end) {
        return "Rock anni 80" + end + "(/a)" + end + "/a/uno due.mp3" + end + "/a/tre.mp3" + end;
    };
    const struct {
        const char* command;
        const char* page; // or empty: what it prints
    } readers[] = {
        {"list", ""},
        {"html ZOND_DEFAULT_X_1.txt", "default.htm"},
        {"database", "zondari-database-generale.htm"},
        {"search uno", "zondari-pagina-di-ricerca.htm"},
        {"tascabile", "zondari-catalogo-tascabile.htm"},
    };
    for (const auto& reader : readers) {
        std::string made[2];
        for (int i = 0; i < 2; ++i) {
            TempDir folder;
            folder.write("ZOND_DEFAULT_X_1.txt", catalogue(i == 0 ? "\r\n" : "\r\r\n"));
            const CliRun r = runCli(reader.command, folder.path());
            EXPECT_EQ(r.status, 0) << reader.command << ": " << r.err;
            made[i] = *reader.page ? readFile(folder / reader.page) : r.out;
        }
        EXPECT_EQ(made[1], made[0]) << reader.command;
    }
}

// Field filters find by what a real scan recorded; the pages show it
// beside each file, and the catalogue's totals under it.
TEST(CliPages, FiltersFindByTheScannedDataAndThePagesShowIt)
{
    TempDir folder;
    const FilterCatalogues catalogues(folder.path());
    ASSERT_FALSE(catalogues.scanned.empty());
    const std::string page = folder / "zondari-pagina-di-ricerca.htm";
    for (const FilterCase& c : kFilterCases) {
        std::filesystem::remove(page);
        const CliRun r = runCli(
            std::string("search ") + (c.caseSensitive ? "--maiuscole " : "") + shellQuoted(c.text), folder.path());
        const std::string got = r.status == 0                ? hitsOf(readFile(page))
            : r.status == 2 && r.err.starts_with("Inserire") ? kRefused
            : r.err.starts_with("Non trovato")               ? ""
                                                             : r.err;
        EXPECT_EQ(got, c.hits) << c.text;
    }
    const std::string figures = R"([>/]pink-time\.mp3</a> \(\d+(,\d)? KB, 0:03, 128 kbps\)<br>)";
    const struct {
        std::string command, line;
    } shown[] = {
        {"html " + catalogues.scanned, figures},
        {"html " + catalogues.scanned, R"(>pink\.txt</a> \(4 byte\)<br>)"},
        {"html " + catalogues.scanned,
            R"(<b>Totali: 4 file, \d+ KB, 0:00:11 di musica, .+ liberi</b><br>\r\n</p></body>)"},
        {"database", R"(>cura\.mp3</a> \(\d+(,\d)? KB, 0:02, 192 kbps\)<br>)"},
        {"database", R"(<b>Totali: 4 file, )"},
        {"database",
            "\"Vecchio\" </p><hr><p>\r\n</p><p>\\(/vecchio\\)<br>\r\n<a href=\"file:///vecchio/pink%20floyd.mp3\">pink "
            "floyd.mp3</a><br>\r\n</p>\r\n"},
        {"search time", figures + "\r\n</p>"},
    };
    for (const auto& s : shown) {
        const CliRun r = runCli(s.command, folder.path());
        EXPECT_TRUE(std::regex_search(readFile(r.firstLine()), std::regex(s.line))) << s.command << ": " << s.line;
    }
}
