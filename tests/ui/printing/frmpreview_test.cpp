#include <QMdiArea>
#include <QMdiSubWindow>

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

struct PreviewWindow : ::testing::Test {
    TestApp app;
    frmMP3print* w = nullptr;

    void SetUp() override
    {
        app.state.PrintFontName = "DejaVu Sans";
        w = startWithCatalogue(app, "Rock", numberedEntries(120));
    }
    QMdiSubWindow* sub(QWidget* window) { return qobject_cast<QMdiSubWindow*>(window->parentWidget()); }
};

} // namespace

TEST_F(PreviewWindow, DrawsTheA4PageAndRedrawsItAtOnceForTheColumnsChosenInEitherWindow)
{
    ASSERT_NE(w, nullptr);
    FrmPreview* p = openPreview(app, w, "3");
    ASSERT_NE(p, nullptr);
    // Three columns start at 21, 61 and 101 mm, five at 21, 45, ...
    const QRectF secondOfFive(45.2, 40, 1, 60);
    EXPECT_TRUE(inkIn(p, QRectF(61.2, 40, 1, 60)));
    EXPECT_FALSE(inkIn(p, secondOfFive));
    QTest::mouseClick(Option1(p)[3], Qt::LeftButton);
    EXPECT_EQ(app.state.PrintColumns, 5);
    EXPECT_EQ(Text2(w)->text(), "5");
    EXPECT_TRUE(inkIn(p, secondOfFive));
    app.screenshot("anteprima");

    // The catalogue window's key shows the same preview with the count
    // typed there; one that overflows is the runtime's error, and the count
    // stays.
    EXPECT_EQ(openPreview(app, w, "4"), p);
    EXPECT_TRUE(Option1(p)[2]->isChecked());
    EXPECT_EQ(openPreview(app, w, "99999"), p);
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 6);
    EXPECT_EQ(app.state.PrintColumns, 4);
    // Back to the catalogue, which changes, and to the preview again.
    QMdiArea* area = app.ctx.frame->mdiArea();
    area->setActiveSubWindow(sub(w));
    app.ctx.setCatalogueEntries({});
    area->setActiveSubWindow(sub(p));
    EXPECT_FALSE(inkIn(p, QRectF(22, 30, 110, 100)));
}

TEST_F(PreviewWindow, ClosingTheCatalogueWindowTakesItsCatalogueAndANewOneStartsAfresh)
{
    ASSERT_NE(w, nullptr);
    FrmPreview* p = openPreview(app, w, "3");
    ASSERT_NE(p, nullptr);
    // The front panel below the title, inside its outline.
    const QRectF entries(22, 30, 110, 100);
    // Past the end of "Rock", within "Anonimo".
    const QRectF longerTitle(29.5, 21, 2.5, 3);
    EXPECT_TRUE(inkIn(p, entries));
    EXPECT_FALSE(inkIn(p, longerTitle));

    delete w->parentWidget();
    QTest::mouseClick(Option1(p)[3], Qt::LeftButton); // redrawn with five columns
    EXPECT_FALSE(inkIn(p, entries));
    EXPECT_TRUE(inkIn(p, longerTitle)); // the title of a new catalogue

    control<QAction>(app.ctx.frame, "menuCatalogo")->trigger();
    frmMP3print* again = findCatalogueWindow(app.ctx);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Text1(again)->text(), "Anonimo");
    EXPECT_EQ(Text2(again)->text(), "3");
    EXPECT_EQ(List1(again)->count(), 0);
    EXPECT_EQ(app.state.PrintColumns, 5); // the print settings live for the whole run
}

TEST_F(PreviewWindow, AdattaFitsTheWholeCatalogueAndUntickingGivesTheOwnChoiceBack)
{
    ASSERT_NE(w, nullptr);
    app.ctx.setCatalogueEntries(numberedEntries(600));
    FrmPreview* p = openPreview(app, w, "3");
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(LeftOut(p)->isHidden()); // 600 do not fit at 8 points in 3 columns

    QTest::mouseClick(Fit(p), Qt::LeftButton);
    EXPECT_TRUE(app.state.PrintFit);
    EXPECT_TRUE(LeftOut(p)->isHidden());
    EXPECT_NE(FontSize(p)->text(), "Altezza font: 8");
    EXPECT_GE(shownColumns(p), 2);
    // The user's own choice stays theirs, in the catalogue window too.
    EXPECT_EQ(app.state.PrintColumns, 3);
    EXPECT_EQ(app.state.PrintFontSize, 8);
    EXPECT_EQ(Text2(w)->text(), "3");
    app.screenshot("anteprima-adatta");

    QTest::mouseClick(Fit(p), Qt::LeftButton);
    EXPECT_FALSE(app.state.PrintFit);
    EXPECT_EQ(FontSize(p)->text(), "Altezza font: 8");
    EXPECT_EQ(shownColumns(p), 3);
}
