#include <filesystem>
#include <gtest/gtest.h>

#include "support/cli.h"

using namespace zondari::test;
namespace fs = std::filesystem;

TEST(CliScan, WritesTheCatalogueOfTheFolderAndPrintsItsName)
{
    TempDir pf, music;
    music.write("Rock/b.mp3");
    music.write("Rock/A.WMA");
    music.write("c.mp3");
    music.write("leggimi.txt");
    const std::string r = music.path();
    CliRun scan = runCli("scan " + shellQuoted(r) + " --titolo 'Rock anni 80'", pf.path());
    ASSERT_EQ(scan.status, 0);
    std::string part = r;
    for (char& c : part)
        if (c == '/' || c == '.')
            c = '-';
    const std::string name = scan.firstLine();
    EXPECT_EQ(name.rfind("ZOND_DEFAULT_", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - part.size() - 4), part + ".txt");
    EXPECT_EQ(readFile(pf / name),
        "Rock anni 80\r\n(" + r + "/Rock)\r\n" + r + "/Rock/A.WMA\r\n" + r + "/Rock/b.mp3\r\n" + r + "/c.mp3\r\n");

    // The user of the settings names it.
    pf.write("zondari.ini", "; x\r\nUtente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n");
    scan = runCli("scan --tutti " + shellQuoted(r), pf.path());
    ASSERT_EQ(scan.status, 0);
    EXPECT_EQ(scan.firstLine().rfind("ZOND_Anna_", 0), 0u);
    EXPECT_NE(readFile(pf / scan.firstLine()).find(r + "/leggimi.txt\r\n"), std::string::npos);
}

TEST(CliScan, ExistingCatalogueIsLeftAloneUnlessTheQuestionIsAnswered)
{
    TempDir pf, music;
    music.write("a.mp3");
    const std::string scan = "scan " + shellQuoted(music.path());
    const std::string name = runCli(scan + " --titolo Primo", pf.path()).firstLine();
    ASSERT_FALSE(name.empty());
    music.write("b.mp3");

    EXPECT_EQ(runCli(scan + " --titolo Secondo", pf.path()).status, 1);
    EXPECT_EQ(readFile(pf / name), "Primo\r\n" + music / "a.mp3" + "\r\n");

    // Untitled ("Anonimo"), answering yes keeps the title already given.
    const CliRun yes = runCli(scan + " --sovrascrivi", pf.path());
    EXPECT_EQ(yes.status, 0);
    EXPECT_EQ(yes.firstLine(), name);
    EXPECT_EQ(readFile(pf / name), "Primo\r\n" + music / "a.mp3" + "\r\n" + music / "b.mp3" + "\r\n");

    // With a title of its own, the new title replaces the old one.
    EXPECT_EQ(runCli(scan + " --sovrascrivi --titolo Terzo", pf.path()).status, 0);
    EXPECT_EQ(readFile(pf / name).rfind("Terzo\r\n", 0), 0u);
}

TEST(CliScan, RescanSaysWhatChangedAndDifferenzeListsItWithoutWriting)
{
    TempDir pf, music;
    music.write("Rock/a.mp3");
    music.write("Rock/b.mp3");
    music.write("Vecchia/c.mp3");
    const std::string scan = "scan " + shellQuoted(music.path());

    // Not catalogued yet: all of it is new, and nothing is written.
    CliRun first = runCli(scan + " --differenze", pf.path());
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.firstLine(), "3 file aggiunti, 0 file rimossi, 2 cartelle nuove");
    EXPECT_NE(first.err.find("non è ancora stato catalogato"), std::string::npos) << first.err;
    EXPECT_TRUE(fs::is_empty(pf.path()));

    const std::string name = runCli(scan + " --titolo Primo", pf.path()).firstLine();
    ASSERT_FALSE(name.empty());
    const std::string stored = readFile(pf / name);
    CliRun same = runCli(scan + " --differenze", pf.path());
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "Nessuna modifica dall'ultima lettura\n");

    music.write("Rock/nuovo.mp3");
    music.write("Jazz/x.mp3");
    fs::remove(music / "Rock/b.mp3");
    fs::remove_all(music / "Vecchia");
    CliRun changed = runCli(scan + " --differenze", pf.path());
    EXPECT_EQ(changed.status, 0);
    EXPECT_EQ(changed.out,
        "2 file aggiunti, 2 file rimossi, 1 cartella nuova, 1 cartella rimossa\n\n"
        "File aggiunti (2):\n"
            + music / "Jazz/x.mp3" + "\n" + music / "Rock/nuovo.mp3" + "\n\nFile rimossi (2):\n" + music / "Rock/b.mp3"
            + "\n" + music / "Vecchia/c.mp3" + "\n\nCartelle nuove (1):\n(" + music / "Jazz" + ")\n\n"
            + "Cartelle rimosse (1):\n(" + music / "Vecchia" + ")\n");
    EXPECT_EQ(readFile(pf / name), stored);

    // The scan itself says the same line before it answers.
    const CliRun kept = runCli(scan, pf.path());
    EXPECT_EQ(kept.status, 1);
    EXPECT_EQ(kept.err.rfind("2 file aggiunti, 2 file rimossi, 1 cartella nuova, 1 cartella rimossa\n", 0), 0u)
        << kept.err;
    EXPECT_EQ(readFile(pf / name), stored);
    const CliRun replaced = runCli(scan + " --sovrascrivi", pf.path());
    EXPECT_EQ(replaced.status, 0);
    EXPECT_EQ(replaced.firstLine(), name);
    EXPECT_EQ(runCli(scan + " --differenze", pf.path()).out, "Nessuna modifica dall'ultima lettura\n");
}

TEST(CliScan, NothingToCatalogueOrNothingToReadWritesNothing)
{
    TempDir pf, empty;
    empty.write("leggimi.txt");
    for (const auto& [args, status] :
        {std::pair{"scan " + shellQuoted(empty.path()), 1}, {"scan " + shellQuoted(empty / "non-esiste"), 1},
            {std::string("scan"), 2}, {"scan " + shellQuoted(empty.path()) + " --colore rosso", 2}})
        EXPECT_EQ(runCli(args, pf.path()).status, status) << args;
    EXPECT_TRUE(fs::is_empty(pf.path()));
}

TEST(CliScan, SubfolderWithoutPermissionKeepsItsEntryAndIsPassedOver)
{
    // Root reads every folder: the scan runs as an ordinary user.
    if (run("command -v setpriv >/dev/null") != 0)
        GTEST_SKIP() << "setpriv missing";
    TempDir pf, music, bin;
    music.write("aperta/a.mp3");
    music.write("chiusa/segreta.mp3");
    music.write("z.mp3");
    fs::permissions(music / "chiusa", fs::perms::owner_all); // 0700, root's
    for (const TempDir* d : {&music, &pf, &bin})
        fs::permissions(d->path(), fs::perms::all);
    // The build tree may lie where that user cannot go: a copy of the program runs.
    fs::copy_file(programBinary("zondari-cli"), bin / "zondari-cli");
    const std::string out = output("ZONDARI_PROGRAM_FOLDER=" + shellQuoted(pf.path())
        + " setpriv --reuid=65534 --regid=65534 --clear-groups " + shellQuoted(bin / "zondari-cli") + " scan "
        + shellQuoted(music.path()));
    const std::string name = out.substr(0, out.find('\n'));
    ASSERT_FALSE(name.empty());
    const std::string r = music.path();
    EXPECT_EQ(readFile(pf / name),
        "Anonimo\r\n(" + r + "/aperta)\r\n" + r + "/aperta/a.mp3\r\n(" + r + "/chiusa)\r\n" + r + "/z.mp3\r\n");
}

TEST(CliList, PrintsTheCatalogueListInOrder)
{
    TempDir pf;
    EXPECT_EQ(runCli("list", pf.path()).status, 1);
    pf.write("ZOND_DEFAULT_B_2.txt", "Secondo\r\n/b.mp3\r\n");
    pf.write("ZOND_DEFAULT_a_1.txt", "Prim\xe8 \r\n");
    pf.write("ZOND_Anna_C_3.txt", "di Anna\r\n");
    const CliRun list = runCli("list", pf.path());
    EXPECT_EQ(list.out, "ZOND_DEFAULT_a_1.txt \\ (Primè )\nZOND_DEFAULT_B_2.txt \\ (Secondo)\n");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(runCli("list troppo", pf.path()).status, 2);
}
