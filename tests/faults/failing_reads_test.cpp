// A disk whose reads fail (EIO) under one file or folder, as a scratched CD
// or a dying disk gives them: the analysis and the scan say so with the
// program's message and go on, and nothing is written from what was not
// read. (A tag save into an unreadable track: failing_reads_windows_qt_test.)

#include <filesystem>
#include <gtest/gtest.h>

#include "support/child.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

constexpr const char* kIoError = "Errore di I/O della periferica";
constexpr const char* kUnreadable = "Non è possibile leggere sull'unità specificata, riprovare";

} // namespace

TEST(FailingReads, AnalysisReportsTheUnreadableFileAndGoesOnWithTheNext)
{
    ASSERT_TRUE(haveMp3Tools());
    TempDir dir;
    const std::string bad = makeMp3(dir.path(), "graffiato.mp3", {2.5, 44100, 2, "-b 128"});
    const std::string good = makeMp3(dir.path(), "buono.mp3", {2.5, 44100, 2, "-b 128"});
    const CliRun r = runCli("info " + shellQuoted(bad) + " " + shellQuoted(good), {}, failingReadsOf(bad));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zondari-cli: impossibile leggere \"" + bad + "\": " + kIoError + ".\n");
    // Only the file that was read is described; never zeros for the other.
    EXPECT_EQ(r.out.find(bad), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(good + ":\nBitrate\t128\n"), 0u) << r.out;
}

TEST(FailingReads, ScanKeepsATrackWhoseLastSectorsCannotBeReadWithoutItsData)
{
    // The tags at a track's end are looked for by reads there.
    ASSERT_TRUE(haveMp3Tools());
    TempDir pf, music;
    const std::string bad = makeMp3(music.path(), "graffiato.mp3", {2.5, 44100, 2, "-b 128"});
    const std::string good = makeMp3(music.path(), "buono.mp3", {2.5, 44100, 2, "-b 128"});
    const CliRun r = runCli("scan " + shellQuoted(music.path()) + " --titolo Graffi", pf.path(),
        failingReadsOf(bad, std::to_string(fs::file_size(bad) - 200)));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "zondari-cli: 1 file non letti: sono nel catalogo senza dati.\n");
    const std::string catalogue = readFile(pf / r.firstLine());
    EXPECT_NE(catalogue.find(bad), std::string::npos) << catalogue;
    const std::string data = readFile(pf / (r.firstLine().substr(0, r.firstLine().size() - 4) + ".tsv"));
    EXPECT_NE(data.find(good + "\t"), std::string::npos) << data;
    EXPECT_EQ(data.find(bad), std::string::npos) << data;
}

TEST(FailingReads, ScanOverAnUnreadableStoredCatalogueEndsWithItsMessageAndKeepsIt)
{
    // (A folder of the walk that cannot be read: scan_left_out_qt_test.)
    TempDir pf, music;
    music.write("Rock/uno.mp3");
    const CliRun first = runCli("scan " + shellQuoted(music.path()) + " --titolo Primo", pf.path());
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string catalogue = pf / first.firstLine();
    const std::string before = readFile(catalogue);
    music.write("Jazz/tre.mp3");
    const CliRun r = runCli(
        "scan " + shellQuoted(music.path()) + " --titolo Secondo --sovrascrivi", pf.path(), failingReadsOf(catalogue));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string(kUnreadable) + " (" + kIoError + ")\n");
    EXPECT_EQ(readFile(catalogue), before);
    // The catalogue and the two files of its data, no temporary.
    EXPECT_EQ(std::distance(fs::directory_iterator(pf.path()), fs::directory_iterator()), 3);
}

TEST(FailingReads, PageOfACatalogueThatCannotBeReadIsNotWritten)
{
    // (The pages of them all leave it out and name it: hostile_lines_test.)
    TempDir pf;
    const std::string bad = pf.write("ZOND_DEFAULT_A_1.txt", "Primo\r\n/m/rock uno.mp3\r\n");
    ASSERT_EQ(runCli("html ZOND_DEFAULT_A_1.txt", pf.path()).status, 0);
    const std::string before = readFile(pf / "default.htm");
    const CliRun r = runCli("html ZOND_DEFAULT_A_1.txt", pf.path(), failingReadsOf(bad));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string("zondari-cli: ") + kIoError + "\n");
    EXPECT_EQ(readFile(pf / "default.htm"), before);
}
