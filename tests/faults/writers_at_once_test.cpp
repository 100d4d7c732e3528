// Two writers of the same file at the same time (the window and the command
// line, or two copies of the program): each writes its own temporary file,
// so each save succeeds and the file is always one of them whole. A tag,
// written in place, meets another program that rewrites the track at the
// very moment of the write: the save says so.

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "support/child.h"
#include "support/cli.h"
#include "support/mp3fixtures.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// Names the program folder holds besides the ones a test expects.
std::vector<std::string> othersIn(const std::string& folder, const std::vector<std::string>& expected)
{
    std::vector<std::string> others;
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end())
            others.push_back(name);
    }
    return others;
}

} // namespace

TEST(WritersAtOnce, TwoDatabasePagesWrittenTogetherAreEachWhole)
{
    TempDir pf;
    std::vector<std::string> names;
    for (int c = 0; c < 4; ++c) {
        std::string body = "Raccolta " + std::to_string(c) + "\r\n";
        for (int i = 0; i < 6000; ++i)
            body += "/musica/cartella " + std::to_string(i % 40) + "/brano numero " + std::to_string(i) + ".mp3\r\n";
        names.push_back("ZOND_DEFAULT_R" + std::to_string(c) + "_1.txt");
        pf.write(names.back(), body);
    }
    ASSERT_EQ(runCli("database", pf.path()).status, 0);
    const std::string page = pf / "zondari-database-generale.htm";
    const std::string whole = readFile(page);
    names.push_back("zondari-database-generale.htm");

    const std::string cli = programBinary("zondari-cli");
    const std::vector<std::string> env = {"ZONDARI_PROGRAM_FOLDER=" + pf.path()};
    for (int round = 0; round < 6; ++round) {
        Child a({cli, "database"}, env), b({cli, "database"}, env);
        a.readToEnd();
        b.readToEnd();
        EXPECT_EQ(a.wait(), 0) << a.output();
        EXPECT_EQ(b.wait(), 0) << b.output();
        EXPECT_TRUE(readFile(page) == whole) << "round " << round << ": the page is not whole";
        EXPECT_EQ(othersIn(pf.path(), names), std::vector<std::string>{});
    }
}

TEST(WritersAtOnce, TwoProgramsSavingTheSettingsTogetherEachSucceed)
{
    TempDir pf;
    const std::string writer = testHelper("zondari-window-writer");
    auto a = std::make_unique<Child>(std::vector<std::string>{writer, "settings", pf.path()});
    auto b = std::make_unique<Child>(std::vector<std::string>{writer, "settings", pf.path()});
    ASSERT_TRUE(a->waitForLine("pronto")) << a->output();
    ASSERT_TRUE(b->waitForLine("pronto")) << b->output();
    const int saves = 150;
    const std::string clicks(saves, '\n');
    a->send(clicks);
    b->send(clicks);
    a->closeInput();
    b->closeInput();
    a->readToEnd();
    b->readToEnd();
    EXPECT_EQ(a->wait(), 0);
    EXPECT_EQ(b->wait(), 0);
    for (const Child* c : {a.get(), b.get()}) {
        // Every click saved, and none showed an error.
        std::size_t done = 0;
        for (std::size_t at = 0; (at = c->output().find("fatto\n", at)) != std::string::npos; at += 6)
            ++done;
        EXPECT_EQ(done, static_cast<std::size_t>(saves));
        EXPECT_EQ(c->output().find("errore"), std::string::npos) << c->output().substr(0, 400);
    }
    const std::string saved = readFile(pf / "zondari.ini");
    const std::string head
        = "; File di inizializzazione per Zondari\r\n; Non manomettere assolutamente queste righe!\r\n"
          "Utente=DEFAULT\r\nFilesMusicali=";
    EXPECT_EQ(saved.substr(0, head.size()), head);
    EXPECT_TRUE(saved.find("FilesMusicali=.MP3.WMA.WAV.M3U\r\n") != std::string::npos
        || saved.find("FilesMusicali=.MP3.WMA.MID.M3U\r\n") != std::string::npos)
        << saved;
    EXPECT_EQ(othersIn(pf.path(), {"zondari.ini"}), std::vector<std::string>{});
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
