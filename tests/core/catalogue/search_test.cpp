#include <filesystem>
#include <gtest/gtest.h>

#include "core/catalogue/search.h"
#include "platform/files.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::catalogue;
using zondari::test::ReadOnly;
using zondari::test::TempDir;
using zondari::test::readFile;

namespace {

std::vector<std::string> leftovers(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(DatabasePageFile, WritesTheSearchPageFromEveryCatalogueInOrder)
{
    TempDir dir;
    const std::string a = dir.write("ZOND_DEFAULT_A_1.txt", "Primo\r\n/cd/uno rock.mp3\r\n/cd/due.mp3\r\n");
    const std::string b = dir.write("ZOND_DEFAULT_B_2.txt", "Secondo\r\n/cd/Rock/tre.mp3\r\n");
    std::vector<std::size_t> seen;
    const auto written = writeDatabasePage(dir.path(), {a, b}, PageRequest{"ROCK", false, true},
                                           [&](std::size_t done, std::size_t total) {
                                               EXPECT_EQ(total, 2u);
                                               seen.push_back(done);
                                           });
    ASSERT_TRUE(written) << written.error().description;
    EXPECT_EQ(written->path, dir / "zondari-pagina-di-ricerca.htm");
    EXPECT_EQ(written->hits, 2);
    EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2}));
    const std::string page = readFile(written->path);
    const auto first = page.find("\"Primo\"");
    const auto second = page.find("\"Secondo\"");
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(first, page.find("/cd/uno rock.mp3</a>"));
    EXPECT_LT(page.find("/cd/uno rock.mp3</a>"), second);
    EXPECT_LT(second, page.find("/cd/Rock/tre.mp3</a>"));
    EXPECT_NE(page.find("Trovati  2 files contenenti la stringa : <b>ROCK</b>"), std::string::npos);
    EXPECT_EQ(page.find("due.mp3"), std::string::npos);
}

TEST(DatabasePageFile, ReplacesTheOldPageWhole)
{
    TempDir dir;
    std::string old;
    for (int i = 0; i < 10000; ++i)
        old += "vecchia pagina ";
    dir.write("zondari-database-generale.htm", old);
    const std::string a = dir.write("ZOND_DEFAULT_A_1.txt", "Solo\r\n/cd/a.mp3\r\n");
    const auto written = writeDatabasePage(dir.path() + "/", {a}, PageRequest{});
    ASSERT_TRUE(written);
    const std::string page = readFile(dir / "zondari-database-generale.htm");
    EXPECT_EQ(page.find("vecchia"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"file:///cd/a.mp3\">a.mp3</a><br>"), std::string::npos);
    EXPECT_EQ(leftovers(dir), (std::vector<std::string>{"ZOND_DEFAULT_A_1.txt", "zondari-database-generale.htm"}));
}

TEST(DatabasePageFile, FailureLeavesTheFolderAsItWas)
{
    TempDir dir;
    const std::string a = dir.write("ZOND_DEFAULT_A_1.txt", "Solo\r\n/cd/a.mp3\r\n");
    dir.write("zondari-database-generale.htm", "vecchia");

    // A catalogue that went away meanwhile.
    auto written = writeDatabasePage(dir.path(), {a, dir / "ZOND_DEFAULT_sparito.txt"}, PageRequest{});
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().number, 53);
    EXPECT_EQ(readFile(dir / "zondari-database-generale.htm"), "vecchia");

    // A folder that cannot be written.
    ReadOnly lock(dir.path());
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";
    written = writeDatabasePage(dir.path(), {a}, PageRequest{});
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().number, 0);
    EXPECT_FALSE(written.error().description.empty());
    auto page = writeExportPage(dir.path(), "T", {"/a.mp3"});
    EXPECT_FALSE(page);
    EXPECT_EQ(leftovers(dir), (std::vector<std::string>{"ZOND_DEFAULT_A_1.txt", "zondari-database-generale.htm"}));
    EXPECT_EQ(readFile(dir / "zondari-database-generale.htm"), "vecchia");
}

TEST(DatabasePageFile, ExportPageIsOverwrittenEachTime)
{
    TempDir dir;
    ASSERT_TRUE(writeExportPage(dir.path(), "Primo", {"/a/lungo nome di brano.mp3", "/a/b.mp3"}));
    const auto page = writeExportPage(dir.path(), "Secondo", {"/c.mp3"});
    ASSERT_TRUE(page);
    EXPECT_EQ(*page, dir / "default.htm");
    const std::string text = readFile(*page);
    EXPECT_EQ(text.find("Primo"), std::string::npos);
    EXPECT_EQ(text.find("lungo"), std::string::npos);
    EXPECT_TRUE(text.ends_with("<a href=\"file:///c.mp3\">c.mp3</a><br>\r\n</p></body>\r\n</html>\r\n"));
}

TEST(DatabasePageFile, PatternSelectsTheUsersCataloguesOnly)
{
    TempDir dir;
    dir.write("ZOND_DEFAULT_A_1.txt", "a");
    dir.write("zond_default_b_2.TXT", "b");
    dir.write("ZOND_Anna_C_3.txt", "c");
    dir.write("ZOND_DEFAULT_D_4.txt.bak", "d");
    const auto found = files::dirSearch(dir.path(), cataloguePattern("DEFAULT"));
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, (std::vector<std::string>{"ZOND_DEFAULT_A_1.txt", "zond_default_b_2.TXT"}));
}
