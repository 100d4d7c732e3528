#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/cli.h"

// (The list's order and titles: platform/cataloguestore_test; a scan with
// nothing to take: cli/hostile_lines_test.)

using namespace zondari::test;
namespace fs = std::filesystem;

TEST(CliScan, WritesTheCatalogueOfTheFolderAndLeavesAStoredOneAloneUnlessToldToReplaceIt)
{
    TempDir pf, music;
    for (const char* name : {"Rock/b.mp3", "Rock/A.WMA", "c.mp3", "leggimi.txt"})
        music.write(name);
    const std::string r = music.path(), scan = "scan " + shellQuoted(r);
    CliRun run = runCli(scan + " --titolo 'Rock anni 80'", pf.path());
    ASSERT_EQ(run.status, 0);
    std::string part = r;
    std::replace_if(
        part.begin(), part.end(), [](char c) { return c == '/' || c == '.'; }, '-');
    const std::string name = run.firstLine();
    EXPECT_TRUE(name.starts_with("ZOND_DEFAULT_") && name.ends_with(part + ".txt")) << name;
    EXPECT_EQ(readFile(pf / name),
        "Rock anni 80\r\n(" + r + "/Rock)\r\n" + r + "/Rock/A.WMA\r\n" + r + "/Rock/b.mp3\r\n" + r + "/c.mp3\r\n");
    const std::string stored = readFile(pf / name);

    // (Refused without --sovrascrivi: the next test.) Untitled ("Anonimo"),
    // answering yes keeps the title already given; with a title of its own,
    // the new title replaces the old one.
    music.write("d.mp3");
    run = runCli(scan + " --sovrascrivi", pf.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.firstLine(), name);
    EXPECT_EQ(readFile(pf / name), stored + r + "/d.mp3\r\n");
    EXPECT_EQ(runCli(scan + " --sovrascrivi --titolo Terzo", pf.path()).status, 0);
    EXPECT_TRUE(readFile(pf / name).starts_with("Terzo\r\n"));

    // The user of the settings names it; --tutti takes every file.
    pf.write("zondari.ini", "; x\r\nUtente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n");
    run = runCli("scan --tutti " + shellQuoted(r), pf.path());
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(run.firstLine().starts_with("ZOND_Anna_"));
    EXPECT_NE(readFile(pf / run.firstLine()).find(r + "/leggimi.txt\r\n"), std::string::npos);
}

TEST(CliScan, RescanSaysWhatChangedAndDifferenzeListsItWithoutWriting)
{
    TempDir pf, music;
    for (const char* name : {"Rock/a.mp3", "Rock/b.mp3", "Vecchia/c.mp3"})
        music.write(name);
    const std::string scan = "scan " + shellQuoted(music.path());

    // Not catalogued yet: all of it is new, and nothing is written.
    const CliRun first = runCli(scan + " --differenze", pf.path());
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.firstLine(), "3 file aggiunti, 0 file rimossi, 2 cartelle nuove");
    EXPECT_NE(first.err.find("non è ancora stato catalogato"), std::string::npos) << first.err;
    EXPECT_TRUE(fs::is_empty(pf.path()));

    const std::string name = runCli(scan + " --titolo Primo", pf.path()).firstLine();
    ASSERT_FALSE(name.empty());
    const std::string stored = readFile(pf / name);
    EXPECT_EQ(runCli(scan + " --differenze", pf.path()).out, "Nessuna modifica dall'ultima lettura\n");

    music.write("Rock/nuovo.mp3");
    music.write("Jazz/x.mp3");
    fs::remove(music / "Rock/b.mp3");
    fs::remove_all(music / "Vecchia");
    const std::string summary = "2 file aggiunti, 2 file rimossi, 1 cartella nuova, 1 cartella rimossa\n";
    const CliRun changed = runCli(scan + " --differenze", pf.path());
    EXPECT_EQ(changed.status, 0);
    EXPECT_EQ(changed.out,
        summary + "\nFile aggiunti (2):\n" + music / "Jazz/x.mp3" + "\n" + music / "Rock/nuovo.mp3"
            + "\n\nFile rimossi (2):\n" + music / "Rock/b.mp3" + "\n" + music / "Vecchia/c.mp3"
            + "\n\nCartelle nuove (1):\n(" + music / "Jazz" + ")\n\nCartelle rimosse (1):\n(" + music / "Vecchia"
            + ")\n");
    // The scan itself says the same line before it answers, and writes
    // nothing unless told to.
    const CliRun kept = runCli(scan, pf.path());
    EXPECT_EQ(kept.status, 1);
    EXPECT_TRUE(kept.err.starts_with(summary)) << kept.err;
    EXPECT_EQ(readFile(pf / name), stored);
}

TEST(CliScan, ScanOfTheSystemDiskStaysOnItAndOutOfTheKernelsFolders)
{
    TempDir pf;
    const CliRun r = runCli("scan / --tutti", pf.path(), {}, 300);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string catalogue = readFile(pf / r.firstLine());
    EXPECT_NE(catalogue.find("\n/etc/hostname\r\n"), std::string::npos);
    for (const char* system : {"\n/proc/", "\n(/proc", "\n/sys/", "\n(/sys", "\n/dev/", "\n(/dev"})
        EXPECT_EQ(catalogue.find(system), std::string::npos) << system;
}
