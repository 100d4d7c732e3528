#include "printingfixture.h"

using namespace zondari;
using namespace zondari::test;

namespace {

struct FontChooser : ::testing::Test {
    TestApp app;
    frmMP3print* w = nullptr;

    void SetUp() override
    {
        app.state.PrintFontName = "DejaVu Sans";
        app.state.PrintFontSize = 9;
        w = startWithCatalogue(app, "Rock", {"/media/cd/a.mp3"});
    }

    // Opens the chooser from the catalogue window's key and runs `act` on
    // it; returns when it is hidden again.
    void choose(const ModalSteps<fONTEN>::Step& act)
    {
        {
            ModalSteps<fONTEN> person({act});
            Toolbar1Key(w, "font")->trigger();
        }
        EXPECT_TRUE(findFontChooser(app.ctx)->isHidden());
    }
};

QString selected(const fONTEN& chooser)
{
    const auto items = LstFonts(&chooser)->selectedItems();
    return items.size() == 1 ? items[0]->text() : QString();
}

} // namespace

TEST_F(FontChooser, ShowsTheCurrentFamilyAndOkGivesTheChoiceToTheCatalogueWindowForGood)
{
    ASSERT_NE(w, nullptr);
    choose([](fONTEN& chooser) {
        EXPECT_EQ(selected(chooser), "DejaVu Sans");
        EXPECT_EQ(TxtFontPreview(&chooser)->font().family(), "DejaVu Sans");
        EXPECT_EQ(Text1(&chooser)->text(), "9");
        LstFonts(&chooser)->setCurrentItem(LstFonts(&chooser)->findItems("DejaVu Serif", Qt::MatchExactly).value(0));
        Check3d1(&chooser)->click();
        EXPECT_TRUE(TxtFontPreview(&chooser)->font().italic());
        Text1(&chooser)->setText("10.5");
        QTest::mouseClick(Label3(&chooser), Qt::LeftButton); // "OK" beside its button
    });
    EXPECT_EQ(app.state.PrintFontName, "DejaVu Serif");
    EXPECT_TRUE(app.state.PrintFontItalic);
    EXPECT_FALSE(app.state.PrintFontBold);
    EXPECT_EQ(app.state.PrintFontSize, 10.5f);
    EXPECT_EQ(w->font().family(), "DejaVu Serif");
    EXPECT_TRUE(List1(w)->font().italic());
    choose([](fONTEN& chooser) {
        EXPECT_EQ(selected(chooser), "DejaVu Serif");
        EXPECT_TRUE(Check3d1(&chooser)->isChecked());
        chooser.close();
    });
}

TEST_F(FontChooser, OkFallsBackFromAMissingFontAndCapsTheSize)
{
    ASSERT_NE(w, nullptr);
    // A print font that is not installed: nothing selected at the first
    // showing; OK says so and takes another.
    app.state.PrintFontName = "Carattere Che Non Esiste";
    const std::size_t messages = app.dialogs.messages.size();
    choose([](fONTEN& chooser) {
        // Once the list has taken the focus, no family looks current.
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), LstFonts(&chooser));
        EXPECT_EQ(LstFonts(&chooser)->currentItem(), nullptr);
        EXPECT_TRUE(LstFonts(&chooser)->selectedItems().isEmpty());
        EXPECT_EQ(TxtFontPreview(&chooser)->text().toStdString(), "");
        Text1(&chooser)->setText("30");
        Check3d2(&chooser)->setChecked(true);
        cmdOK(&chooser)->click();
        EXPECT_EQ(Text1(&chooser)->text(), "25");
    });
    ASSERT_EQ(app.dialogs.messages.size(), messages + 1);
    EXPECT_EQ(
        app.dialogs.messages.back().text, "Font scelto non disponibile, verrà scelto l'Arial a video ed in stampa.");
    // Which family stands in: FontChoice.FamiliesSizesAndColumnsAsTyped.
    const std::string chosen = app.state.PrintFontName;
    EXPECT_NE(chosen, "Carattere Che Non Esiste");
    EXPECT_EQ(app.state.PrintFontSize, 25);
    EXPECT_TRUE(app.state.PrintFontBold);
    EXPECT_EQ(w->font().family().toStdString(), chosen);
    EXPECT_TRUE(w->font().bold());
}
