// The pocket page with catalogues that cannot be read. (What the page shows
// for each search, letter for letter as the search command, and every link:
// cli/pocket_browser_qt_test.)

#include <gtest/gtest.h>

#include "core/catalogue/pages.h"
#include "core/catalogue/pocket.h"
#include "support/cli.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::catalogue;
using namespace zondari::test;

// `bytes` read as a disk that fails once `failAt` of them have been read.
class FailingSource : public StringSource {
public:
    FailingSource(std::string bytes, std::size_t failAt)
        : StringSource(std::move(bytes))
        , failAt_(failAt)
    {
    }
    Result<std::size_t> read(char* to, std::size_t most) override
    {
        if (read_ >= failAt_)
            return runtimeError(ErrorCode::DeviceIO);
        const auto n = StringSource::read(to, std::min(most, failAt_ - read_));
        read_ += *n;
        return n;
    }

private:
    std::size_t failAt_, read_ = 0;
};

TEST(PocketPage, CataloguesThatCannotBeReadAreLeftOutOfEveryPageAndNamed)
{
    // Its first megabyte is on the search page already when its reading fails.
    std::string big = "Grande\r\n";
    for (int i = 0; big.size() < (3u << 20); ++i)
        big += "/cd/rock brano " + std::to_string(i) + ".mp3\r\n";
    const auto open = [&](const std::string& name) -> Result<std::unique_ptr<ByteSource>> {
        if (name == "/sparito")
            return runtimeError(ErrorCode::FileNotFound);
        if (name == "/grande")
            return std::unique_ptr<ByteSource>(std::make_unique<FailingSource>(big, 2u << 20));
        return std::unique_ptr<ByteSource>(std::make_unique<StringSource>("Piccolo\r\n/cd/rock.mp3\r\n"));
    };
    const std::vector<std::string> names = {"/grande", "/piccolo", "/sparito"};
    StringSink pocketSink, searchSink;
    const auto pocket = makePocketPage(pocketSink, names, open);
    const auto search = makeDatabasePage(searchSink, names, open, PageRequest{"rock", false, true});
    ASSERT_TRUE(pocket && search);
    for (const auto* leftOut : {&pocket->leftOut, &search->leftOut}) {
        ASSERT_EQ(leftOut->size(), 2u);
        EXPECT_EQ((*leftOut)[0].path + " " + std::to_string((*leftOut)[0].error.number), "/grande 57");
        EXPECT_EQ((*leftOut)[1].path + " " + std::to_string((*leftOut)[1].error.number), "/sparito 53");
    }
    EXPECT_EQ(pocket->catalogues, 1u);
    EXPECT_EQ(pocket->files, 1u);
    EXPECT_EQ(pocketSink.bytes().find("Grande"), std::string::npos);
    EXPECT_EQ(search->hits, 1);
    EXPECT_EQ(searchSink.bytes().find("brano"), std::string::npos);
}

TEST(PocketPage, WhatTheBrowserRunsIsJavaScriptThatNodeAccepts)
{
    StringSink sink;
    const auto open = [](const std::string&) -> Result<std::unique_ptr<ByteSource>> {
        return std::unique_ptr<ByteSource>(std::make_unique<StringSource>("Città\r\n/cd/Èlite \"1\".mp3\r\n"));
    };
    ASSERT_TRUE(makePocketPage(sink, {"/uno"}, open));
    const std::string page = sink.bytes();
    std::string script;
    for (std::size_t at = 0; (at = page.find("<script>\n", at)) != std::string::npos;) {
        at += 9;
        script += page.substr(at, page.find("</script>", at) - at);
    }
    TempDir dir;
    EXPECT_EQ(run("node --check " + shellQuoted(dir.write("pagina.js", script))), 0) << script.substr(0, 200);
}
