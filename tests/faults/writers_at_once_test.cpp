// Two writers of the same file at the same time (two copies of the program):
// each writes its own temporary file, so each save succeeds and the file is
// always one of them whole (the settings and the catalogues are replaced as
// the pages are). A tag, written in place, meets another program
// that rewrites the track at the very moment of the write: the save says so.

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

#include "support/child.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

} // namespace

TEST(WritersAtOnce, TwoDatabasePagesWrittenTogetherAreEachWhole)
{
    TempDir pf;
    for (int c = 0; c < 4; ++c) {
        std::string body = "Raccolta " + std::to_string(c) + "\r\n";
        for (int i = 0; i < 6000; ++i)
            body += "/musica/cartella " + std::to_string(i % 40) + "/brano numero " + std::to_string(i) + ".mp3\r\n";
        pf.write("ZOND_DEFAULT_R" + std::to_string(c) + "_1.txt", body);
    }
    ASSERT_EQ(runCli("database", pf.path()).status, 0);
    const std::string page = pf / "zondari-database-generale.htm", whole = readFile(page);
    const std::set<std::string> names = namesIn(pf.path());
    const std::vector<std::string> env = {"ZONDARI_PROGRAM_FOLDER=" + pf.path()};
    for (int round = 0; round < 6; ++round) {
        Child a({programBinary("zondari-cli"), "database"}, env), b({programBinary("zondari-cli"), "database"}, env);
        a.readToEnd();
        b.readToEnd();
        EXPECT_EQ(a.wait(), 0) << a.output();
        EXPECT_EQ(b.wait(), 0) << b.output();
        EXPECT_TRUE(readFile(page) == whole) << "round " << round << ": the page is not whole";
        EXPECT_EQ(namesIn(pf.path()), names);
    }
}

TEST(WritersAtOnce, TagWriteMetByAnotherWriterSaysSoAndLeavesThatWritersFile)
{
    // At the tag's write, after its check, another program writes its own
    // bytes ('b's) into the track: the tag lands in them or in a file no
    // longer named so. Both the command line and the editor tell it; neither
    // undoes anything, as the file is the other program's now.
    const struct {
        const char* how; // as otherWriterOf takes it
        double length; // of the other program's bytes, in track lengths
        bool tagged; // the track has a tag already (overwritten in place)
    } cases[] = {
        {"posto", 1.0, false}, // the same length the tag would give: only the bytes tell
        {"posto", 1.0, true},
        {"posto", 3.0, false},
        {"tronca", 0.5, false},
        {"rinomina", 1.0, false},
    };
    const std::string changed = "il file è stato modificato da un altro programma durante la scrittura";
    for (const auto& c : cases) {
        for (const bool window : {false, true}) {
            TempDir dir;
            const std::string audio = frames(20) + (c.tagged ? "TAG" + std::string(125, ' ') : "");
            const std::string track = dir.write("brano.mp3", audio);
            const std::size_t tagAt = c.tagged ? audio.size() - 128 : audio.size();
            const std::string theirs(static_cast<std::size_t>(c.length * static_cast<double>(tagAt + 128)), 'b');
            const auto env = otherWriterOf(track, dir.write("altro", theirs), c.how);
            const std::string what = std::string(c.how) + " " + std::to_string(c.length) + (c.tagged ? " tagged" : "")
                + (window ? " (editor)" : " (zondari-cli)");
            if (window) {
                Child w({testHelper("zondari-window-writer"), "tag", dir.path(), track}, env);
                ASSERT_TRUE(w.waitForLine("pronto")) << w.output();
                w.send("\n");
                w.closeInput();
                w.readToEnd();
                EXPECT_EQ(w.wait(), 0) << what;
                EXPECT_NE(w.output().find("messaggio: Il" + changed.substr(2) + ".\nfatto"), std::string::npos)
                    << what << "\n"
                    << w.output();
            } else {
                const CliRun r = runCli("tag " + shellQuoted(track) + " --titolo Nuovo", {}, env);
                EXPECT_EQ(r.status, 1) << what;
                EXPECT_EQ(r.err, "zondari-cli: \"" + track + "\": " + changed + ".\n") << what;
            }
            // Their bytes stay: those before the tag, and their length when
            // they went past it.
            const std::string now = readFile(track);
            if (std::string(c.how) == "rinomina") {
                EXPECT_TRUE(now == theirs) << what;
                continue;
            }
            std::string expected = theirs.substr(0, tagAt);
            expected.resize(tagAt, '\0');
            EXPECT_TRUE(now.substr(0, tagAt) == expected) << what;
            EXPECT_EQ(now.size(), std::max(theirs.size(), tagAt + 128)) << what;
        }
    }
}
