#include <filesystem>
#include <gtest/gtest.h>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/pages.h"
#include "core/catalogue/search.h"
#include "platform/cataloguestore.h"
#include "support/tempdir.h"

using namespace zondari::catalogue;
using namespace zondari::cataloguestore;
using namespace zondari::test;

// (A folder that takes no page: faults/write_failures_qt_test.cpp.)
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

TEST(PageFiles, LongCataloguesReadInPiecesGiveThePageTheWholeFileGives)
{
    TempDir dir;
    // Made on Windows, its first byte that is not UTF-8 after megabytes of
    // lines that are ("è" as two bytes reads "Ã¨" there): the lines already
    // written must come off the page again.
    std::string windows = "Dal PC \xe0\r\n";
    std::string utf8 = "Qui\r\n";
    for (int i = 0; i < 60000; ++i) {
        windows += "C:\\Musica\\disco " + std::to_string(i) + "\\perch\xc3\xa8 canzone.mp3\r\n";
        utf8 += "/media/cd/disco " + std::to_string(i) + "/perché canzone.mp3\r\n";
    }
    windows += "C:\\Musica\\caff\xe8.mp3\r\n";
    utf8 += "/media/cd/" + std::string(6000, 'x') + "/troppo lungo è.mp3\r\n/media/cd/ultimo è.mp3";
    const std::vector<std::string> paths = {dir.write("ZOND_DEFAULT_A_1.txt", windows),
        dir.write("ZOND_DEFAULT_B_2.txt", "\xEF\xBB\xBF" + utf8), dir.write("ZOND_DEFAULT_C_3.txt", utf8)};
    ASSERT_GT(windows.size(), 2u << 20); // read in three pieces
    for (const PageRequest& request : {PageRequest{}, PageRequest{"è", false, true}, PageRequest{"è", true, true},
             PageRequest{"CANZONE", false, true}, PageRequest{"Ã¨", true, true}}) {
        const auto written = writeDatabasePage(dir.path(), paths, request);
        ASSERT_TRUE(written) << written.error().description;
        const std::string page = readFile(written->path);
        // The page DatabasePage makes from the whole files in memory.
        DatabasePage whole(request);
        std::string expected;
        whole.begin(expected);
        for (const std::string& p : paths)
            whole.addCatalogue(readFile(p), expected);
        whole.end(expected);
        EXPECT_TRUE(page == expected) << request.text;
        EXPECT_EQ(page.find("xxxxxxxxxx"), std::string::npos);
    }
    // "è" is the last line of each: the Windows one reads its other lines
    // "perchÃ¨", and the line longer than any path is left out.
    EXPECT_EQ(writeDatabasePage(dir.path(), paths, PageRequest{"è", false, true})->hits, 3);

    const auto single = writeCataloguePage(dir.path(), paths[0]);
    ASSERT_TRUE(single);
    const Catalogue read = parseCatalogue(windows);
    EXPECT_TRUE(readFile(*single) == exportPage(read.title, read.entries));
    EXPECT_NE(readFile(*single).find(">perchÃ¨ canzone.mp3</a>"), std::string::npos);
}
