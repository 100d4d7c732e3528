#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/printing/caseinsert.h"
#include "recordingsurface.h"

using namespace zondari;
using namespace zondari::printing;
using zondari::test::RecordingSurface;
using Shape = RecordingSurface::Shape;

namespace {

// With the recording surface's metrics an 8-point line is 4 mm: the title
// takes y 21-25, front column 0 then holds the lines at 25, 29, ... 133
// (28 entries), every later front column the lines at 21 ... 133 (29), and
// every back column the lines at 142 ... 254 (29).
constexpr std::size_t kFirstColumn = 28;
constexpr std::size_t kFrontColumn = 29;
constexpr std::size_t kBackColumn = 29;

std::string path(int i)
{
    char name[40];
    std::snprintf(name, sizeof name, "C:\\Musica\\Brano%03d.MP3", i);
    return name;
}

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
        l.entries.push_back(path(i));
    return l;
}

const PrintFont kFont{"Tahoma", 8, false, false};

// Where entry i was drawn; fails when it was drawn other than once.
RecordingSurface::Text at(const RecordingSurface& s, int i)
{
    const auto found = s.find(printed(i));
    EXPECT_EQ(found.size(), 1u) << printed(i);
    return found.empty() ? RecordingSurface::Text{} : found.front();
}

bool hasWhiteOut(const RecordingSurface& s, double x, double top, double bottom)
{
    for (const Shape& w : s.shapesOf(Shape::WhiteBox))
        if (std::abs(w.x1 - x) < 1e-9 && w.y1 == top && w.y2 == bottom && w.x2 > s.pageWidth)
            return true;
    return false;
}

}  // namespace

TEST(CaseInsert, TitleThenLowerCasedFileNamesAndBoldHeadingsDownTheFirstColumn)
{
    RecordingSurface s;
    Listing l{"Rock anni 80", {"(C:\\Musica\\Rock)", "C:\\Musica\\Rock\\Brano UNO.MP3", "", "/media/cd/Due.Mp3", "tre.mp3"}};
    const InsertOutcome outcome = DrawListing(s, l, kFont, 3, 1);

    const auto title = s.find("Rock anni 80");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].x, 21);
    EXPECT_EQ(title[0].y, 21);
    EXPECT_TRUE(title[0].bold);
    EXPECT_TRUE(title[0].underline);
    EXPECT_EQ(title[0].size, 8);
    EXPECT_EQ(title[0].font, "Tahoma");

    const auto heading = s.find("(C:\\Musica\\Rock)");
    ASSERT_EQ(heading.size(), 1u);
    EXPECT_TRUE(heading[0].bold);
    EXPECT_FALSE(heading[0].underline);
    EXPECT_EQ(heading[0].x, 21);
    EXPECT_EQ(heading[0].y, 25);

    // The empty entry takes no line.
    const std::vector<std::pair<std::string, double>> files{{"brano uno.mp3", 29}, {"due.mp3", 33}, {"tre.mp3", 37}};
    for (const auto& [name, y] : files) {
        const auto t = s.find(name);
        ASSERT_EQ(t.size(), 1u) << name;
        EXPECT_EQ(t[0].x, 21) << name;
        EXPECT_EQ(t[0].y, y) << name;
        EXPECT_FALSE(t[0].bold) << name;
    }
    EXPECT_FALSE(outcome.frontOverflowed);
    EXPECT_EQ(outcome.leftOut, 0u);
}

TEST(CaseInsert, ColumnEdgesAreTheNearestMillimetreWithHalvesToEven)
{
    // 3 columns: front 21, 61, 101; back 27, 72.67 -> 73, 118.33 -> 118.
    EXPECT_EQ(frontColumnEdge(3, 0), 21);
    EXPECT_EQ(frontColumnEdge(3, 1), 61);
    EXPECT_EQ(frontColumnEdge(3, 2), 101);
    EXPECT_EQ(backColumnEdge(3, 0), 27);
    EXPECT_EQ(backColumnEdge(3, 1), 73);
    EXPECT_EQ(backColumnEdge(3, 2), 118);
    EXPECT_NEAR(frontWhiteOut(3, 1), 59.333, 1e-3);
    EXPECT_NEAR(frontWhiteOut(3, 2), 98.667, 1e-3);
    EXPECT_NEAR(backWhiteOut(3, 1), 71, 1e-9);
    EXPECT_NEAR(backWhiteOut(3, 2), 116, 1e-9);
    // 7 columns: 120 / 7 = 17.142857...
    const int seven[] = {21, 38, 55, 72, 90, 107, 124};
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(frontColumnEdge(7, k), seven[k]) << k;
    // Halves: 95.5 goes to 96, 28.5 (16 columns, typed past the choices)
    // to 28.
    EXPECT_EQ(backColumnEdge(2, 1), 96);
    EXPECT_EQ(backColumnEdge(4, 2), 96);
    EXPECT_EQ(frontColumnEdge(16, 1), 28);
}

TEST(CaseInsert, FullFrontColumnsMoveRightAndTheEntryThatDoesNotFitOpensTheBackPanel)
{
    RecordingSurface s;
    const int total = static_cast<int>(kFirstColumn + 2 * kFrontColumn + 3 * kBackColumn);  // 3 columns, all full
    const InsertOutcome outcome = DrawListing(s, listing(total + 4), kFont, 3, 1);

    // Entry 86 is the first that does not fit on the front: it is the
    // first on the back.
    const struct {
        int entry;
        double x, y;
    } places[] = {{0, 21, 25},   {27, 21, 133},  {28, 61, 21},   {57, 101, 21},          {85, 101, 133},
                  {86, 27, 142}, {114, 27, 254}, {115, 73, 142}, {144, 118, 142}, {total - 1, 118, 254}};
    for (const auto& p : places) {
        EXPECT_EQ(at(s, p.entry).x, p.x) << p.entry;
        EXPECT_EQ(at(s, p.entry).y, p.y) << p.entry;
    }
    ASSERT_TRUE(outcome.frontOverflowed);
    EXPECT_EQ(outcome.resumeIndex, 86u);

    // The rest is on neither panel, and the count says so.
    for (int i = total; i < total + 4; ++i)
        EXPECT_TRUE(s.find(printed(i)).empty()) << i;
    EXPECT_EQ(outcome.leftOut, 4u);

    EXPECT_TRUE(hasWhiteOut(s, 118.0 / 3 + 20, 20, 141));
    EXPECT_TRUE(hasWhiteOut(s, 236.0 / 3 + 20, 20, 141));
    EXPECT_TRUE(hasWhiteOut(s, 140, 20, 141));
    EXPECT_TRUE(hasWhiteOut(s, 71, 141, 259));
    EXPECT_TRUE(hasWhiteOut(s, 116, 141, 259));
    EXPECT_TRUE(hasWhiteOut(s, 164, 141, 259));  // the back is full
    EXPECT_TRUE(hasWhiteOut(s, 163, 140, 258));
}

TEST(CaseInsert, WhiteOutsComeBetweenTheColumnsTheySeparateAndBeforeSpinesAndOutlines)
{
    RecordingSurface s;
    DrawListing(s, listing(static_cast<int>(kFirstColumn + kFrontColumn + 5)), kFont, 2, 1);
    const auto whites = s.shapesOf(Shape::WhiteBox);
    ASSERT_EQ(whites.size(), 3u);  // before front column 1, at 140, at 163
    EXPECT_EQ(whites[0].x1, 79);   // 118 / 2 + 20
    EXPECT_GT(whites[0].order, at(s, 27).order);
    EXPECT_LT(whites[0].order, at(s, 28).order);
    EXPECT_EQ(at(s, 28).x, 81);
    EXPECT_EQ(whites[1].x1, 140);
    EXPECT_LT(whites[1].order, at(s, 57).order);  // the back panel comes after
    EXPECT_EQ(at(s, 57).x, 27);
    EXPECT_EQ(at(s, 57).y, 142);
    EXPECT_EQ(whites[2].x1, 163);
    for (const Shape& shape : s.shapes) {
        if (shape.kind == Shape::Box || shape.kind == Shape::Line) {
            EXPECT_GT(shape.order, whites[2].order);
        }
    }
    const auto spine = s.find("R");  // the title's first character
    ASSERT_EQ(spine.size(), 2u);
    EXPECT_GT(spine[0].order, whites[2].order);
}

TEST(CaseInsert, ExactlyAFullFrontLeavesTheBackPanelEmptyButDrawn)
{
    RecordingSurface s;
    const int front = static_cast<int>(kFirstColumn + kFrontColumn);
    const InsertOutcome outcome = DrawListing(s, listing(front), kFont, 2, 1);
    EXPECT_FALSE(outcome.frontOverflowed);
    EXPECT_EQ(outcome.leftOut, 0u);
    for (const auto& t : s.texts) {
        if (t.y >= 141 && t.y < 259) {  // spines only
            EXPECT_TRUE(t.x == 23 - t.size * 0.25 / 2 || t.x == 167 - t.size * 0.25 / 2) << t.text;
        }
    }
    EXPECT_EQ(s.shapesOf(Shape::Box).size(), 2u);
    EXPECT_EQ(s.find(std::string(kFooterLine) + kMakerSite).size(), 1u);
}

TEST(CaseInsert, EmptyListStillDrawsTitleOutlinesFoldLinesSpinesAndFooter)
{
    RecordingSurface s;
    const InsertOutcome outcome = DrawListing(s, listing(0, "Jazz"), kFont, 4, 1);
    EXPECT_FALSE(outcome.frontOverflowed);

    const auto boxes = s.shapesOf(Shape::Box);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ((std::vector<double>{boxes[0].x1, boxes[0].y1, boxes[0].x2, boxes[0].y2}),
              (std::vector<double>{20, 20, 141, 141}));
    EXPECT_EQ((std::vector<double>{boxes[1].x1, boxes[1].y1, boxes[1].x2, boxes[1].y2}),
              (std::vector<double>{20, 141, 170, 259}));
    const auto lines = s.shapesOf(Shape::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ((std::vector<double>{lines[0].x1, lines[0].y1, lines[0].x2, lines[0].y2}),
              (std::vector<double>{26, 141, 26, 259}));
    EXPECT_EQ((std::vector<double>{lines[1].x1, lines[1].y1, lines[1].x2, lines[1].y2}),
              (std::vector<double>{164, 141, 164, 259}));

    const auto footer = s.find("Creazione e stampa con Zondari - https://www.zondari.it/");
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_EQ(footer[0].x, 20);
    EXPECT_EQ(footer[0].y, 266);
    EXPECT_EQ(footer[0].size, 7);
    EXPECT_FALSE(footer[0].bold);

    // "Jazz" down both spines at 11 points: 4 lines of 5.5 mm centred on 200.
    const auto j = s.find("J");
    ASSERT_EQ(j.size(), 2u);
    EXPECT_DOUBLE_EQ(j[0].y, 200 - 4 * 5.5 / 2);
    EXPECT_DOUBLE_EQ(j[0].x, 23 - 11 * 0.25 / 2);
    EXPECT_DOUBLE_EQ(j[1].x, 167 - 11 * 0.25 / 2);
    EXPECT_TRUE(j[0].bold);
    const auto z = s.find("z");
    ASSERT_EQ(z.size(), 4u);
    EXPECT_DOUBLE_EQ(z[0].y, 200 - 11 + 2 * 5.5);
    EXPECT_DOUBLE_EQ(z[1].y, 200 - 11 + 3 * 5.5);
}

TEST(CaseInsert, SpineFontShrinksAPointAtATimeUntilTheTitleFits)
{
    // A "j" 4 mm high at 11 points: 40 characters make 160 mm. At 8 points
    // they make 116.4 mm, the first size at which they fit.
    RecordingSurface s;
    s.heightPerPoint = 4.0 / 11;
    const std::string title = "ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIK";
    DrawListing(s, listing(0, title), kFont, 3, 1);
    const auto k = s.find("K");  // the last character, on each spine
    ASSERT_EQ(k.size(), 2u);
    EXPECT_DOUBLE_EQ(k[0].size, 8);
    const double h = 40 * 8 * 4.0 / 11;
    EXPECT_NEAR(k[0].y, 200 - h / 2 + 39 * 8 * 4.0 / 11, 1e-9);
    EXPECT_NEAR(s.find("A")[0].y, 200 - h / 2, 1e-9);
}

TEST(CaseInsert, ATitleTooLongEvenAtOnePointKeepsWithinTheSpine)
{
    RecordingSurface s;
    const std::string title(400, 'x');
    DrawListing(s, listing(0, title), kFont, 3, 1);
    const auto xs = s.find("x");
    // At 1 point a line is 0.5 mm: 236 of them fill the 118 mm of a spine.
    ASSERT_EQ(xs.size(), 2u * 236);
    for (const auto& t : xs) {
        EXPECT_EQ(t.size, 1);
        EXPECT_GE(t.y, 141);
        EXPECT_LE(t.y + 0.5, 259 + 1e-9);
    }
}

TEST(CaseInsert, PreviewScaleMultipliesFontSizesButNotPositions)
{
    RecordingSurface s;
    DrawListing(s, listing(2, "Pop"), kFont, 3, 0.5);
    const auto title = s.find("Pop");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].size, 4);
    EXPECT_EQ(title[0].y, 21);
    // A 4-point line is 2 mm.
    EXPECT_EQ(at(s, 0).y, 23);
    EXPECT_EQ(at(s, 1).y, 25);
    EXPECT_EQ(at(s, 1).size, 4);
    EXPECT_EQ(s.find("P")[0].size, 5.5);
    EXPECT_EQ(s.find(std::string(kFooterLine) + kMakerSite)[0].size, 3.5);
}

TEST(CaseInsert, ChosenItalicAndBoldReachEveryLineAndOnlyTheTitleIsUnderlined)
{
    RecordingSurface s;
    const PrintFont font{"DejaVu Serif", 10, true, true};
    DrawListing(s, listing(3), font, 3, 1);
    for (const auto& t : s.texts) {
        EXPECT_TRUE(t.italic) << t.text;
        EXPECT_TRUE(t.bold) << t.text;
        EXPECT_EQ(t.font, "DejaVu Serif");
        EXPECT_EQ(t.underline, t.text == "Rock anni 80") << t.text;
    }
    EXPECT_EQ(at(s, 0).size, 10);
}

TEST(CaseInsert, FewerThanTwoColumnsGiveOneColumnPerPanel)
{
    for (int columns : {1, 0, -3}) {
        RecordingSurface s;
        const int n = static_cast<int>(kFirstColumn + kBackColumn + 3);
        const InsertOutcome outcome = DrawListing(s, listing(n), kFont, columns, 1);
        EXPECT_EQ(at(s, 0).x, 21) << columns;
        EXPECT_EQ(at(s, static_cast<int>(kFirstColumn)).x, 27) << columns;
        EXPECT_EQ(at(s, static_cast<int>(kFirstColumn)).y, 142) << columns;
        EXPECT_EQ(outcome.leftOut, 3u) << columns;
    }
}

TEST(CaseInsert, LeftOutLineCountsTheEntriesInItalian)
{
    EXPECT_EQ(leftOutLine(0), "");
    EXPECT_EQ(leftOutLine(1), "1 voce del catalogo non entra nell'etichetta e non sarà stampata.");
    EXPECT_EQ(leftOutLine(12), "12 voci del catalogo non entrano nell'etichetta e non saranno stampate.");
}
