#include <QFontDatabase>
#include <QLabel>
#include <set>

#include "printingfixture.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr const char* kUnavailable = "Font scelto non disponibile, verrà scelto l'Arial a video ed in stampa.";

// Opens the chooser from the catalogue window's key, runs `act` on it and
// returns when it is hidden again.
void chooseFont(TestApp& app, std::function<void(fONTEN&)> act)
{
    frmMP3print* w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    bool ran = false;
    whenFontChooserShown(app.ctx, [&ran, act](fONTEN& chooser) {
        ran = true;
        act(chooser);
    });
    w->toolbarButton("font")->trigger();
    ASSERT_TRUE(ran);
    ASSERT_NE(findFontChooser(app.ctx), nullptr);
    EXPECT_TRUE(findFontChooser(app.ctx)->isHidden());
}

QStringList listed(const fONTEN& chooser)
{
    QStringList out;
    for (int i = 0; i < chooser.LstFonts->count(); ++i)
        out << chooser.LstFonts->item(i)->text();
    return out;
}

QString selected(const fONTEN& chooser)
{
    const auto items = chooser.LstFonts->selectedItems();
    return items.size() == 1 ? items[0]->text() : QString();
}

}  // namespace

TEST(FontChooser, ListsEveryInstalledFamilyOnceAndCountsThemTruly)
{
    TestApp app;
    startWithCatalogue(app, "Rock", {});
    chooseFont(app, [](fONTEN& chooser) {
        EXPECT_EQ(chooser.windowTitle(), "Scelta carattere");
        const QStringList names = listed(chooser);
        ASSERT_FALSE(names.isEmpty());
        std::set<QString> folded;
        for (const QString& n : names)
            EXPECT_TRUE(folded.insert(n.toCaseFolded()).second) << n.toStdString() << " listed twice";
        EXPECT_EQ(chooser.Label1->text(), QString("N. %1 Fonts installati").arg(names.size()));
        // Each family the system reports is there, by its name without the
        // foundry that some carry.
        for (const QString& f : QFontDatabase::families()) {
            const QString plain = f.endsWith(']') ? f.left(f.lastIndexOf(" [")) : f;
            EXPECT_TRUE(names.contains(plain)) << f.toStdString();
        }
        chooser.cmdCancel->click();
    });
}

TEST(FontChooser, OpeningSelectsTheCurrentFontAndShowsItsSampleAtTwentyPoints)
{
    TestApp app;
    app.state.PrintFontName = "DejaVu Serif";
    startWithCatalogue(app, "Rock", {});
    chooseFont(app, [](fONTEN& chooser) {
        EXPECT_EQ(selected(chooser), "DejaVu Serif");
        EXPECT_EQ(chooser.TxtFontPreview->text(), "DejaVu Serif - aAbB 123 zZ");
        EXPECT_EQ(chooser.TxtFontPreview->font().family(), "DejaVu Serif");
        EXPECT_EQ(chooser.TxtFontPreview->font().pointSize(), 20);
        chooser.Check3d1->click();
        EXPECT_TRUE(chooser.TxtFontPreview->font().italic());
        chooser.Check3d2->click();
        EXPECT_TRUE(chooser.TxtFontPreview->font().bold());
        chooser.cmdCancel->click();
    });
}

TEST(FontChooser, AFontThatIsNotInstalledIsNotSelectedAndOkFallsBackToArialOrItsClosest)
{
    TestApp app;
    app.state.PrintFontName = "Carattere Che Non Esiste";
    startWithCatalogue(app, "Rock", {});
    const std::size_t messages = app.dialogs.messages.size();
    QStringList names;
    chooseFont(app, [&names](fONTEN& chooser) {
        EXPECT_TRUE(chooser.LstFonts->selectedItems().isEmpty());
        names = listed(chooser);
        chooser.cmdOK->click();
    });
    ASSERT_EQ(app.dialogs.messages.size(), messages + 1);
    EXPECT_EQ(app.dialogs.messages.back().text, kUnavailable);
    const QString chosen = QString::fromStdString(app.state.PrintFontName);
    EXPECT_TRUE(names.contains(chosen)) << app.state.PrintFontName;
    if (names.contains("Arial")) {
        EXPECT_EQ(chosen, "Arial");
    }
    EXPECT_EQ(findCatalogueWindow(app.ctx)->font().family(), chosen);
}

TEST(FontChooser, SizeAboveTwentyFiveIsCappedAndBelowTwoIsStoredAsTwo)
{
    TestApp app;
    app.state.PrintFontName = "DejaVu Sans";
    startWithCatalogue(app, "Rock", {});
    fONTEN* first = nullptr;
    const std::pair<QString, float> cases[] = {{"30", 25}, {"1", 2}, {"", 2}, {"12", 12}};
    for (const auto& [typed, stored] : cases) {
        chooseFont(app, [&first, typed](fONTEN& chooser) {
            if (!first)
                first = &chooser;
            EXPECT_EQ(&chooser, first);  // the same window each time
            chooser.Text1->setText(typed);
            chooser.cmdOK->click();
        });
        EXPECT_EQ(app.state.PrintFontSize, stored) << typed.toStdString();
        EXPECT_EQ(first->Text1->text(), typed == "30" ? QString("25") : typed);
    }
}

TEST(FontChooser, CancelKeepsEverything)
{
    TestApp app;
    app.state.PrintFontName = "DejaVu Sans";
    app.state.PrintFontSize = 9;
    startWithCatalogue(app, "Rock", {});
    const QFont catalogueFont = findCatalogueWindow(app.ctx)->font();
    chooseFont(app, [](fONTEN& chooser) {
        EXPECT_EQ(chooser.Text1->text(), "9");
        chooser.LstFonts->setCurrentItem(chooser.LstFonts->findItems("DejaVu Serif", Qt::MatchExactly).value(0));
        chooser.Check3d1->setChecked(true);
        chooser.Check3d2->setChecked(true);
        chooser.Text1->setText("20");
        QTest::mouseClick(chooser.Label4, Qt::LeftButton);  // "Annulla" beside its button
    });
    EXPECT_EQ(app.state.PrintFontName, "DejaVu Sans");
    EXPECT_EQ(app.state.PrintFontSize, 9);
    EXPECT_FALSE(app.state.PrintFontBold);
    EXPECT_FALSE(app.state.PrintFontItalic);
    EXPECT_EQ(findCatalogueWindow(app.ctx)->font(), catalogueFont);
    chooseFont(app, [](fONTEN& chooser) {
        EXPECT_EQ(selected(chooser), "DejaVu Sans");
        EXPECT_FALSE(chooser.Check3d1->isChecked());
        EXPECT_FALSE(chooser.Check3d2->isChecked());
        EXPECT_EQ(chooser.Text1->text(), "9");
        chooser.close();  // the window's close button
    });
    EXPECT_EQ(app.state.PrintFontName, "DejaVu Sans");
}

TEST(FontChooser, OkStoresTheFontAndGivesItToTheCatalogueWindow)
{
    TestApp app;
    app.state.PrintFontName = "DejaVu Sans";
    startWithCatalogue(app, "Rock", {"/media/cd/a.mp3"});
    chooseFont(app, [](fONTEN& chooser) {
        chooser.LstFonts->setCurrentItem(chooser.LstFonts->findItems("DejaVu Serif", Qt::MatchExactly).value(0));
        chooser.Check3d1->setChecked(true);
        chooser.Text1->setText("10.5");
        QTest::mouseClick(chooser.Label3, Qt::LeftButton);  // "OK" beside its button
    });
    EXPECT_EQ(app.state.PrintFontName, "DejaVu Serif");
    EXPECT_TRUE(app.state.PrintFontItalic);
    EXPECT_FALSE(app.state.PrintFontBold);
    EXPECT_EQ(app.state.PrintFontSize, 10.5f);
    const frmMP3print* w = findCatalogueWindow(app.ctx);
    EXPECT_EQ(w->font().family(), "DejaVu Serif");
    EXPECT_TRUE(w->List1->font().italic());
    EXPECT_FALSE(w->List1->font().bold());
    // Kept between showings.
    chooseFont(app, [](fONTEN& chooser) {
        EXPECT_EQ(selected(chooser), "DejaVu Serif");
        EXPECT_TRUE(chooser.Check3d1->isChecked());
        EXPECT_EQ(chooser.Text1->text(), "10.5");
        chooser.cmdCancel->click();
    });
}
