#include <gtest/gtest.h>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/sidefile.h"

using namespace zondari;
using namespace zondari::catalogue;

// (Windows-1252 catalogues, title-only and empty ones, through the pages:
// cli/pages_cli_test, cli/pocket_browser_qt_test, core/catalogue/pocket_test.)
TEST(CatalogueFile, ReadsLfAloneAndNoEndAfterTheLastLine)
{
    EXPECT_EQ(parseCatalogue("T\n/a.mp3\n/b.mp3").entries, (std::vector<std::string>{"/a.mp3", "/b.mp3"}));
    EXPECT_EQ(parseCatalogue("Solo titolo").title, "Solo titolo");
}

TEST(CatalogueFile, WritesTitleThenEntriesAndReadsThemBack)
{
    const Catalogue japanese{
        "J-Pop", {"(/media/cd/宇多田ヒカル)", "/media/cd/宇多田ヒカル/First Love.mp3", "/media/cd/è.mp3"}};
    const std::string bytes = catalogueBytes(japanese);
    // Japanese does not fit Windows-1252: the file is UTF-8, and reads back whole.
    EXPECT_EQ(
        bytes, "J-Pop\r\n(/media/cd/宇多田ヒカル)\r\n/media/cd/宇多田ヒカル/First Love.mp3\r\n/media/cd/è.mp3\r\n");
    const Catalogue back = parseCatalogue(bytes);
    EXPECT_EQ(back.title, japanese.title);
    EXPECT_EQ(back.entries, japanese.entries);

    // A catalogue that fits Windows-1252 is written in it, as the Windows
    // program reads it; plain ASCII is written as it is.
    EXPECT_EQ(catalogueBytes({"Caffè", {"/c/è.mp3"}}), "Caff\xe8\r\n/c/\xe8.mp3\r\n");
    EXPECT_EQ(catalogueBytes({"Rock", {"(/c/d)", "/c/d/a.mp3"}}), "Rock\r\n(/c/d)\r\n/c/d/a.mp3\r\n");
    EXPECT_EQ(catalogueBytes({"", {}}), "\r\n");
}

TEST(CatalogueFile, EntryWithALineBreakIsLeftOutRatherThanSplit)
{
    const Catalogue c{"Titolo\r\ncon a capo", {"/a/uno.mp3", "/a/due\n.mp3", "/a/tre\r.mp3", "/a/quattro.mp3"}};
    const std::string bytes = catalogueBytes(c);
    EXPECT_EQ(bytes, "Titolo  con a capo\r\n/a/uno.mp3\r\n/a/quattro.mp3\r\n");
    EXPECT_EQ(parseCatalogue(bytes).entries.size(), 2u);
}

TEST(CatalogueFile, NameNotInUtf8IsWrittenBehindTheMarkAndReadsBackAsItsBytes)
{
    const Catalogue c{"Caffè", {"(/m/caf\xe9)", "/m/caf\xe9/bad\xffname.mp3", "/m/è.mp3"}};
    const std::string bytes = catalogueBytes(c);
    EXPECT_EQ(bytes,
        "\xEF\xBB\xBF"
        "Caffè\r\n(/m/caf\xe9)\r\n/m/caf\xe9/bad\xffname.mp3\r\n/m/è.mp3\r\n");
    const Catalogue back = parseCatalogue(bytes);
    EXPECT_EQ(back.title, c.title);
    EXPECT_EQ(back.entries, c.entries);
    // Without the mark the same bytes are a catalogue made on Windows.
    EXPECT_EQ(parseCatalogue(bytes.substr(3)).entries[1], "/m/café/badÿname.mp3");
    // A title is text even in a marked file: one that is not UTF-8 was
    // written on Windows (found by the catalogue fuzz target).
    EXPECT_EQ(parseCatalogue("\xEF\xBB\xBF"
                             "Citt\xe0\r\n/m/bad\xff.mp3\r\n")
                  .title,
        "Città");
    EXPECT_EQ(decodeTitleLine("Citt\xe0", LineCoding::RawNames), "Città");
    // A title that begins with the mark's own character keeps it.
    for (const char* title : {"\uFEFFA", "ï»¿A è"})
        EXPECT_EQ(parseCatalogue(catalogueBytes({title, {"/è.mp3"}})).title, title);
    // Shown with the replacement character where the bytes are not UTF-8.
    EXPECT_EQ(displayText("/m/bad\xffname.mp3"), "/m/bad\uFFFDname.mp3");
    EXPECT_EQ(displayText("a\xe2\x82z è\xc3"), "a\uFFFD\uFFFDz è\uFFFD");
    EXPECT_EQ(displayText("già"), "già");
}

TEST(CatalogueFile, TitleIsCutAndEntriesLongerThanAnyPathAreLeftOut)
{
    const std::string path(4096, 'p');
    const std::string longTitle = "a" + [] {
        std::string s;
        for (int i = 0; i < 3000; ++i)
            s += "ğ"; // not in Windows-1252: the file is UTF-8
        return s;
    }();
    const Catalogue c{longTitle, {"(/" + path.substr(1) + ")", "/" + path, "/" + path + "/x.mp3", "/breve.mp3"}};
    const std::string bytes = catalogueBytes(c);
    // The path of 4,097 bytes is not written: no reader would take it back.
    EXPECT_EQ(bytes.find("/x.mp3"), std::string::npos);
    const Catalogue back = parseCatalogue(bytes);
    EXPECT_EQ(back.entries, (std::vector<std::string>{"(/" + path.substr(1) + ")", "/breve.mp3"}));
    // Cut at 4,096 bytes without splitting "ğ" in two.
    EXPECT_EQ(back.title, longTitle.substr(0, 4095));
    EXPECT_EQ(parseCatalogue("T\r\n" + std::string(5000, 'x') + "\r\n/a.mp3\r\n").entries,
        std::vector<std::string>{"/a.mp3"});
}

// The data beside a catalogue: each hostile name goes out as one line of
// plain text and comes back as its bytes, fed whole or a byte at a time;
// a row whose entry left the catalogue is counted, a line too long passed
// over.
TEST(CatalogueSideFile, HostileNamesRoundTripAsOneEscapedLineEach)
{
    const struct {
        std::string name, written;
    } names[] = {
        {"/m/a\tb.mp3", "/m/a\\tb.mp3"},
        {"/m/a\nb.mp3", "/m/a\\nb.mp3"},
        {"/m/a\rb.mp3", "/m/a\\rb.mp3"},
        {"/m/a\\tb.mp3", "/m/a\\\\tb.mp3"},
        {"/m/fine\\", "/m/fine\\\\"},
        {"/m/bad\xff\xc3(.mp3", "/m/bad\\xFF\\xC3(.mp3"},
        {"/m/Perché ü € 𝄞.mp3", "/m/Perché ü € 𝄞.mp3"},
        {"/m/\\x41 già scritto", "/m/\\\\x41 già scritto"},
    };
    std::string file = sideHeader();
    for (const auto& n : names) {
        TrackData row;
        row.entry = n.name;
        row.size = 1234;
        row.modified = 1'700'000'000;
        row.title = n.name; // a tag may hold the same bytes
        const std::string line = sideRow(row);
        EXPECT_EQ(line.substr(0, line.find('\t')), n.written);
        EXPECT_EQ(line.find('\n'), line.size() - 1);
        file += line;
    }
    file += "/m/gone.mp3\t1\t\t\t\t\t\t\t\t\t\t\t\t\t\n" + std::string(kMaxSideLine + 1, 'x') + "\n";
    for (std::size_t piece : {file.size(), std::size_t(1)}) {
        SideData back;
        SideReader reader([&back](TrackData&& r) {
            if (r.entry == "/m/gone.mp3")
                ++back.stale;
            else
                back.rows.emplace(r.entry, std::move(r));
        });
        for (std::size_t at = 0; at < file.size(); at += piece)
            reader.feed(std::string_view(file).substr(at, piece));
        const SideReadCount count = reader.finish();
        EXPECT_EQ(count.rows, std::size(names) + 1);
        EXPECT_EQ(count.badLines, 1u);
        EXPECT_EQ(back.stale, 1u);
        for (const auto& n : names) {
            ASSERT_EQ(back.rows.count(n.name), 1u) << n.written;
            EXPECT_EQ(back.rows[n.name].title, n.name);
            EXPECT_EQ(back.rows[n.name].modified, 1'700'000'000);
            EXPECT_EQ(back.rows[n.name].size, 1234u);
        }
    }
    // Without its header, a file is no side file.
    EXPECT_TRUE(parseSideFile(file.substr(sideHeader().size()), [](auto) { return true; }).rows.empty());
}
