#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/printing/caseinsert.h"
#include "core/printing/insertfit.h"
#include "recordingsurface.h"

using namespace zondari::printing;
using zondari::test::RecordingSurface;

namespace {

// Bold lines a fifth taller than regular ones, as a font whose bold face
// has metrics of its own: the search must move down as the drawing does.
class TallBoldSurface : public RecordingSurface {
public:
    void setFontBold(bool on) override
    {
        bold_ = on;
        RecordingSurface::setFontBold(on);
    }
    double textHeight(std::string_view t) override { return RecordingSurface::textHeight(t) * (bold_ ? 1.2 : 1); }

private:
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
        TallBoldSurface s;
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

TEST(InsertFit, EmptyEntriesAtTheEndNeedNoRoom)
{
    // 115 lines fill both panels at 8 points in 2 columns (4 mm lines).
    RecordingSurface s;
    Listing l{"Raccolta", std::vector<std::string>(115, "/cd/b.mp3")};
    l.entries.insert(l.entries.end(), 50, std::string());
    EXPECT_EQ(fitInsert(s, l, PrintFont{"Tahoma", 8, false}, 1).columns, 2);
    l.entries.push_back("/cd/ultimo.mp3");
    EXPECT_EQ(fitInsert(s, l, PrintFont{"Tahoma", 8, false}, 1).columns, 3);
}
