#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <cstdio>

#include "printingfixture.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

std::vector<std::string> entries(int n)
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        char name[40];
        std::snprintf(name, sizeof name, "/media/cd/Rock/T%03d.mp3", i);
        out.push_back(name);
    }
    return out;
}

// Whether anything is drawn in the page rectangle (millimetres) of the
// preview.
bool inkIn(const FrmPreview* preview, QRectF mm)
{
    const QImage& image = preview->Picture1->image;
    const double sx = image.width() / 210.0;
    const double sy = image.height() / 297.0;
    const QRect px(QPoint(int(mm.left() * sx), int(mm.top() * sy)), QPoint(int(mm.right() * sx), int(mm.bottom() * sy)));
    for (int y = px.top(); y <= px.bottom(); ++y)
        for (int x = px.left(); x <= px.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

QMdiSubWindow* subWindowOf(QWidget* w)
{
    return qobject_cast<QMdiSubWindow*>(w->parentWidget());
}

// The program started with a catalogue of `entries` in its window.
struct PreviewWindow : ::testing::Test {
    TestApp app;
    frmMP3print* w = nullptr;

    void SetUp() override { app.state.PrintFontName = "DejaVu Sans"; }

    FrmPreview* open(int entryCount, const QString& columns)
    {
        w = startWithCatalogue(app, "Rock", entries(entryCount));
        return w ? openPreview(app, w, columns) : nullptr;
    }
};

}  // namespace

TEST_F(PreviewWindow, OpensFromTheCatalogueKeyWithTheTypedColumnsAndAnA4Page)
{
    FrmPreview* p = open(5, "4");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->windowTitle(), "Zondari 2000 - Anteprima");
    EXPECT_EQ(p->Frame1->title(), "Colonne");
    EXPECT_EQ(p->Frame1->toolTip(), "N. di colonne in stampa");
    QStringList captions;
    for (QRadioButton* o : p->Option1)
        captions << o->text();
    EXPECT_EQ(captions, (QStringList{"&2", "&3", "&4", "&5", "&6", "&7"}));
    EXPECT_TRUE(p->Option1[2]->isChecked());
    EXPECT_EQ(app.state.PrintColumns, 4);
    EXPECT_EQ(app.state.PrintFontSize, 8);
    EXPECT_EQ(p->Command4->toolTip(), "Tipo di Font");
    EXPECT_EQ(p->Command3->toolTip(), "Stampa");
    EXPECT_EQ(p->Command1->toolTip(), "OK, fatto");
    EXPECT_EQ(p->Label2->text(), "&Font");
    EXPECT_EQ(p->Label7->text(), "&Stampa");
    EXPECT_EQ(p->Label1->text(), "&OK");
    EXPECT_TRUE(p->LeftOut->isHidden());

    ASSERT_FALSE(p->Picture1->image.isNull());
    EXPECT_NEAR(double(p->Picture1->width()) / p->Picture1->height(), 210.0 / 297, 0.01);
    // The title and the front panel's outline are on the picture.
    EXPECT_TRUE(inkIn(p, QRectF(21, 21, 5, 3)));
    EXPECT_TRUE(inkIn(p, QRectF(19.5, 60, 1, 1)));
    EXPECT_FALSE(inkIn(p, QRectF(150, 30, 40, 80)));
}

TEST_F(PreviewWindow, ACountTypedOutsideTheChoicesIsUsedAsItStands)
{
    w = startWithCatalogue(app, "Rock", entries(5));
    ASSERT_NE(w, nullptr);
    const std::size_t messages = app.dialogs.messages.size();
    FrmPreview* p = openPreview(app, w, "9");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(app.state.PrintColumns, 9);
    EXPECT_EQ(w->Text2->text(), "9");
    EXPECT_EQ(app.dialogs.messages.size(), messages);
    for (QRadioButton* o : p->Option1)
        EXPECT_FALSE(o->isChecked()) << o->text().toStdString();
}

TEST_F(PreviewWindow, ACountNoColumnCountCanHoldIsTheOverflowError)
{
    EXPECT_EQ(open(5, "99999"), nullptr);
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 6);
}

TEST_F(PreviewWindow, ChoosingColumnsRedrawsAtOnceAndUpdatesTheCatalogueBox)
{
    FrmPreview* p = open(120, "3");
    ASSERT_NE(p, nullptr);
    // Three columns start at 21, 61 and 101 mm: nothing begins at 45.
    const QRectF fiveColumnsSecond(45.2, 40, 1, 60);
    EXPECT_TRUE(inkIn(p, QRectF(61.2, 40, 1, 60)));
    EXPECT_FALSE(inkIn(p, fiveColumnsSecond));

    QTest::mouseClick(p->Option1[3], Qt::LeftButton);
    EXPECT_EQ(app.state.PrintColumns, 5);
    EXPECT_EQ(w->Text2->text(), "5");
    EXPECT_TRUE(p->Option1[3]->isChecked());
    EXPECT_TRUE(inkIn(p, fiveColumnsSecond));
}

TEST_F(PreviewWindow, ThePageKeepsItsProportionsWhateverTheWindowSize)
{
    FrmPreview* p = open(5, "3");
    ASSERT_NE(p, nullptr);
    for (const QSize size : {QSize(900, 420), QSize(300, 800)}) {
        subWindowOf(p)->resize(size);
        QApplication::processEvents();
        const QRect picture = p->Picture1->geometry();
        EXPECT_NEAR(double(picture.width()) / picture.height(), 210.0 / 297, 0.02) << size.width();
        EXPECT_LE(picture.right(), p->width()) << size.width();
        EXPECT_LE(p->Picture1->mapTo(p, QPoint(0, picture.height())).y(), p->height()) << size.width();
        EXPECT_EQ(p->Picture1->image.size(), picture.size());
    }
}

TEST_F(PreviewWindow, ThePageFollowsTheCatalogueWhenThePreviewIsActivatedAgain)
{
    FrmPreview* p = open(1, "3");
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(inkIn(p, QRectF(61.2, 40, 1, 60)));
    QMdiArea* area = app.ctx.frame->mdiArea();
    area->setActiveSubWindow(subWindowOf(w));
    for (const std::string& e : entries(120))
        w->List1->addItem(QString::fromStdString(e));
    area->setActiveSubWindow(subWindowOf(p));
    EXPECT_TRUE(inkIn(p, QRectF(61.2, 40, 1, 60)));
}

TEST_F(PreviewWindow, TheFontButtonOpensTheChooserAndThePreviewShowsTheNewFontAtOnce)
{
    FrmPreview* p = open(30, "3");
    ASSERT_NE(p, nullptr);
    const QImage before = p->Picture1->image;
    bool shown = false;
    whenFontChooserShown(app.ctx, [&shown](fONTEN& chooser) {
        shown = true;
        const auto mono = chooser.LstFonts->findItems("DejaVu Sans Mono", Qt::MatchExactly);
        ASSERT_EQ(mono.size(), 1);
        chooser.LstFonts->setCurrentItem(mono[0]);
        chooser.cmdOK->click();
    });
    QTest::mouseClick(p->Label2, Qt::LeftButton);
    EXPECT_TRUE(shown);
    EXPECT_EQ(app.state.PrintFontName, "DejaVu Sans Mono");
    EXPECT_NE(p->Picture1->image, before);
}

TEST_F(PreviewWindow, OkAndItsCaptionCloseTheWindow)
{
    for (int round = 0; round < 2; ++round) {
        FrmPreview* p = round == 0 ? open(1, "3") : openPreview(app, w, "3");
        ASSERT_NE(p, nullptr);
        if (round == 0)
            p->Command1->click();
        else
            QTest::mouseClick(p->Label1, Qt::LeftButton);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(findPreview(app.ctx), nullptr) << round;
    }
}
