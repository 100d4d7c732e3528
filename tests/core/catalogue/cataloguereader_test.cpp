#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

#include "core/catalogue/cataloguereader.h"
#include "platform/files.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::catalogue;
using namespace zondari::test;

namespace {

// Every line the reader hands out after the title, with how many blocks.
std::vector<std::string> linesOf(CatalogueReader& reader, int* blocks = nullptr)
{
    std::vector<std::string> lines;
    for (;;) {
        const auto block = reader.next();
        EXPECT_TRUE(block);
        if (!block || block->empty())
            return lines;
        if (blocks)
            ++*blocks;
        for (std::size_t from = 0; from < block->size();) {
            std::size_t nl = block->find('\n', from);
            if (nl == std::string_view::npos)
                nl = block->size();
            lines.emplace_back(block->substr(from, nl - from));
            from = nl + 1;
        }
    }
}

std::unique_ptr<ByteSource> bytes(std::string text)
{
    return std::make_unique<StringSource>(std::move(text));
}

} // namespace

TEST(CatalogueReader, HandsOutWholeLinesThroughASmallBufferAndPassesOverLinesTooLongForIt)
{
    std::string text = "Titolo\r\n";
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        expected.push_back("/cd/cartella " + std::to_string(i) + "/brano.mp3\r");
        text += expected.back() + "\n";
        if (i == 1000)
            text += std::string(10000, 'z') + "\r\n"; // longer than the buffer: passed over
    }
    text += "/cd/ultima senza fine.mp3";
    expected.push_back("/cd/ultima senza fine.mp3");
    CatalogueReader reader(8192);
    ASSERT_TRUE(reader.open(bytes(text)));
    EXPECT_EQ(reader.title(), "Titolo");
    EXPECT_FALSE(reader.rawNames());
    int blocks = 0;
    EXPECT_EQ(linesOf(reader, &blocks), expected);
    EXPECT_GT(blocks, 5);
    // Read again from the first line after the title.
    ASSERT_TRUE(reader.restart());
    EXPECT_EQ(linesOf(reader), expected);

    // A whole file in the first read goes back without reading again. Its
    // buffer holds the long line, which the pages then leave out.
    CatalogueReader big;
    ASSERT_TRUE(big.open(bytes(text)));
    expected.insert(expected.begin() + 1001, std::string(10000, 'z') + "\r");
    EXPECT_EQ(linesOf(big), expected);
    ASSERT_TRUE(big.restart());
    EXPECT_EQ(linesOf(big), expected);
}

TEST(CatalogueReader, TitleIsCutItsRestPassedOverAndTheMarkTold)
{
    CatalogueReader reader(8192);
    ASSERT_TRUE(reader.open(bytes("\xEF\xBB\xBF" + std::string(100000, 't') + "\r\n/a.mp3\r\n")));
    EXPECT_TRUE(reader.rawNames());
    EXPECT_EQ(reader.title(), std::string(kMaxTitleBytes, 't'));
    EXPECT_EQ(linesOf(reader), std::vector<std::string>{"/a.mp3\r"});
    ASSERT_TRUE(reader.restart());
    EXPECT_EQ(reader.title(), std::string(kMaxTitleBytes, 't'));
    EXPECT_EQ(linesOf(reader), std::vector<std::string>{"/a.mp3\r"});

    CatalogueReader empty;
    ASSERT_TRUE(empty.open(bytes("")));
    EXPECT_EQ(empty.title(), "");
    EXPECT_TRUE(linesOf(empty).empty());
}

TEST(CatalogueReader, ReadsAFileOpenedByThePlatformAndNothingElse)
{
    TempDir dir;
    auto file = files::openSource(dir.write("c.txt", "Titolo\r\n/a.mp3\r\n"));
    ASSERT_TRUE(file);
    CatalogueReader reader(8192);
    ASSERT_TRUE(reader.open(std::move(*file)));
    EXPECT_EQ(reader.title(), "Titolo");
    EXPECT_EQ(linesOf(reader), std::vector<std::string>{"/a.mp3\r"});
    ASSERT_TRUE(reader.restart());
    EXPECT_EQ(linesOf(reader), std::vector<std::string>{"/a.mp3\r"});

    const auto missing = files::openSource(dir / "non-esiste.txt");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, 53);
    EXPECT_FALSE(files::openSource(dir.path())); // a folder
    // A FIFO named like a catalogue is refused at once, not waited on.
    ASSERT_EQ(::mkfifo((dir / "coda.txt").c_str(), 0644), 0);
    EXPECT_FALSE(files::openSource(dir / "coda.txt"));
}
