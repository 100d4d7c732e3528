#include <filesystem>
#include <gtest/gtest.h>

#include "support/mp3fixtures.h"
#include "support/tempdir.h"

using namespace zondari::test;

namespace {

std::string cli(const std::string& args, int* status, const std::string& stderrTo = "/dev/null")
{
    return output("'" + programBinary("zondari-cli") + "' " + args + " 2>" + stderrTo, status);
}

}  // namespace

TEST(CliInfo, PrintsTheDetailsLinesOfEachFile)
{
    ASSERT_TRUE(haveMp3Tools());
    TempDir dir;
    const std::string a = makeMp3(dir.path(), "a.mp3", {5.5, 44100, 2, "-b 128 -m j --id3v1-only --tt Titolo --tg 85"});
    const std::string b = makeMp3(dir.path(), "b.mp3", {3.5, 44100, 1, "--resample 8 -b 16 -m m"});
    int status = -1;
    const std::string one = cli("info '" + a + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(one,
              "Bitrate\t128\nFrequenza\t44100\nDurata\t0:05\nVersione\t1\nLayer\t3\nOriginal\tsì\nEmpasis\tno\n"
              "Copyright\tno\nMode\tjoint stereo\nPadding\tno\nCRC\tno\nPrivate\tno\nArtista\t\nNome brano\tTitolo\n"
              "Album\t\nAnno\t\nCommenti\t\nGenere\tBebob\nHastag\tVero\nVBR\tFalso\n");

    const std::string two = cli("info '" + a + "' '" + b + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(two.find(a + ":\nBitrate\t128\n"), 0u);
    const std::size_t second = two.find("\n" + b + ":\nBitrate\t16\nFrequenza\t8000\nDurata\t0:03\nVersione\t25\n");
    EXPECT_NE(second, std::string::npos);
}

TEST(CliInfo, ExitStatusesAndItalianErrors)
{
    TempDir dir;
    dir.mkdir("x.mp3");
    const std::string empty = dir.write("empty.mp3");
    int status = -1;
    const std::string out = cli("info '" + empty + "' '" + (dir / "x.mp3") + "'", &status, dir / "err.txt");
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("Bitrate\t0\n"), std::string::npos);  // the empty file is read: nothing in it
    EXPECT_NE(out.find("Durata\t0:00\n"), std::string::npos);
    EXPECT_EQ(readFile(dir / "err.txt"),
              "zondari-cli: impossibile leggere \"" + (dir / "x.mp3") + "\": Errore di accesso al percorso/file.\n");

    cli("info", &status);
    EXPECT_EQ(status, 2);
    cli("info --boh '" + empty + "'", &status);
    EXPECT_EQ(status, 2);
}

TEST(CliTag, WritesAsTheEditorSavesAndPrintsAsItLoads)
{
    TempDir dir;
    const std::string audio(5000, 'a');
    const std::string path = dir.write("brano.mp3", audio);
    int status = -1;
    const std::string untagged = cli("tag '" + path + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(untagged, "Titolo:\tbrano.mp3\nAutore:\t\nAlbum:\t\nAnno:\t\nCommento:\t\nGenere:\t\n");

    cli("tag '" + path + "' --autore 'Anna' --album 'Città' --genere 17", &status);
    EXPECT_EQ(status, 0);
    const std::string bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 5128u);
    EXPECT_EQ(bytes.substr(0, 5000), audio);
    EXPECT_EQ(bytes.substr(5003, 30), "brano.mp3" + std::string(21, ' '));
    EXPECT_EQ(bytes.substr(5063, 6), "Citt\xE0 ");
    EXPECT_EQ(bytes[5127], '\x11');

    cli("tag '" + path + "' --titolo Nuovo", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(cli("tag '" + path + "'", &status),
              "Titolo:\tNuovo\nAutore:\tAnna\nAlbum:\tCittà\nAnno:\t\nCommento:\t\nGenere:\tRock\n");
    EXPECT_EQ(std::filesystem::file_size(path), 5128u);
}

TEST(CliTag, RefusesWrongLinesAndReportsWriteFailures)
{
    TempDir dir;
    const std::string path = dir.write("brano.mp3", std::string(1000, 'a'));
    int status = -1;
    for (const std::string& args : {std::string("tag"), "tag '" + path + "' --genere 126", "tag '" + path + "' --titolo",
                                    "tag '" + path + "' --colore blu", "tag '" + path + "' altro.mp3"}) {
        cli(args, &status);
        EXPECT_EQ(status, 2) << args;
    }
    EXPECT_EQ(readFile(path), std::string(1000, 'a'));

    cli("tag '" + (dir / "nessuno.mp3") + "'", &status);
    EXPECT_EQ(status, 1);
    cli("tag '" + dir.write("short.mp3", "abc") + "' --titolo X", &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(readFile(dir / "short.mp3"), "abc");

    ReadOnly lock(path);
    ASSERT_TRUE(lock.ok());
    cli("tag '" + path + "' --titolo X", &status, dir / "err.txt");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(readFile(dir / "err.txt"),
              "Si è verificato un errore nella scrittura del tag ID3\n75: Errore di accesso al percorso/file\n");
}
