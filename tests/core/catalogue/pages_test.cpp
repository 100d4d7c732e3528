#include <gtest/gtest.h>

#include "core/catalogue/pages.h"
#include "core/common/encoding.h"
#include "core/common/text.h"

using namespace zondari;
using namespace zondari::catalogue;

namespace {

const std::vector<std::string> kPageHead = {
    "<!DOCTYPE html>",
    "<html lang=\"it\">",
    "<head>",
    "<meta charset=\"utf-8\">",
};

std::vector<std::string> exportHead(const std::string& escapedTitle)
{
    std::vector<std::string> l = kPageHead;
    l.insert(l.end(), {
        "<title>Pagina HTML di Zondari</title>",
        "</head>",
        "<body>",
        "<p><img src=\"chitarra_animata.gif\" alt=\"\" style=\"vertical-align: middle; border: 2px solid\">"
        "<span style=\"color: #FF0000; font-size: xxx-large\"><em><b> Zondari</b></em></span></p>",
        "<p>Raccolta musicale : \"" + escapedTitle + "\" <br>",
    });
    return l;
}

std::vector<std::string> databaseHead(const std::string& pageName)
{
    std::vector<std::string> l = kPageHead;
    l.insert(l.end(), {
        "<title>Pagina HTML di Zondari - " + pageName + "</title>",
        "</head>",
        "<body>",
        "<table style=\"margin: 0 auto; border: 1px solid #111111; border-collapse: collapse\"><tr>"
        "<td style=\"border: 1px solid #111111; padding: 0\"><img src=\"cassarotante.gif\" alt=\"\" width=\"140\" "
        "height=\"105\" style=\"vertical-align: middle\"></td>",
        "<td style=\"border: 1px solid #111111; padding: 0\"><em><b style=\"font-size: xx-large\">&nbsp;Zondari"
        "&nbsp;&nbsp; </b></em></td><td style=\"border: 1px solid #111111; padding: 0\"><img src=\"cassasaltante.gif\" "
        "alt=\"\" width=\"112\" height=\"100\"></td></tr></table>",
    });
    return l;
}

std::vector<std::string> plus(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The page's lines; every line must end in CR LF.
std::vector<std::string> linesOf(const std::string& page)
{
    EXPECT_TRUE(text::endsWith(page, "\r\n"));
    for (std::size_t i = page.find('\n'); i != std::string::npos; i = page.find('\n', i + 1))
        EXPECT_EQ(page[i - 1], '\r') << "bare LF at " << i;
    return text::splitLines(page);
}

std::string catalogueBytes(const std::vector<std::string>& lines)
{
    return text::joinLines(lines);
}

std::string search(const std::vector<std::string>& catalogue, const std::string& text, bool caseSensitive,
                   bool folders, long* hits = nullptr)
{
    DatabasePage page(PageRequest{text, caseSensitive, folders});
    std::string out;
    page.addCatalogue(catalogueBytes(catalogue), out);
    if (hits)
        *hits = page.hits();
    return out;
}

}  // namespace

TEST(ExportPage, TitleOnlyGivesTheHeadAndTheClosingLines)
{
    EXPECT_EQ(linesOf(exportPage("Rock anni 80", {})),
              plus(exportHead("Rock anni 80"), {"</p></body>", "</html>"}));
    // An empty title: two quotes side by side.
    EXPECT_EQ(linesOf(exportPage("", {}))[8], "<p>Raccolta musicale : \"\" <br>");
}

TEST(ExportPage, FoldersHeadParagraphsAndFilesBecomeLinksNamedByTheirFileName)
{
    const std::vector<std::string> entries = {
        "(/media/cd/Rock)",
        "/media/cd/Rock/brano uno.mp3",
        "/media/cd/Rock/Città è.mp3",
        "/media/cd/sciolto.wma",
    };
    EXPECT_EQ(linesOf(exportPage("CD", entries)),
              plus(exportHead("CD"), {
                                         "</p><p>(/media/cd/Rock)<br>",
                                         "<a href=\"file:///media/cd/Rock/brano%20uno.mp3\">brano uno.mp3</a><br>",
                                         "<a href=\"file:///media/cd/Rock/Citt%C3%A0%20%C3%A8.mp3\">Città è.mp3</a><br>",
                                         "<a href=\"file:///media/cd/sciolto.wma\">sciolto.wma</a><br>",
                                         "</p></body>",
                                         "</html>",
                                     }));
}

TEST(ExportPage, WindowsCataloguesLinkToDriveLetterUrls)
{
    const std::vector<std::string> entries = {"(D:\\Rock\\AC-DC)", "D:\\Rock\\AC-DC\\Back in Black.mp3"};
    const auto lines = linesOf(exportPage("ROCK80", entries));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[9], "</p><p>(D:\\Rock\\AC-DC)<br>");
    EXPECT_EQ(lines[10], "<a href=\"file:///D:/Rock/AC-DC/Back%20in%20Black.mp3\">Back in Black.mp3</a><br>");
}

TEST(ExportPage, TextFromCataloguesCannotInjectMarkup)
{
    const auto lines = linesOf(
        exportPage("Rock & \"Roll\" <i>", {"(/m/<x>)", "/m/<img src=x onerror=alert(1)> Rock & Roll.mp3"}));
    EXPECT_EQ(lines[8], "<p>Raccolta musicale : \"Rock &amp; &quot;Roll&quot; &lt;i&gt;\" <br>");
    EXPECT_EQ(lines[9], "</p><p>(/m/&lt;x&gt;)<br>");
    EXPECT_EQ(lines[10], "<a href=\"file:///m/%3Cimg%20src=x%20onerror=alert(1)%3E%20Rock%20%26%20Roll.mp3\">"
                         "&lt;img src=x onerror=alert(1)&gt; Rock &amp; Roll.mp3</a><br>");
}

TEST(FileUrl, EncodesWhatAUrlCannotHoldAndKeepsPathMarks)
{
    EXPECT_EQ(fileUrl("/music/a b#1 50%?.mp3"), "file:///music/a%20b%231%2050%25%3F.mp3");
    EXPECT_EQ(fileUrl("/music/AC\\DC (live)/x+y,z'.mp3"), "file:///music/AC%5CDC%20(live)/x+y,z'.mp3");
    EXPECT_EQ(fileUrl("/m/\"q\".mp3"), "file:///m/%22q%22.mp3");
    EXPECT_EQ(fileUrl("C:\\Musica\\Rock\\brano.mp3"), "file:///C:/Musica/Rock/brano.mp3");
    EXPECT_EQ(fileUrl("c:"), "file:///c:/");
    EXPECT_EQ(fileUrl("\\\\server\\musica\\x y.mp3"), "file://server/musica/x%20y.mp3");
    // Windows-1252 names read from old catalogues are UTF-8 by now.
    EXPECT_EQ(fileUrl(encoding::cp1252ToUtf8("D:\\Caf\xe9.mp3")), "file:///D:/Caf%C3%A9.mp3");
}

TEST(EntryMatcher, IgnoresCaseForEveryLetterUnlessAskedNotTo)
{
    const EntryMatcher any("rock", false);
    EXPECT_TRUE(any.matches("C:\\ROCK\\a.mp3"));
    EXPECT_TRUE(any.matches("c:\\x\\Rock.mp3"));
    EXPECT_FALSE(any.matches("c:\\x\\Roc k.mp3"));
    const EntryMatcher exact("rock", true);
    EXPECT_FALSE(exact.matches("C:\\ROCK\\a.mp3"));
    EXPECT_FALSE(exact.matches("c:\\x\\Rock.mp3"));
    EXPECT_TRUE(exact.matches("c:\\x\\rock.mp3"));

    EXPECT_TRUE(EntryMatcher("È", false).matches("/m/Perchè.mp3"));
    EXPECT_FALSE(EntryMatcher("È", false).matches("/m/Perché.mp3"));  // another letter
    EXPECT_TRUE(EntryMatcher("ПЕСНЯ", false).matches("/m/песня.mp3"));
    EXPECT_FALSE(EntryMatcher("È", true).matches("/m/Perchè.mp3"));
    // The whole stored path counts: folders and extension.
    EXPECT_TRUE(EntryMatcher(".MP3", false).matches("/m/x.mp3"));
    EXPECT_TRUE(EntryMatcher("(/m", false).matches("(/m/Rock)"));
}

TEST(UpperCase, AgreesWithTheProgramsCaseFoldingOnEveryKindOfLetter)
{
    for (const std::string s : {"abc xyz 09", "perché Città ÀÉÎõü ÿ", "песня ελληνικά", "ⓐⓑ ǆ ﬀ",
                                "dotless ı and long ſ", "mixed ı with è", ""}) {
        std::string out = "junk";
        const bool aligned = upperCaseInto(s, out);
        EXPECT_EQ(out, text::toUpper(s)) << s;
        EXPECT_EQ(aligned, out.size() == s.size()) << s;
    }
}

TEST(DatabasePage, ListsEveryCatalogueWithAllItsEntries)
{
    DatabasePage page(PageRequest{});
    std::string out;
    page.begin(out);
    page.addCatalogue(catalogueBytes({"Primo", "(/cd/A)", "/cd/A/uno.mp3", "/cd/due.mp3"}), out);
    page.addCatalogue("Secondo\n/cd2/tre.mp3\n", out);  // LF only, as edited on Linux
    page.addCatalogue("Vuoto", out);
    page.end(out);
    EXPECT_EQ(linesOf(out), plus(databaseHead("zondari-database-generale.htm"),
                                 {
                                     "<p>Raccolta musicale : \"Primo\" </p><hr><p>",
                                     "</p><p>(/cd/A)<br>",
                                     "<a href=\"file:///cd/A/uno.mp3\">uno.mp3</a><br>",
                                     "<a href=\"file:///cd/due.mp3\">due.mp3</a><br>",
                                     "</p>",
                                     "<p>Raccolta musicale : \"Secondo\" </p><hr><p>",
                                     "<a href=\"file:///cd2/tre.mp3\">tre.mp3</a><br>",
                                     "</p>",
                                     "<p>Raccolta musicale : \"Vuoto\" </p><hr><p>",
                                     "</p>",
                                     "</body>",
                                     "</html>",
                                 }));
}

TEST(DatabasePage, SearchListsMatchingFilesByTheirWholePathAndCountsThem)
{
    DatabasePage page(PageRequest{"abc", false, true});
    std::string out;
    page.begin(out);
    page.addCatalogue(catalogueBytes({"abc nel titolo", "(/cd/ABC)", "/cd/ABC/1.mp3", "/cd/ABC/2.mp3", "/cd/x.mp3",
                                      "/cd/xabcx.mp3"}),
                      out);
    page.addCatalogue(catalogueBytes({"altro", "/d/Abc.mp3", "/d/aBc.wma", "/d/a-b-c.mp3"}), out);
    page.end(out);
    EXPECT_EQ(page.hits(), 5);
    EXPECT_EQ(linesOf(out), plus(databaseHead("zondari-pagina-di-ricerca.htm"),
                                 {
                                     "<p>Raccolta musicale : \"abc nel titolo\" </p><hr><p>",
                                     "</p><p>(/cd/ABC)<br>",
                                     "<a href=\"file:///cd/ABC/1.mp3\">/cd/ABC/1.mp3</a><br>",
                                     "<a href=\"file:///cd/ABC/2.mp3\">/cd/ABC/2.mp3</a><br>",
                                     "<a href=\"file:///cd/xabcx.mp3\">/cd/xabcx.mp3</a><br>",
                                     "</p>",
                                     "<p>Raccolta musicale : \"altro\" </p><hr><p>",
                                     "<a href=\"file:///d/Abc.mp3\">/d/Abc.mp3</a><br>",
                                     "<a href=\"file:///d/aBc.wma\">/d/aBc.wma</a><br>",
                                     "</p>",
                                     "<hr><p>Trovati  5 files contenenti la stringa : <b>abc</b></p>",
                                     "</body>",
                                     "</html>",
                                 }));
}

TEST(DatabasePage, FolderNamesAreListedOnlyWithTheFolderOptionAndNeverCount)
{
    const std::vector<std::string> cat = {"T", "(/cd/Vasco Rossi)", "/cd/Vasco Rossi/Albachiara.mp3",
                                          "(/cd/Vasco Rossi/Live)", "/cd/altro.mp3"};
    long hits = -1;
    auto lines = linesOf(search(cat, "vasco", false, true, &hits));
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "<p>Raccolta musicale : \"T\" </p><hr><p>",
                         "</p><p>(/cd/Vasco Rossi)<br>",
                         "<a href=\"file:///cd/Vasco%20Rossi/Albachiara.mp3\">/cd/Vasco Rossi/Albachiara.mp3</a><br>",
                         "</p><p>(/cd/Vasco Rossi/Live)<br>",
                         "</p>",
                     }));
    lines = linesOf(search(cat, "Live", true, true, &hits));
    EXPECT_EQ(hits, 0);
    EXPECT_EQ(lines[1], "</p><p>(/cd/Vasco Rossi/Live)<br>");
    lines = linesOf(search(cat, "vasco", false, false, &hits));
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(lines.size(), 3u);
}

TEST(DatabasePage, NoHitsMeansNoCountLine)
{
    DatabasePage page(PageRequest{"zzz", false, true});
    std::string out;
    page.begin(out);
    page.addCatalogue(catalogueBytes({"zzz", "/a.mp3"}), out);  // the title is never searched
    page.end(out);
    EXPECT_EQ(page.hits(), 0);
    EXPECT_EQ(out.find("Trovati"), std::string::npos);
    EXPECT_TRUE(text::endsWith(out, "</p>\r\n</body>\r\n</html>\r\n"));
}

TEST(DatabasePage, WindowsCataloguesAreReadAsWindows1252)
{
    // "Caffè" and "PERCHÉ" in Windows-1252 bytes, CR LF.
    const std::string bytes = "Raccolta \xe0\r\n(C:\\Caff\xe8)\r\nC:\\Caff\xe8\\PERCH\xc9.mp3\r\nC:\\x.mp3\r\n";
    DatabasePage page(PageRequest{"perché", false, true});
    std::string out;
    page.addCatalogue(bytes, out);
    EXPECT_EQ(page.hits(), 1);
    EXPECT_EQ(linesOf(out), (std::vector<std::string>{
                                "<p>Raccolta musicale : \"Raccolta à\" </p><hr><p>",
                                "<a href=\"file:///C:/Caff%C3%A8/PERCH%C3%89.mp3\">C:\\Caffè\\PERCHÉ.mp3</a><br>",
                                "</p>",
                            }));
    // The case-sensitive search decodes the same way.
    DatabasePage exact(PageRequest{"Caffè", true, true});
    out.clear();
    exact.addCatalogue(bytes, out);
    EXPECT_EQ(exact.hits(), 1);
}

TEST(DatabasePage, LettersWhoseUpperCaseIsLongerOrShorterStillMatch)
{
    // "ı" (dotless i) upper-cases to one byte; the page then compares line
    // by line, with the same results.
    const std::vector<std::string> cat = {"T", "/m/Kırmızı.mp3", "/m/KIRMIZI remix.mp3", "/m/altro.mp3",
                                          "/m/kırmızı è.mp3"};
    long hits = 0;
    const auto lines = linesOf(search(cat, "KIRMIZI", false, true, &hits));
    EXPECT_EQ(hits, 3);
    EXPECT_EQ(lines[1], "<a href=\"file:///m/K%C4%B1rm%C4%B1z%C4%B1.mp3\">/m/Kırmızı.mp3</a><br>");
    EXPECT_EQ(lines[3], "<a href=\"file:///m/k%C4%B1rm%C4%B1z%C4%B1%20%C3%A8.mp3\">/m/kırmızı è.mp3</a><br>");
}

TEST(DatabasePage, SearchTextIsEscapedAndMatchedLiterally)
{
    const std::vector<std::string> cat = {"T", "/m/<b>Rock & Roll</b>.mp3", "/m/\"q\".mp3", "/m/~~tilde.mp3"};
    DatabasePage page(PageRequest{"& Roll<", false, true});
    std::string out;
    page.addCatalogue(catalogueBytes(cat), out);
    page.end(out);
    EXPECT_EQ(page.hits(), 1);
    EXPECT_NE(out.find("<b>&amp; Roll&lt;</b>"), std::string::npos);
    EXPECT_EQ(out.find("<b>Rock"), std::string::npos);
    long hits = 0;
    search(cat, "\"q\"", true, true, &hits);
    EXPECT_EQ(hits, 1);
    search(cat, "~~t", false, true, &hits);
    EXPECT_EQ(hits, 1);
}

TEST(DatabasePage, HundredThousandEntriesAreSearchedWhole)
{
    std::vector<std::string> cat = {"Grande"};
    for (int i = 0; i < 100000; ++i)
        cat.push_back("/musica/Artista " + std::to_string(i % 1000) + "/Brano " + std::to_string(i) + ".mp3");
    long hits = 0;
    // "Brano 4242" is in 4242 and in 42420..42429: 11 entries.
    search(cat, "brano 4242", false, true, &hits);
    EXPECT_EQ(hits, 11);
    // Artist 7 alone ("Artista 7/") holds the entries 7, 1007, ..., 99007.
    search(cat, "ARTISTA 7/", false, true, &hits);
    EXPECT_EQ(hits, 100);
    search(cat, "brano", true, true, &hits);
    EXPECT_EQ(hits, 0);
}
