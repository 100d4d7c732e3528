#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/cli.h"
#include "support/mp3fixtures.h"

// (The list's order and titles: platform/cataloguestore_test; a scan with
// nothing to take or a folder that is not there, and the usage errors:
// cli/hostile_lines_test; a rescan's title and question:
// ui/catalogue/frmmp3print_test.)

using namespace zondari::test;
namespace fs = std::filesystem;

TEST(CliScan, WritesTheCatalogueOfTheFolderNamedAfterItAndItsUser)
{
    TempDir pf, music;
    for (const char* name : {"Rock/b.mp3", "Rock/A.WMA", "c.mp3", "leggimi.txt"})
        music.write(name);
    const std::string r = music.path();
    CliRun run = runCli("scan " + shellQuoted(r) + " --titolo 'Rock anni 80'", pf.path());
    ASSERT_EQ(run.status, 0);
    std::string part = r;
    std::replace_if(
        part.begin(), part.end(), [](char c) { return c == '/' || c == '.'; }, '-');
    const std::string name = run.firstLine();
    EXPECT_TRUE(name.starts_with("ZOND_DEFAULT_") && name.ends_with(part + ".txt")) << name;
    EXPECT_EQ(readFile(pf / name),
        "Rock anni 80\r\n(" + r + "/Rock)\r\n" + r + "/Rock/A.WMA\r\n" + r + "/Rock/b.mp3\r\n" + r + "/c.mp3\r\n");

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

namespace {

// The lines of a table, each split at its tabs.
std::vector<std::vector<std::string>> tableOf(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    for (std::size_t from = 0, nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1) {
        rows.emplace_back();
        for (std::size_t f = from, tab = from; tab < nl; f = tab + 1) {
            tab = std::min(text.find('\t', f), nl);
            rows.back().push_back(text.substr(f, tab - f));
        }
    }
    return rows;
}

} // namespace

// The data a scan records, as a spreadsheet, esporta and doppioni meet it:
// the same music retagged and renamed is one group, found by its frames.
TEST(CliScan, RecordsEachFilesDataBesideAnUnchangedCatalogueAndFindsARetaggedRenamedCopy)
{
    ASSERT_TRUE(haveMp3Tools());
    TempDir pf, music;
    const std::string m = music.path();
    makeMp3(
        m, "a.mp3", {3.0, 44100, 2, "-b 128 --add-id3v2 --tt Uno --ta Tizio --tl Disco --ty 2004 --tn 3 --tg Rock"});
    makeMp3(m, "b\tvbr.mp3", {2.0, 44100, 1, "-V 4 -m m --id3v1-only --tt Due"});
    // The copy: another ID3v2 and another ID3v1 title, then another name.
    fs::copy_file(music / "a.mp3", music / "copia.mp3");
    ASSERT_EQ(
        std::system(
            ("eyeD3 -Q --to-v2.4 -t Altro -a Caio " + shellQuoted(music / "copia.mp3") + " >/dev/null 2>&1").c_str()),
        0);
    ASSERT_EQ(runCli("tag " + shellQuoted(music / "copia.mp3") + " --titolo Altro").status, 0);
    fs::rename(music / "copia.mp3", music / "copia \xE9.mp3");
    ASSERT_NE(readFile(music / "a.mp3"), readFile(music / "copia \xE9.mp3"));

    const CliRun scan = runCli("scan " + shellQuoted(m) + " --impronte", pf.path());
    ASSERT_EQ(scan.status, 0) << scan.err;
    const std::string name = scan.firstLine(), base = name.substr(0, name.size() - 4);
    // The catalogue is what a scan wrote before it recorded any data.
    EXPECT_EQ(readFile(pf / name),
        "\xEF\xBB\xBF"
        "Anonimo\r\n"
            + m + "/a.mp3\r\n" + m + "/b\tvbr.mp3\r\n" + m + "/copia \xE9.mp3\r\n");

    const auto rows = tableOf(readFile(pf / (base + ".tsv")));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0],
        (std::vector<std::string>{"voce", "dimensione", "modificato", "durata", "kbps", "hz", "canali", "titolo",
            "autore", "album", "anno", "genere", "traccia", "byte_audio", "impronta"}));
    // Entry, tags, then the sound as lame made it: seconds, kbps (the average
    // of the VBR one), Hz, mode.
    const struct {
        std::string file, entry, tags, sound;
    } expected[] = {
        {"a.mp3", m + "/a.mp3", "Uno|Tizio|Disco|2004|Rock|3", "3|128|44100|joint stereo"},
        {"b\tvbr.mp3", m + "/b\\tvbr.mp3", "Due|||||", "2|36|44100|single channel"},
        {"copia \xE9.mp3", m + "/copia \\xE9.mp3", "Altro|Caio|Disco|2004|Rock|3", "3|128|44100|joint stereo"},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& r = rows[i + 1];
        ASSERT_EQ(r.size(), 15u) << i;
        EXPECT_EQ(r[0], expected[i].entry);
        EXPECT_EQ(r[1], std::to_string(fs::file_size(music / expected[i].file)));
        EXPECT_EQ(r[2].size(), 20u) << r[2]; // 2026-12-08T12:01:25Z
        EXPECT_EQ(r[7] + "|" + r[8] + "|" + r[9] + "|" + r[10] + "|" + r[11] + "|" + r[12], expected[i].tags);
        EXPECT_EQ(r[3] + "|" + r[4] + "|" + r[5] + "|" + r[6], expected[i].sound);
        EXPECT_EQ(r[14].size(), 32u);
    }
    EXPECT_EQ(rows[1][14], rows[3][14]);
    EXPECT_NE(rows[1][14], rows[2][14]);
    EXPECT_EQ(rows[1][13], rows[3][13]);
    const auto volume = tableOf(readFile(pf / (base + ".volume.tsv")));
    ASSERT_EQ(volume.size(), 14u);
    EXPECT_EQ(volume[6], (std::vector<std::string>{"cartella", m}));
    EXPECT_EQ(volume[7], (std::vector<std::string>{"file", "3"}));
    // Where the volume was mounted, so that its disc is found wherever it is mounted next.
    std::string root = output("findmnt -n -o TARGET -T " + shellQuoted(m));
    root.pop_back(); // its line end
    EXPECT_EQ(volume[13], (std::vector<std::string>{"radice", root}));

    const CliRun twins = runCli("doppioni", pf.path());
    EXPECT_EQ(twins.status, 0);
    EXPECT_EQ(twins.out,
        "2 file, stessa impronta audio " + rows[1][14] + ":\n  Anonimo\t" + m + "/a.mp3\n  Anonimo\t" + m
            + "/copia \xE9.mp3\n");
    // As CSV the same cells, each row behind the catalogue's title.
    const CliRun tsv = runCli("esporta", pf.path()), csv = runCli("esporta --csv", pf.path());
    ASSERT_EQ(csv.status, 0);
    TempDir out;
    out.write("e.csv", csv.out);
    const std::string fromCsv = output("python3 -c 'import csv,sys; [print(\"\\t\".join(r)) for r in "
                                       "csv.reader(open(sys.argv[1], newline=\"\"))]' "
        + shellQuoted(out / "e.csv"));
    EXPECT_EQ(fromCsv, tsv.out);
    EXPECT_EQ(tableOf(tsv.out).at(2).at(0), "Anonimo");
    EXPECT_EQ(tableOf(tsv.out).at(2).at(1), rows[2][0]);
    // Without fingerprints, the same frames and time are a probable group.
    ASSERT_EQ(runCli("scan " + shellQuoted(m) + " --sovrascrivi", pf.path()).status, 0);
    EXPECT_TRUE(runCli("doppioni", pf.path()).out.starts_with("2 file, probabile ("));
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
