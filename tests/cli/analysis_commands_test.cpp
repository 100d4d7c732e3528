#include <filesystem>
#include <gtest/gtest.h>

#include "support/cli.h"
#include "support/id3v2bytes.h"
#include "support/mp3fixtures.h"

using namespace zondari::test;

TEST(CliInfo, PrintsTheDetailsLinesOfEachFile)
{
    ASSERT_TRUE(haveMp3Tools());
    TempDir dir;
    const std::string a = makeMp3(dir.path(), "a.mp3", {5.5, 44100, 2, "-b 128 -m j --id3v1-only --tt Titolo --tg 85"});
    const std::string b = makeMp3(dir.path(), "b.mp3", {3.5, 44100, 1, "--resample 8 -b 16 -m m"});
    CliRun r = runCli("info " + shellQuoted(a));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
        "Bitrate\t128\nFrequenza\t44100\nDurata\t0:05\nVersione\t1\nLayer\t3\nOriginal\tsì\nEmpasis\tno\n"
        "Copyright\tno\nMode\tjoint stereo\nPadding\tno\nCRC\tno\nPrivate\tno\nArtista\t\nNome brano\tTitolo\n"
        "Album\t\nAnno\t\nCommenti\t\nGenere\tBebob\nHastag\tVero\nVBR\tFalso\nReplayGain\t-11.30 "
        "dB\nID3v2\tassente\n");

    r = runCli("info " + shellQuoted(a) + " " + shellQuoted(b));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find(a + ":\nBitrate\t128\n"), 0u);
    EXPECT_NE(
        r.out.find("\n" + b + ":\nBitrate\t16\nFrequenza\t8000\nDurata\t0:03\nVersione\t25\n"), std::string::npos);
}

TEST(CliTag, WritesAsTheEditorSavesAndPrintsAsItLoads)
{
    TempDir dir;
    const std::string path = dir.write("brano.mp3", frames(12));
    const std::string tag = "tag " + shellQuoted(path);
    CliRun r = runCli(tag);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Titolo:\tbrano.mp3\nAutore:\t\nAlbum:\t\nAnno:\t\nCommento:\t\nGenere:\t\n");

    // Untagged, the title is the file's name; later, only the fields given change.
    EXPECT_EQ(runCli(tag + " --autore 'Anna' --album 'Città' --genere 17").status, 0);
    EXPECT_EQ(
        runCli(tag).out, "Titolo:\tbrano.mp3\nAutore:\tAnna\nAlbum:\tCittà\nAnno:\t\nCommento:\t\nGenere:\tRock\n");
    EXPECT_EQ(runCli(tag + " --titolo Nuovo").status, 0);
    EXPECT_EQ(runCli(tag).out, "Titolo:\tNuovo\nAutore:\tAnna\nAlbum:\tCittà\nAnno:\t\nCommento:\t\nGenere:\tRock\n");
    EXPECT_EQ(std::filesystem::file_size(path), 12 * k128Length + 128);
}

TEST(CliTag, WritesOnlyIntoAFileWhereTheAnalysisFindsMpegAudio)
{
    ASSERT_TRUE(haveMp3Tools());
    TempDir dir;
    const std::string wav = makeWav(dir.path(), "onda.wav");
    ASSERT_FALSE(wav.empty());
    // An ID3v2.3 tag with 100 KiB of body, and nothing after it.
    const std::string v2
        = std::string("ID3\x03\x00\x00", 6) + id3v2bytes::syncsafe(100 * 1024) + std::string(100 * 1024, '\0');
    const struct {
        const char* name;
        std::string bytes;
        bool mp3;
    } cases[] = {
        {"onda.wav", readFile(wav), false},
        {"corto.mp3", "abc", false},
        {"testo.mp3", std::string(5000, 'a'), false},
        {"solo-id3v2.mp3", v2, false},
        {"mpeg1-layer3.mp3", frames(12), true},
        {"mpeg1-layer2.mp3", frames(12, 0xFFFD9064, 522), true},
        {"mpeg2-layer3.mp3", frames(12, 0xFFF39064, 261), true},
        {"mpeg25-layer3.mp3", frames(12, 0xFFE39064, 522), true},
        {"dietro-id3v2.mp3", v2 + frames(12), true},
    };
    for (const auto& c : cases) {
        const std::string path = dir.write(c.name, c.bytes);
        const CliRun r = runCli("tag " + shellQuoted(path) + " --titolo Nuovo");
        const std::string now = readFile(path);
        if (c.mp3) {
            EXPECT_EQ(r.status, 0) << c.name << ": " << r.err;
            EXPECT_EQ(now.substr(0, c.bytes.size()), c.bytes) << c.name;
            EXPECT_EQ(now.substr(c.bytes.size(), 8), "TAGNuovo") << c.name;
        } else {
            EXPECT_EQ(r.status, 1) << c.name;
            EXPECT_EQ(r.err,
                c.bytes.size() < 255
                    ? "zondari-cli: \"" + path + "\" è più corto di 255 byte: il tag non è stato scritto.\n"
                    : "Il file non è un MP3: il tag non è stato scritto\n")
                << c.name;
            EXPECT_TRUE(now == c.bytes) << c.name << ": changed";
        }
    }
}
