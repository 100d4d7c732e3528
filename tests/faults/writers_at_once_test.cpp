// Two writers of the same file at the same time (the window and the command
// line, or two copies of the program): each writes its own temporary file,
// so each save succeeds and the file is always one of them whole.

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "support/child.h"
#include "support/cli.h"

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
