#include <filesystem>
#include <gtest/gtest.h>

#include "core/common/text.h"
#include "support/tempdir.h"

using namespace zondari::test;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
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

bool exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

}  // namespace

TEST(CliPages, HtmlWritesDefaultHtmOfANamedCatalogue)
{
    TempDir folder;
    folder.write("ZOND_DEFAULT_CD_1.txt", "Il mio CD\r\n(/cd/Rock)\r\n/cd/Rock/a b.mp3\r\n");
    const CliRun r = cli(folder, "html ZOND_DEFAULT_CD_1.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, folder / "default.htm\n");
    const auto lines = zondari::text::splitLines(readFile(folder / "default.htm"));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[8], "<p>Raccolta musicale : \"Il mio CD\" <br>");
    EXPECT_EQ(lines[9], "</p><p>(/cd/Rock)<br>");
    EXPECT_EQ(lines[10], "<a href=\"file:///cd/Rock/a%20b.mp3\">a b.mp3</a><br>");

    // A path anywhere works too; a missing catalogue writes nothing new.
    TempDir elsewhere;
    const std::string other = elsewhere.write("copia.txt", "Copia\r\n");
    EXPECT_EQ(cli(folder, "html '" + other + "'").status, 0);
    EXPECT_NE(readFile(folder / "default.htm").find("\"Copia\""), std::string::npos);
    const CliRun missing = cli(folder, "html ZOND_DEFAULT_nessuno.txt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Nessun file trovato, non verrà creato nessun file HTML\n");
    EXPECT_EQ(cli(folder, "html").status, 2);
}

TEST(CliPages, DatabaseListsTheCataloguesOfTheUserInTheSettings)
{
    TempDir folder;
    folder.write("zondari.ini", "; c\r\n; c\r\nUtente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n");
    folder.write("ZOND_Anna_X_1.txt", "Di Anna\r\n/a/uno.mp3\r\n");
    folder.write("ZOND_DEFAULT_X_1.txt", "Di altri\r\n/a/due.mp3\r\n");
    const CliRun r = cli(folder, "database");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, folder / "zondari-database-generale.htm\n");
    const std::string page = readFile(folder / "zondari-database-generale.htm");
    EXPECT_NE(page.find("<a href=\"file:///a/uno.mp3\">uno.mp3</a>"), std::string::npos);
    EXPECT_EQ(page.find("due.mp3"), std::string::npos);
    EXPECT_EQ(cli(folder, "database extra").status, 2);
}

TEST(CliPages, NoCatalogueAtAllIsToldAndWritesNothing)
{
    TempDir folder;
    for (const char* args : {"database", "search rock"}) {
        const CliRun r = cli(folder, args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("Questa operazione legge tutti i dati dei CD di MP3 che hai inserito", 0), 0u) << r.err;
    }
    EXPECT_FALSE(exists(folder / "zondari-database-generale.htm"));
    EXPECT_FALSE(exists(folder / "zondari-pagina-di-ricerca.htm"));
}

TEST(CliPages, SearchFollowsItsOptions)
{
    TempDir folder;
    folder.write("ZOND_DEFAULT_A_1.txt", "T\r\n(C:\\ROCK)\r\nC:\\ROCK\\a.mp3\r\nc:\\x\\Rock.mp3\r\nc:\\x\\pop.mp3\r\n");
    const std::string page = folder / "zondari-pagina-di-ricerca.htm";

    CliRun r = cli(folder, "search rock");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, page + "\n");
    std::string text = readFile(page);
    EXPECT_NE(text.find("</p><p>(C:\\ROCK)<br>"), std::string::npos);
    EXPECT_NE(text.find("Trovati  2 files"), std::string::npos);

    r = cli(folder, "search rock --senza-cartelle");
    EXPECT_EQ(r.status, 0);
    text = readFile(page);
    EXPECT_EQ(text.find("(C:\\ROCK)"), std::string::npos);
    EXPECT_NE(text.find("Trovati  2 files"), std::string::npos);

    r = cli(folder, "search --maiuscole rock");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Non trovato nessun file musicale contenente la stringa : rock\n");
    // The page is written all the same, without hits.
    EXPECT_EQ(r.out, page + "\n");
    EXPECT_EQ(readFile(page).find("Trovati"), std::string::npos);

    r = cli(folder, "search --maiuscole Rock");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(readFile(page).find("Trovati  1 files contenenti la stringa : <b>Rock</b>"), std::string::npos);
}

TEST(CliPages, SearchNeedsTwoCharactersAndOneText)
{
    TempDir folder;
    folder.write("ZOND_DEFAULT_A_1.txt", "T\r\n/è.mp3\r\n");
    for (const char* args : {"search x", "search è", "search ''"}) {
        const CliRun r = cli(folder, args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.err, "Inserire una stringa per la ricerca composta almeno da 2 caratteri!\n") << args;
    }
    EXPECT_EQ(cli(folder, "search").status, 2);
    EXPECT_EQ(cli(folder, "search ab cd").status, 2);
    EXPECT_EQ(cli(folder, "search ab --tutto").status, 2);
    EXPECT_FALSE(exists(folder / "zondari-pagina-di-ricerca.htm"));
    // Two characters, one of them beyond ASCII, are enough.
    EXPECT_EQ(cli(folder, "search È.").status, 0);
}

TEST(CliPages, ReadOnlyProgramFolderFailsAndChangesNothing)
{
    TempDir folder;
    folder.write("ZOND_DEFAULT_A_1.txt", "T\r\n/a.mp3\r\n");
    folder.write("default.htm", "vecchia");
    ReadOnly lock(folder.path());
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";
    for (const char* args : {"html ZOND_DEFAULT_A_1.txt", "database", "search a.mp3"}) {
        const CliRun r = cli(folder, args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(r.err.rfind("zondari-cli: ", 0), 0u) << r.err;
    }
    EXPECT_EQ(readFile(folder / "default.htm"), "vecchia");
    EXPECT_FALSE(exists(folder / "zondari-database-generale.htm"));
}
