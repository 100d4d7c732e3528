#include <filesystem>
#include <gtest/gtest.h>

#include "core/catalogue/search.h"
#include "support/tempdir.h"

using namespace zondari::catalogue;
using namespace zondari::test;

TEST(PageFiles, AFailureLeavesTheFolderAsItWas)
{
    TempDir dir;
    const std::string a = dir.write("ZOND_DEFAULT_A_1.txt", "Solo\r\n/cd/a.mp3\r\n");
    dir.write("zondari-database-generale.htm", "vecchia");
    auto folder = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = folder();

    // A catalogue that went away meanwhile.
    auto written = writeDatabasePage(dir.path(), {a, dir / "ZOND_DEFAULT_sparito.txt"}, PageRequest{});
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().number, 53);
    EXPECT_EQ(folder(), before);

    // A folder that cannot be written.
    ReadOnly lock(dir.path());
    if (!lock.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";
    written = writeDatabasePage(dir.path(), {a}, PageRequest{});
    ASSERT_FALSE(written);
    EXPECT_FALSE(written.error().description.empty());
    EXPECT_FALSE(writeExportPage(dir.path(), "T", {"/a.mp3"}));
    EXPECT_EQ(folder(), before);
    EXPECT_EQ(readFile(dir / "zondari-database-generale.htm"), "vecchia");
}

TEST(PageFiles, PagesReplaceTheOldOnesWholeAndReportProgress)
{
    TempDir dir;
    std::string old;
    for (int i = 0; i < 10000; ++i)
        old += "vecchia pagina ";
    dir.write("zondari-pagina-di-ricerca.htm", old);
    const std::string a = dir.write("ZOND_DEFAULT_A_1.txt", "Primo\r\n/cd/uno rock.mp3\r\n/cd/due.mp3\r\n");
    const std::string b = dir.write("ZOND_DEFAULT_B_2.txt", "Secondo\r\n/cd/Rock/tre.mp3\r\n");
    std::vector<std::size_t> done;
    const auto written = writeDatabasePage(dir.path(), {a, b}, PageRequest{"ROCK", false, true},
                                           [&](std::size_t n, std::size_t total) { done.push_back(n * 10 + total); });
    ASSERT_TRUE(written);
    EXPECT_EQ(written->path, dir / "zondari-pagina-di-ricerca.htm");
    EXPECT_EQ(written->hits, 2);
    EXPECT_EQ(done, (std::vector<std::size_t>{12, 22}));
    const std::string page = readFile(written->path);
    EXPECT_EQ(page.find("vecchia"), std::string::npos);
    EXPECT_LT(page.find("/cd/uno rock.mp3</a>"), page.find("/cd/Rock/tre.mp3</a>"));
}
