#include "printingfixture.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

// Whether anything is drawn in a rectangle of the page (millimetres).
bool inkIn(const FrmPreview* preview, QRectF mm)
{
    const QImage& image = Picture1(preview)->image;
    const double sx = image.width() / 210.0, sy = image.height() / 297.0;
    for (int y = int(mm.top() * sy); y <= int(mm.bottom() * sy); ++y)
        for (int x = int(mm.left() * sx); x <= int(mm.right() * sx); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

TEST(PreviewWindow, RedrawsAtOnceForTheColumnsChosenAndClosingTheCatalogueWindowTakesItsCatalogue)
{
    TestApp app;
    app.state.PrintFontName = "DejaVu Sans";
    frmMP3print* w = startWithCatalogue(app, "Rock", numberedEntries(120));
    ASSERT_NE(w, nullptr);
    FrmPreview* p = openPreview(app, w, "3");
    ASSERT_NE(p, nullptr);
    // Three columns start at 21, 61 and 101 mm, five at 21, 45, ...; the
    // front panel's entries below the title; past the end of "Rock", within
    // "Anonimo".
    const QRectF secondOfFive(45.2, 40, 1, 60), entries(22, 30, 110, 100), longerTitle(29.5, 21, 2.5, 3);
    EXPECT_TRUE(inkIn(p, QRectF(61.2, 40, 1, 60)));
    EXPECT_FALSE(inkIn(p, secondOfFive));
    EXPECT_FALSE(inkIn(p, longerTitle));
    QTest::mouseClick(Option1(p)[3], Qt::LeftButton);
    EXPECT_EQ(app.state.PrintColumns, 5);
    EXPECT_EQ(Text2(w)->text(), "5");
    EXPECT_TRUE(inkIn(p, secondOfFive));
    app.screenshot("anteprima");

    // The catalogue window's key shows the same preview; a count that
    // overflows is the runtime's error, and the count stays.
    EXPECT_EQ(openPreview(app, w, "99999"), p);
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 6);
    EXPECT_EQ(app.state.PrintColumns, 5);

    delete w->parentWidget();
    QTest::mouseClick(Option1(p)[2], Qt::LeftButton); // redrawn with four columns
    EXPECT_FALSE(inkIn(p, entries));
    EXPECT_TRUE(inkIn(p, longerTitle)); // the title of a new catalogue

    control<QAction>(app.ctx.frame, "menuCatalogo")->trigger();
    frmMP3print* again = findCatalogueWindow(app.ctx);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Text1(again)->text(), "Anonimo");
    EXPECT_EQ(Text2(again)->text(), "3");
    EXPECT_EQ(List1(again)->count(), 0);
    EXPECT_EQ(app.state.PrintColumns, 4); // the print settings live for the whole run
}
