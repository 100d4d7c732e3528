#include <gtest/gtest.h>

#include "support/tempdir.h"

using namespace zondari::test;

namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

// zondari-cli with `folder` as its program folder.
CliRun cli(const TempDir& folder, const std::string& args)
{
    TempDir scratch;
    CliRun r;
    r.out = output("ZONDARI_PROGRAM_FOLDER='" + folder.path() + "' '" + programBinary("zondari-cli") + "' " + args +
                       " 2>'" + scratch.path() + "/err'",
                   &r.status);
    r.err = readFile(scratch / "err");
    return r;
}

}  // namespace

TEST(CliPages, HtmlAndDatabaseWriteTheUsersPagesAndPrintTheirPaths)
{
    TempDir folder;
    CliRun r = cli(folder, "database");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Questa operazione legge tutti i dati dei CD di MP3 che hai inserito", 0), 0u) << r.err;

    folder.write("zondari.ini", "; c\r\n; c\r\nUtente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n");
    folder.write("ZOND_Anna_X_1.txt", "Di Anna\r\n(/a)\r\n/a/uno due.mp3\r\n");
    folder.write("ZOND_DEFAULT_X_1.txt", "Di altri\r\n/a/tre.mp3\r\n");
    r = cli(folder, "database");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, folder / "zondari-database-generale.htm\n");
    std::string page = readFile(folder / "zondari-database-generale.htm");
    EXPECT_NE(page.find("<a href=\"file:///a/uno%20due.mp3\">uno due.mp3</a>"), std::string::npos);
    EXPECT_EQ(page.find("tre.mp3"), std::string::npos);

    r = cli(folder, "html ZOND_Anna_X_1.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, folder / "default.htm\n");
    page = readFile(folder / "default.htm");
    EXPECT_NE(page.find("<p>Raccolta musicale : \"Di Anna\" <br>\r\n</p><p>(/a)<br>\r\n<a href=\"file:///a/uno%20due"
                        ".mp3\">uno due.mp3</a><br>\r\n</p></body>"),
              std::string::npos);
    r = cli(folder, "html ZOND_Anna_nessuno.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Nessun file trovato, non verrà creato nessun file HTML\n");
    EXPECT_EQ(cli(folder, "html").status, 2);
}

TEST(CliPages, SearchFollowsItsOptionsAndTellsWhenNothingMatches)
{
    TempDir folder;
    folder.write("ZOND_DEFAULT_A_1.txt", "T\r\n(C:\\ROCK)\r\nC:\\ROCK\\a.mp3\r\nc:\\x\\Rock.mp3\r\nc:\\x\\pop.mp3\r\n");
    const std::string page = folder / "zondari-pagina-di-ricerca.htm";
    CliRun r = cli(folder, "search rock");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, page + "\n");
    EXPECT_NE(readFile(page).find("</p><p>(C:\\ROCK)<br>"), std::string::npos);
    EXPECT_NE(readFile(page).find("Trovati  2 files"), std::string::npos);

    EXPECT_EQ(cli(folder, "search rock --senza-cartelle").status, 0);
    EXPECT_EQ(readFile(page).find("(C:\\ROCK)"), std::string::npos);

    EXPECT_EQ(cli(folder, "search -- -x.mp3").status, 1);  // a text, not an option
    r = cli(folder, "search --maiuscole rock");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Non trovato nessun file musicale contenente la stringa : rock\n");
    EXPECT_EQ(readFile(page).find("Trovati"), std::string::npos);  // written all the same

    for (const char* args : {"search x", "search è", "search ''"}) {
        r = cli(folder, args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.err, "Inserire una stringa per la ricerca composta almeno da 2 caratteri!\n") << args;
    }
    for (const char* args : {"search", "search ab cd", "search ab --tutto"})
        EXPECT_EQ(cli(folder, args).status, 2) << args;
}
