// Damaged and odd files through zondari-cli, each in a child whose time and
// memory are measured: the tracks of the fuzz corpus through `info`, special
// files through `info` and `tag`, damaged settings and catalogues through
// the commands that read them. Sensible fields, no crash, no hang, bounded
// memory.

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "support/cli.h"
#include "support/id3v2bytes.h"
#include "support/mp3fixtures.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// A sanitizer build (make test-asan) gives every process tens of MiB of
// shadow memory: the bound there only catches a runaway.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kPeakKib = 256 * 1024;
#else
constexpr long kPeakKib = 16 * 1024;
#endif

// A finished child, quickly, in little memory.
void expectQuickAndSmall(const CliRun& c, const std::string& what, long peakKib = kPeakKib)
{
    EXPECT_NE(c.status, -1) << what << ": still running after 10 s";
    EXPECT_LT(c.seconds, 1.0) << what;
    EXPECT_LT(c.peakKib, peakKib) << what;
}

// `zondari-cli info PATH`, successful, with every line of the details
// window, and the lines it printed (label -> value).
std::map<std::string, std::string> info(const std::string& path)
{
    const CliRun c = runCli("info " + shellQuoted(path), {}, {}, 10);
    expectQuickAndSmall(c, path);
    EXPECT_EQ(c.status, 0) << path << ": " << c.err;
    std::map<std::string, std::string> fields;
    for (std::size_t at = 0, nl; (nl = c.out.find('\n', at)) != std::string::npos; at = nl + 1)
        if (const std::string line = c.out.substr(at, nl - at); line.find('\t') != std::string::npos)
            fields[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
    // The details, VBR, the encoder's gain when there is one, and the ID3v2
    // line with its seven fields when there is a tag.
    const bool tagged = fields.count("ID3v2") && fields.at("ID3v2") != "assente";
    EXPECT_EQ(fields.size(), (tagged ? 28u : 21u) + fields.count("ReplayGain")) << path << "\n" << c.out;
    return fields;
}

} // namespace

TEST(DamagedFiles, EveryTrackOfTheFuzzCorpusGivesSensibleDetails)
{
    TempDir dir;
    const std::string corpus = std::string(ZONDARI_SOURCE_DIR) + "/tests/fuzz/corpus/mp3/";
    // Besides the corpus: a tag that claims 256 MiB in a file of a few KiB,
    // and a 128-byte file that is all tag, shorter than the analysis takes.
    const std::string pastEnd
        = dir.write("past-end", "ID3\x03" + std::string(2, '\0') + id3v2bytes::syncsafe(0x0FFFFFFF) + frames(10));
    const std::string allTag = dir.write("all-tag", ("TAG" + frames(1)).substr(0, 128));
    // Bitrate, Frequenza, Durata, Versione and Layer; VBR; Hastag. (Free
    // format, reserved codes, VBR headers of no frames and ID3v2 chains:
    // core/analysis/mp3analysis_test; lame's MPEG 2.5: analysis_commands_test.)
    const std::map<std::string, std::array<std::string, 3>> expected = {
        {corpus + "vbri-zero-frames", {"0 44100 0:00 1 3", "Vero", "Falso"}},
        {corpus + "id3v2-unsync", {"128 44100 0:00 1 3", "Falso", "Falso"}}, // no false sync taken in the tag
        {corpus + "truncated-last", {"128 44100 0:00 1 3", "Falso", "Falso"}},
        {corpus + "tag-only", {"0 0 0:00 0 0", "Falso", "Vero"}},
        {corpus + "size-129", {"0 0 0:00 0 0", "Falso", "Falso"}},
        {pastEnd, {"0 0 0:00 0 0", "Falso", "Falso"}}, // no audio to look at
        {allTag, {"0 0 0:00 0 0", "Falso", "Falso"}},
    };
    std::vector<std::string> files = {pastEnd, allTag};
    for (const auto& e : fs::directory_iterator(corpus))
        files.push_back(e.path().string());
    ASSERT_GT(files.size(), 30u);
    for (const std::string& file : files) {
        auto fields = info(file);
        const auto want = expected.find(file);
        if (want == expected.end())
            continue;
        EXPECT_EQ(fields["Bitrate"] + " " + fields["Frequenza"] + " " + fields["Durata"] + " " + fields["Versione"]
                + " " + fields["Layer"],
            want->second[0])
            << file;
        EXPECT_EQ(fields["VBR"], want->second[1]) << file;
        EXPECT_EQ(fields["Hastag"], want->second[2]) << file;
    }
}

TEST(DamagedFiles, AFiveGigabyteSparseFileReadsOnlyWhatItNeeds)
{
    TempDir dir;
    const std::string path = dir.write("grande.mp3", frames(20));
    ASSERT_EQ(::truncate(path.c_str(), off_t{5} << 30), 0);
    auto fields = info(path);
    EXPECT_EQ(fields["Bitrate"], "128");
    EXPECT_EQ(fields["Durata"], "5592:24"); // 5 GiB x 8 / 128,000 = 335,544 s
}

TEST(DamagedFiles, FifoFolderAndDeviceAreRefusedAtOnce)
{
    TempDir dir;
    const std::string fifo = dir / "coda.mp3";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {fifo, dir.mkdir("x.mp3"), std::string("/dev/zero")}) {
        for (const std::string command : {"info ", "tag ", "tag --titolo Nuovo "}) {
            const CliRun c = runCli(command + shellQuoted(path), {}, {}, 10);
            expectQuickAndSmall(c, command + path);
            EXPECT_EQ(c.status, 1) << command << path;
            EXPECT_EQ(c.out, "") << command << path;
            EXPECT_TRUE(c.err.starts_with("zondari-cli: impossibile leggere \"" + path + "\": ")) << command << c.err;
        }
    }
}

TEST(DamagedFiles, SettingsAndCataloguesAreReadNoFurtherThanTheyNeed)
{
    // Settings with a line of 300 MB after the keys (a hole: no disk is
    // used) or a key past the first MiB: the user stays Anna.
    const std::string keys = "; c\r\n; c\r\nUtente=Anna\r\nFilesMusicali=.MP3\r\n";
    for (const auto& [bytes, length] : {std::pair{keys, std::uintmax_t{300'000'000}},
             {keys + std::string(1 << 20, 'x') + "\r\nUtente=Bruno\r\n", 0}}) {
        TempDir pf;
        pf.write("ZOND_Anna_X_1.txt", "Di Anna\r\n");
        pf.write("ZOND_Bruno_X_1.txt", "Di Bruno\r\n");
        const std::string ini = pf.write("zondari.ini", bytes);
        if (length > bytes.size())
            fs::resize_file(ini, length);
        const CliRun r = runCli("list", pf.path(), {}, 10);
        expectQuickAndSmall(r, "settings");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "ZOND_Anna_X_1.txt \\ (Di Anna)\n");
    }

    // A catalogue of a gigabyte without a line break (sparse: zeros that
    // take no room) beside a good one.
    TempDir pf;
    ASSERT_EQ(run("truncate -s 1G " + shellQuoted(pf / "ZOND_DEFAULT_GUASTO_1.txt")), 0);
    pf.write("ZOND_DEFAULT_BUONO_2.txt", "Buono\r\n/m/" + std::string(5000, 'x') + ".mp3\r\n/m/rock.mp3\r\n");
    for (const std::string command :
        {"list", "database", "html ZOND_DEFAULT_GUASTO_1.txt", "search rock", "search zzzz"}) {
        const CliRun r = runCli(command, pf.path(), {}, 60);
        EXPECT_NE(r.status, 2) << command;
        EXPECT_LT(r.peakKib, 64 * 1024) << command;
        EXPECT_TRUE(command != "list" || r.firstLine() == "ZOND_DEFAULT_BUONO_2.txt \\ (Buono)") << r.out;
    }
    // The pages show the title's start (the line longer than any path left
    // out: platform/pagefiles_test).
    for (const char* page : {"default.htm", "zondari-database-generale.htm", "zondari-pagina-di-ricerca.htm"})
        EXPECT_LT(fs::file_size(pf / page), 64u * 1024) << page;
}
