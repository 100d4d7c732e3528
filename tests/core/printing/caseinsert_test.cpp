#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "core/about/version.h"
#include "core/printing/caseinsert.h"
#include "core/printing/fontchoice.h"
#include "recordingsurface.h"

using namespace zondari::printing;
using zondari::test::RecordingSurface;

namespace {

// With the recording metrics an 8-point line is 4 mm: the title takes y 21
// to 25, front column 0 then holds the lines at 25 ... 133 (28 entries),
// later front columns the lines at 21 ... 133 (29), and back columns the
// lines at 142 ... 254 (29).
std::string printed(int i)
{
    char name[20];
    std::snprintf(name, sizeof name, "brano%03d.mp3", i);
    return name;
}

Listing listing(int entries, std::string title = "Rock anni 80")
{
    Listing l{std::move(title), {}};
    for (int i = 0; i < entries; ++i)
        l.entries.push_back("C:\\Musica\\Brano" + printed(i).substr(5, 3) + ".MP3");
    return l;
}

const PrintFont kFont{"Tahoma", 8, false};

// Where entry i was drawn; fails unless it was drawn once.
RecordingSurface::Text at(const RecordingSurface& s, int i)
{
    const auto found = s.find(printed(i));
    EXPECT_EQ(found.size(), 1u) << printed(i);
    return found.empty() ? RecordingSurface::Text{} : found.front();
}

std::vector<std::vector<double>> shapes(const RecordingSurface& s, RecordingSurface::Kind kind)
{
    std::vector<std::vector<double>> out;
    for (const auto& sh : s.shapes)
        if (sh.kind == kind)
            out.push_back({sh.x1, sh.y1, sh.x2 > 210 ? 999 : sh.x2, sh.y2});
    return out;
}

} // namespace

TEST(CaseInsert, FrontPanelTitleHeadingsFileNamesOutlinesAndFooter)
{
    RecordingSurface s;
    const Listing l{"Rock anni 80", {"(C:\\Musica\\Rock)", "C:\\Musica\\Rock\\Brano UNO.MP3", "", "/cd/Due.Mp3"}};
    DrawListing(s, l, kFont, 3, 1);
    const auto title = s.find("Rock anni 80");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(std::make_pair(title[0].x, title[0].y), std::make_pair(21.0, 21.0));
    EXPECT_TRUE(title[0].bold && title[0].underline);
    const auto heading = s.find("(C:\\Musica\\Rock)");
    ASSERT_EQ(heading.size(), 1u);
    EXPECT_EQ(std::make_pair(heading[0].x, heading[0].y), std::make_pair(21.0, 25.0));
    EXPECT_TRUE(heading[0].bold && !heading[0].underline);
    ASSERT_EQ(s.find("brano uno.mp3").size(), 1u);
    EXPECT_EQ(s.find("brano uno.mp3")[0].y, 29);
    ASSERT_EQ(s.find("due.mp3").size(), 1u);
    EXPECT_EQ(s.find("due.mp3")[0].y, 33); // the empty entry takes no line
    EXPECT_FALSE(s.find("due.mp3")[0].bold);

    using V = std::vector<std::vector<double>>;
    EXPECT_EQ(shapes(s, RecordingSurface::Box), (V{{20, 20, 141, 141}, {20, 141, 170, 259}}));
    EXPECT_EQ(shapes(s, RecordingSurface::Line), (V{{26, 141, 26, 259}, {164, 141, 164, 259}}));
    const auto footer = s.find("Creazione e stampa con Zondari - https://www.zondari.it/");
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_EQ(std::make_pair(footer[0].x, footer[0].y), std::make_pair(20.0, 266.0));
    EXPECT_EQ(footer[0].size, 7);
}

TEST(CaseInsert, FullColumnsMoveRightAndTheEntryThatDoesNotFitOpensTheBackPanel)
{
    RecordingSurface s;
    const int fit = 28 + 2 * 29 + 3 * 29;
    const InsertOutcome outcome = DrawListing(s, listing(fit + 4), kFont, 3, 1);
    const struct {
        int entry;
        double x, y;
    } places[] = {{0, 21, 25}, {27, 21, 133}, {28, 61, 21}, {57, 101, 21}, {85, 101, 133}, {86, 27, 142},
        {114, 27, 254}, {115, 73, 142}, {144, 118, 142}, {fit - 1, 118, 254}};
    for (const auto& p : places)
        EXPECT_EQ(std::make_pair(at(s, p.entry).x, at(s, p.entry).y), std::make_pair(p.x, p.y)) << p.entry;
    EXPECT_TRUE(outcome.frontOverflowed);
    EXPECT_EQ(outcome.resumeIndex, 86u);
    EXPECT_EQ(frontColumnEdge(16, 1), 28); // 28.5: halves go to the even millimetre
    EXPECT_TRUE(s.find(printed(fit)).empty());
    EXPECT_EQ(outcome.leftOut, 4u);

    // Each white-out between the columns it separates; all before the
    // spines and outlines.
    using V = std::vector<std::vector<double>>;
    EXPECT_EQ(shapes(s, RecordingSurface::WhiteBox),
        (V{{118.0 / 3 + 20, 20, 999, 141}, {236.0 / 3 + 20, 20, 999, 141}, {140, 20, 999, 141}, {71, 141, 999, 259},
            {116, 141, 999, 259}, {164, 141, 999, 259}, {163, 140, 999, 258}}));
    const auto& first = s.shapes.front();
    EXPECT_GT(first.order, at(s, 27).order);
    EXPECT_LT(first.order, at(s, 28).order);
    EXPECT_GT(s.find("R").front().order, s.shapes[6].order);
    EXPECT_GT(s.shapes[7].order, s.shapes[6].order);
}

TEST(CaseInsert, ColumnEdgesForEveryColumnChoice)
{
    // By hand: 120 / n * k + 21 on the front, 137 / n * k + 27 on the back,
    // to the nearest millimetre, halves to even.
    const std::map<int, std::pair<std::vector<int>, std::vector<int>>> expected{
        {2, {{21, 81}, {27, 96}}},
        {3, {{21, 61, 101}, {27, 73, 118}}},
        {4, {{21, 51, 81, 111}, {27, 61, 96, 130}}},
        {5, {{21, 45, 69, 93, 117}, {27, 54, 82, 109, 137}}},
        {6, {{21, 41, 61, 81, 101, 121}, {27, 50, 73, 96, 118, 141}}},
        {7, {{21, 38, 55, 72, 90, 107, 124}, {27, 47, 66, 86, 105, 125, 144}}},
    };
    for (const auto& [columns, edges] : expected) {
        for (int k = 0; k < columns; ++k) {
            EXPECT_EQ(frontColumnEdge(columns, k), edges.first[static_cast<std::size_t>(k)]) << columns << " " << k;
            EXPECT_EQ(backColumnEdge(columns, k), edges.second[static_cast<std::size_t>(k)]) << columns << " " << k;
        }
    }
}

TEST(CaseInsert, SpineFontShrinksAPointAtATimeUntilTheTitleFitsAndStopsAtOnePoint)
{
    // A "j" 4 mm high at 11 points: 40 characters make 160 mm, and 116.4 mm
    // at 8 points, the first size at which they fit.
    RecordingSurface s;
    s.heightPerPoint = 4.0 / 11;
    DrawListing(s, listing(0, std::string(39, 'A') + "K"), kFont, 3, 1);
    const auto k = s.find("K");
    ASSERT_EQ(k.size(), 2u);
    EXPECT_EQ(k[0].size, 8);
    EXPECT_TRUE(k[0].bold);
    EXPECT_NEAR(k[0].y, 200 + 116.3636 / 2 - 8 * 4.0 / 11, 1e-3);
    EXPECT_DOUBLE_EQ(k[0].x, 23 - 8 * 0.25 / 2);
    EXPECT_DOUBLE_EQ(k[1].x, 167 - 8 * 0.25 / 2);

    // 400 characters do not fit even at 1 point (0.5 mm a line): the 236
    // that do are written, within the spine.
    RecordingSurface longer;
    DrawListing(longer, listing(0, std::string(400, 'x')), kFont, 3, 1);
    const auto xs = longer.find("x");
    ASSERT_EQ(xs.size(), 2u * 236);
    for (const auto& t : xs)
        EXPECT_TRUE(t.size == 1 && t.y >= 141 && t.y + 0.5 <= 259 + 1e-9) << t.y;
}

TEST(CaseInsert, ScaleMultipliesFontSizesOnly)
{
    RecordingSurface s;
    DrawListing(s, listing(2, "Pop"), {"DejaVu Serif", 8, false}, 3, 0.5);
    EXPECT_EQ(s.find("Pop")[0].size, 4);
    EXPECT_EQ(at(s, 1).y, 25); // title and a line, 2 mm each
    EXPECT_EQ(at(s, 1).size, 4);
    EXPECT_EQ(s.find("P")[0].size, 5.5);
    EXPECT_EQ(s.find(std::string(kFooterLine) + zondari::kHomePage)[0].size, 3.5);
}

TEST(CaseInsert, BoldOnlyWhereTheLayoutPutsItAndItalicOnTheWholePage)
{
    Listing l = listing(2, "Pop");
    l.entries.insert(l.entries.begin() + 1, "(C:\\Musica)");
    for (bool italic : {true, false}) {
        RecordingSurface s;
        DrawListing(s, l, {"DejaVu Serif", 8, italic}, 3, 1);
        ASSERT_EQ(s.texts.size(), 1u + 3 + 2 * 3 + 1); // title, entries, spines, footer
        for (const auto& t : s.texts) {
            const bool footer = t.text.starts_with(kFooterLine);
            const bool fileName = t.text.starts_with("brano");
            // The title, the heading and the spines' characters are bold.
            EXPECT_EQ(t.bold, !footer && !fileName) << t.text;
            EXPECT_EQ(t.italic, italic) << t.text;
            EXPECT_EQ(t.font, "DejaVu Serif") << t.text;
        }
    }
}

TEST(CaseInsert, FewerThanTwoColumnsGiveOneColumnPerPanel)
{
    for (int columns : {1, 0, -3}) {
        RecordingSurface s;
        const InsertOutcome outcome = DrawListing(s, listing(28 + 29 + 3), kFont, columns, 1);
        EXPECT_EQ(at(s, 0).x, 21) << columns;
        EXPECT_EQ(std::make_pair(at(s, 28).x, at(s, 28).y), std::make_pair(27.0, 142.0)) << columns;
        EXPECT_EQ(outcome.leftOut, 3u) << columns;
    }
    EXPECT_EQ(leftOutLine(1), "1 voce del catalogo non entra nell'etichetta e non sarà stampata.");
}

TEST(FontChoice, FamiliesAreListedOnceByTheirPlainNamesAndTheFallbackIsInstalled)
{
    EXPECT_EQ(listedFamilies({"DejaVu Sans", "Nimbus Sans [UKWN]", "Nimbus Sans [URW]", "dejavu sans", ""}),
        (std::vector<std::string>{"DejaVu Sans", "Nimbus Sans"}));
    EXPECT_EQ(fontCountCaption(1), "N. 1 Fonts installati");
    const std::vector<std::string> families{"DejaVu Sans", "Liberation Sans"};
    EXPECT_TRUE(isInstalled("dejavu SANS", families));
    EXPECT_FALSE(isInstalled("Tahoma", families));
    EXPECT_EQ(fallbackFamily(families, "Liberation Sans"), "Liberation Sans");
    EXPECT_EQ(fallbackFamily({"Arial", "DejaVu Sans"}, "DejaVu Sans"), "Arial");
    EXPECT_EQ(fallbackFamily(families, "Helvetica"), "DejaVu Sans");
}

TEST(FontChoice, SizesAndColumnsAsTyped)
{
    EXPECT_TRUE(chooseFontSize("30").capped);
    EXPECT_EQ(chooseFontSize("30").size, 25);
    EXPECT_EQ(chooseFontSize("12.5pt").size, 12.5f);
    EXPECT_EQ(chooseFontSize("1").size, 2);
    EXPECT_EQ(chooseFontSize("").size, 2);
    EXPECT_EQ(*columnsAsTyped("9"), 9);
    EXPECT_EQ(*columnsAsTyped("2.5"), 2);
    EXPECT_EQ(*columnsAsTyped("-1"), -1);
    ASSERT_FALSE(columnsAsTyped("32767.5"));
    EXPECT_EQ(columnsAsTyped("1e300").error().number, 6);
}
