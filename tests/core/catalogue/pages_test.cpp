#include <gtest/gtest.h>

#include "core/catalogue/pages.h"
#include "core/common/encoding.h"
#include "core/common/text.h"

using namespace zondari;
using namespace zondari::catalogue;

namespace {

using Lines = std::vector<std::string>;

// The page's lines; each must end in CR LF.
Lines linesOf(const std::string& page)
{
    for (std::size_t i = page.find('\n'); i != std::string::npos; i = page.find('\n', i + 1))
        EXPECT_EQ(page[i - 1], '\r') << "bare LF at " << i;
    EXPECT_TRUE(text::endsWith(page, "\r\n"));
    return text::splitLines(page);
}

// The lines one catalogue adds to a search page, and its hits.
Lines searched(const Lines& catalogue, const std::string& text, bool caseSensitive, bool folders, long& hits)
{
    DatabasePage page(PageRequest{text, caseSensitive, folders});
    std::string out;
    page.addCatalogue(text::joinLines(catalogue), out);
    hits = page.hits();
    return linesOf(out);
}

} // namespace

// (Names that would become markup, and their links, in a browser:
// cli/pages_browser_qt_test.) The title, and the URL forms of Windows paths.
TEST(ExportPage, CatalogueTextCannotInjectMarkupAndLinksAreRealUrls)
{
    const Lines lines = linesOf(exportPage("Rock & \"Roll\" <i>", {"/m/a.mp3"}));
    EXPECT_EQ(lines[8], "<p>Raccolta musicale : \"Rock &amp; &quot;Roll&quot; &lt;i&gt;\" <br>");
    EXPECT_EQ(fileUrl("/music/AC\\DC (live)/x+y,z'?.mp3"), "file:///music/AC%5CDC%20(live)/x+y,z'%3F.mp3");
    EXPECT_EQ(fileUrl("c:"), "file:///c:/");
    EXPECT_EQ(fileUrl("\\\\server\\musica\\x y.mp3"), "file://server/musica/x%20y.mp3");
}

TEST(SearchRule, CaseFoldsEveryLetterUnlessAskedNotTo)
{
    const struct {
        const char *text, *entry;
        bool exact, matches;
    } cases[] = {
        {"È", "/m/Perchè.mp3", false, true},
        {"È", "/m/Perché.mp3", false, false},
        {"È", "/m/Perchè.mp3", true, false},
        {"ПЕСНЯ", "/m/песня.mp3", false, true},
        {"(/m", "(/m/Rock)", false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EntryMatcher(c.text, c.exact).matches(c.entry), c.matches) << c.text << " in " << c.entry;
    // The fast folding agrees with the program's own everywhere.
    for (const std::string s : {"abc xyz 09 ~{}", "perché Città ÀÉÎõü ÿ µ", "ⓐⓑ ǆ ﬀ", "dotless ı, long ſ", ""}) {
        std::string out = "junk";
        EXPECT_EQ(upperCaseInto(s, out), text::toUpper(s).size() == s.size()) << s;
        EXPECT_EQ(out, text::toUpper(s)) << s;
    }
}

// (Its rows, and the Windows-1252 catalogues: cli/pocket_browser_qt_test
// compares them with the pocket page's, letter by letter.)
TEST(DatabasePage, SearchPageCountsTheMatchingFilesButNeverTheTitle)
{
    DatabasePage page(PageRequest{"abc", false, true});
    std::string out;
    page.addCatalogue(
        text::joinLines({"abc nel titolo", "(/cd/ABC)", "/cd/ABC/1.mp3", "/cd/x.mp3", "/cd/xabcx.mp3"}), out);
    page.addCatalogue(text::joinLines({"altro", "/d/Abc.mp3", "/d/aBc.wma", "/d/a-b-c.mp3"}), out);
    page.end(out);
    EXPECT_EQ(page.hits(), 4);
    EXPECT_NE(out.find("<hr><p>Trovati  4 files contenenti la stringa : <b>abc</b></p>\r\n</body>\r\n</html>\r\n"),
        std::string::npos);
    DatabasePage none(PageRequest{"nel titolo", false, true});
    out.clear();
    none.addCatalogue(text::joinLines({"abc nel titolo", "/a.mp3"}), out);
    none.end(out);
    EXPECT_EQ(none.hits(), 0);
    EXPECT_EQ(out.find("Trovati"), std::string::npos);
}

TEST(DatabasePage, SearchReadsEachLineAsTheCatalogueReaderDoesWhicheverPathItTakes)
{
    // Mixed lines: the whole file reads as Windows-1252, whether the line
    // that is not UTF-8 comes first or last, and whether a letter whose
    // upper case is shorter ("ı") sends the search line by line.
    const std::string utf8Line = "/m/Kırmızı è.mp3";
    const std::string windowsLine = "/m/caff\xe8 rosso.mp3";
    const std::vector<std::string> catalogues
        = {text::joinLines({"T", utf8Line, windowsLine}), text::joinLines({"T", windowsLine, utf8Line}),
            text::joinLines({"T", "/m/e è.mp3", windowsLine}), text::joinLines({"T", windowsLine, "/m/e è.mp3"})};
    for (const std::string& bytes : catalogues) {
        const Catalogue read = parseCatalogue(bytes);
        for (const char* text : {"KIRMIZI", "kırmızı", "è", "caffè", "CAFFÈ", "Ã¨", "mp3"}) {
            for (const bool exact : {false, true}) {
                // What the reader reads, matched by the rule.
                Lines expected;
                const EntryMatcher rule(text, exact);
                for (const std::string& e : read.entries)
                    if (rule.matches(e))
                        expected.push_back(e);
                DatabasePage page(PageRequest{text, exact, true});
                std::string out;
                page.addCatalogue(bytes, out);
                Lines got;
                for (const std::string& line : linesOf(out))
                    if (const auto at = line.find("\">"); line.starts_with("<a href") && at != std::string::npos)
                        got.push_back(line.substr(at + 2, line.size() - at - 2 - std::string("</a><br>").size()));
                EXPECT_EQ(got, expected) << text << (exact ? " exact" : "") << " in " << bytes;
                EXPECT_EQ(page.hits(), static_cast<long>(expected.size()));
            }
        }
    }
}

TEST(SearchRule, SearchTextIsUtf8WithoutLineEndsOnEveryPath)
{
    // (What the command line hands over: cli/catalogue_files_cli_test.)
    // The plain catalogue goes the fast way, the one with "ı" line by line:
    // a text holding line ends finds the same on both.
    for (const Lines& cat : {Lines{"T", "/m/rock.mp3", "/m/pop.mp3"}, Lines{"T", "/m/rock.mp3", "/m/ı.mp3"}}) {
        for (const bool exact : {false, true}) {
            long hits = 0;
            const Lines lines = searched(cat, "ro\rck", exact, true, hits);
            EXPECT_EQ(hits, 1) << cat[2];
            EXPECT_EQ(lines[1], "<a href=\"file:///m/rock.mp3\">/m/rock.mp3</a><br>");
        }
    }
}
