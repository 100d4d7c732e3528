#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/printing/caseinsert.h"
#include "core/printing/fontchoice.h"
#include "core/printing/insertfit.h"

using namespace zondari::printing;

namespace {

// Metrics simple enough to work positions out by hand: a line is
// `heightPerPoint` mm per point (bold lines a fifth taller when `tallBold`,
// as a font whose bold face has metrics of its own), a character 0.25 mm
// per point. Keeps each text's line and size.
class MetricSurface : public Surface {
public:
    struct Text {
        std::string text;
        double y, size;
    };
    double heightPerPoint = 0.5;
    bool tallBold = false;
    bool widthFollowsSize = true; // false: a face of one size, as a bitmap font
    std::vector<Text> texts;

    void setFontName(const std::string&) override { }
    void setFontSize(double points) override { size_ = points; }
    double fontSize() const override { return size_; }
    void setFontBold(bool on) override { bold_ = on; }
    void setFontItalic(bool) override { }
    void setFontUnderline(bool) override { }
    double textHeight(std::string_view) override { return size_ * heightPerPoint * (tallBold && bold_ ? 1.2 : 1); }
    double textWidth(std::string_view t) override
    {
        return static_cast<double>(t.size()) * (widthFollowsSize ? size_ : 8) * 0.25;
    }
    double width() const override { return 210; }
    void line(double, double, double, double) override { }
    void box(double, double, double, double) override { }
    void filledBox(double, double, double, double, Colour) override { }

protected:
    void drawText(double, double y, std::string_view text) override { texts.push_back({std::string(text), y, size_}); }

private:
    double size_ = 0;
    bool bold_ = false;
};

// `files` entries with a folder heading before every tenth and an empty
// entry after every seventh.
Listing listing(int files)
{
    Listing l{"Raccolta", {}};
    for (int i = 0; i < files; ++i) {
        if (i % 10 == 0)
            l.entries.push_back("(/cd/Cartella " + std::to_string(i / 10) + ")");
        l.entries.push_back("/cd/brano" + std::to_string(i) + ".mp3");
        if (i % 7 == 6)
            l.entries.emplace_back();
    }
    return l;
}

std::size_t leftOutWhenDrawn(Surface& s, const Listing& l, double size, int columns, double scale = 1)
{
    return DrawListing(s, l, PrintFont{"Tahoma", size, false}, columns, scale).leftOut;
}

} // namespace

TEST(InsertFit, SizesGoDownInHalfPointsFromTheChosenOneToSix)
{
    EXPECT_EQ(fitSizes(8), (std::vector<double>{8, 7.5, 7, 6.5, 6}));
    EXPECT_EQ(fitSizes(6.8), (std::vector<double>{6.8, 6.5, 6}));
    EXPECT_EQ(fitSizes(6), (std::vector<double>{6}));
    EXPECT_EQ(fitSizes(4), (std::vector<double>{4})); // never larger than chosen
    // Never above the largest size the chooser takes, but for the chosen.
    EXPECT_EQ(fitSizes(40).size(), 1u + 39u);
    EXPECT_EQ(fitSizes(40)[1], 25);
}

TEST(InsertFit, FitsExactlyWhenTheDrawingLeavesNothingOutWhateverTheListAndScale)
{
    // Every count from none to past the capacity at 6 points, on a surface
    // whose bold lines are taller, at print and at a preview's scale: the
    // search's answer is what the drawing does, in the fewest columns that
    // fit at its size.
    for (double scale : {1.0, 0.37}) {
        MetricSurface s;
        s.tallBold = true;
        for (int files = 0; files <= 3000; files += files < 300 ? 7 : 97) {
            const Listing l = listing(files);
            const FitChoice fit = fitInsert(s, l, PrintFont{"Tahoma", 8, false}, scale);
            SCOPED_TRACE(std::to_string(files) + " files at scale " + std::to_string(scale));
            EXPECT_EQ(leftOutWhenDrawn(s, l, fit.size, fit.columns, scale), fit.leftOut);
            if (fit.leftOut > 0) {
                EXPECT_EQ(fit.size, 6);
                EXPECT_EQ(fit.columns, 7);
                continue;
            }
            if (fit.columns > 2) {
                EXPECT_GT(leftOutWhenDrawn(s, l, fit.size, fit.columns - 1, scale), 0u);
            }
        }
    }
}

TEST(InsertFit, ASmallerSizeWinsOnlyWhenItShowsMoreOfTheNames)
{
    // Names too long for a column at any size: where a smaller size shows
    // more of them it is taken, down to six points; where the face's widths
    // do not follow the size, every size shows as much and the chosen stays.
    const Listing l{"Raccolta", std::vector<std::string>(20, "/cd/" + std::string(200, 'a') + ".mp3")};
    for (const auto& [follows, size] : {std::pair{true, 6.0}, std::pair{false, 8.0}}) {
        MetricSurface s;
        s.widthFollowsSize = follows;
        EXPECT_EQ(fitInsert(s, l, PrintFont{"Tahoma", 8, false}, 1).size, size) << follows;
    }
}

TEST(InsertFit, EmptyEntriesAtTheEndNeedNoRoom)
{
    // 115 lines fill both panels at 8 points in 2 columns (4 mm lines).
    MetricSurface s;
    Listing l{"Raccolta", std::vector<std::string>(115, "/cd/b.mp3")};
    l.entries.insert(l.entries.end(), 50, std::string());
    EXPECT_EQ(fitInsert(s, l, PrintFont{"Tahoma", 8, false}, 1).columns, 2);
    l.entries.push_back("/cd/ultimo.mp3");
    EXPECT_EQ(fitInsert(s, l, PrintFont{"Tahoma", 8, false}, 1).columns, 3);
}

TEST(InsertFit, FewerThanTwoColumnsGiveOneAPanelAndATitleTooLongShrinksToOnePointWithinTheSpine)
{
    // 28 lines on the front, 29 on the back at 8 points (4 mm a line).
    MetricSurface s;
    const Listing l{"T", std::vector<std::string>(28 + 29 + 3, "/b.mp3")};
    for (int columns : {1, 0, -3})
        EXPECT_EQ(leftOutWhenDrawn(s, l, 8, columns), 3u) << columns;
    EXPECT_EQ(leftOutLine(1), "1 voce del catalogo non entra nell'etichetta e non sarà stampata.");
    // 400 characters do not fit even at 1 point (0.5 mm a line): the 236
    // that do are written down each spine, between 141 and 259 mm.
    DrawListing(s, Listing{std::string(400, 'x'), {}}, PrintFont{"Tahoma", 8, false}, 3, 1);
    EXPECT_EQ(std::count_if(s.texts.begin(), s.texts.end(),
                  [](const auto& t) { return t.text == "x" && t.size == 1 && t.y >= 141 && t.y + 0.5 <= 259 + 1e-9; }),
        2 * 236);
}

TEST(FontChoice, FamiliesSizesAndColumnsAsTyped)
{
    EXPECT_EQ(listedFamilies({"DejaVu Sans", "Nimbus Sans [UKWN]", "Nimbus Sans [URW]", "dejavu sans", ""}),
        (std::vector<std::string>{"DejaVu Sans", "Nimbus Sans"}));
    EXPECT_EQ(fallbackFamily({"Arial", "DejaVu Sans"}, "DejaVu Sans"), "Arial");
    EXPECT_EQ(fallbackFamily({"DejaVu Sans", "Liberation Sans"}, "Helvetica"), "DejaVu Sans");
    const struct {
        const char* typed;
        float size;
        bool capped;
    } sizes[] = {{"30", 25, true}, {"12.5pt", 12.5f, false}, {"1", 2, false}, {"", 2, false}};
    for (const auto& c : sizes) {
        EXPECT_EQ(chooseFontSize(c.typed).size, c.size) << c.typed;
        EXPECT_EQ(chooseFontSize(c.typed).capped, c.capped) << c.typed;
    }
    for (const auto& [typed, columns] : {std::pair{"9", 9}, {"2.5", 2}, {"-1", -1}})
        EXPECT_EQ(*columnsAsTyped(typed), columns) << typed;
    EXPECT_FALSE(columnsAsTyped("32767.5"));
    EXPECT_EQ(columnsAsTyped("1e300").error().number, 6);
}
