// The file types window, opened from the catalogue window's Files button:
// the types it lists for the scan, those that stay grey, OK and Annulla.

#include <QCheckBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/form2.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

// Opens the window from the catalogue window's Files button and runs
// `inside` while it is up (it is modal); it is gone afterwards.
void withForm2(TestApp& app, const std::function<void(Form2&)>& inside)
{
    {
        ModalSteps<Form2> person({inside});
        Command1(findCatalogueWindow(app.ctx))->click();
    }
    EXPECT_EQ(app.frame->findChild<Form2*>("Form2"), nullptr);
}

} // namespace

TEST(FileTypesWindow, AnnullaKeepsTheListAndOkStoresItInBoxOrderWithTheFixedTypesGrey)
{
    TestApp app;
    app.start();
    withForm2(app, [](Form2& form) {
        form.Check1[3]->click(); // MID
        EXPECT_EQ(form.value(3), 1);
        form.Command3d2->click();
    });
    EXPECT_EQ(app.state.FilesMusicali, ".WAV.MP3.M3U.WMA");
    EXPECT_FALSE(std::filesystem::exists(app.programFolder / "zondari.ini"));

    withForm2(app, [](Form2& form) {
        EXPECT_EQ(form.windowTitle(), "Tipo di files musicali");
        // MP3, WMA and M3U fixed (grey), WAV ticked, the rest not.
        for (std::size_t i = 0; i < kFileTypeBoxes; ++i)
            EXPECT_EQ(form.value(i),
                i == 0 || i == 1 || i == 21 ? 2
                    : i == 2                ? 1
                                            : 0)
                << form.Check1[i]->text().toStdString();
        // A click on a fixed type leaves it grey.
        form.Check1[0]->click();
        form.Check1[0]->click();
        EXPECT_EQ(form.value(0), 2);
        form.Command3d1->click();
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(app.state.FilesMusicali, ".MP3.WMA.WAV.M3U");
    EXPECT_NE(
        readFile(app.programFolder / "zondari.ini").find("\r\nFilesMusicali=.MP3.WMA.WAV.M3U\r\n"), std::string::npos);
}

TEST(FileTypesWindow, AFixedTypeMissingFromTheListOpensOffAndComesBackGreyOnAClick)
{
    TestApp app;
    app.programFolder.write("zondari.ini", "; c\r\nUtente=DEFAULT\r\nFilesMusicali=.WAV.it \r\nUltimoPath=/\r\n");
    app.start();
    withForm2(app, [](Form2& form) {
        EXPECT_EQ(form.value(0), 0);
        EXPECT_EQ(form.Check1[9]->text(), "IT ");
        EXPECT_EQ(form.value(9), 1); // read in capitals
        form.Check1[2]->click(); // WAV off
        form.Check1[0]->click(); // MP3 back, grey
        EXPECT_EQ(form.value(0), 2);
        form.Command3d1->click();
    });
    EXPECT_EQ(app.state.FilesMusicali, ".MP3.IT ");
}
