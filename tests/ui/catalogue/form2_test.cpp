#include <QCheckBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/form2.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// Opens the file types window from the catalogue window's Files button and
// runs `inside` while it is up (it is modal); it is gone afterwards.
void withForm2(TestApp& app, const std::function<void(Form2&)>& inside)
{
    {
        ModalSteps<Form2> person({inside});
        Command1(findCatalogueWindow(app.ctx))->click();
    }
    EXPECT_EQ(app.frame->findChild<Form2*>("Form2"), nullptr);
}

std::vector<int> values(const Form2& form)
{
    std::vector<int> v;
    for (std::size_t i = 0; i < kFileTypeBoxes; ++i)
        v.push_back(form.value(i));
    return v;
}

} // namespace

TEST(FileTypesWindow, DefaultListShowsGreyFixedTypesAndOkStoresThemInBoxOrder)
{
    TestApp app;
    app.start();
    withForm2(app, [](Form2& form) {
        EXPECT_EQ(form.windowTitle(), "Tipo di files musicali");
        QStringList captions;
        for (QCheckBox* box : form.Check1)
            captions << box->text();
        EXPECT_EQ(captions,
            (QStringList{"MP3", "WMA", "WAV", "MID", "MP2", "MP1", "VOC", "PLS", "CDA", "IT ", "XM ", "S3M", "STM",
                "MOD", "DSM", "FAR", "ULT", "MTM", "669", "AS ", "MJF", "M3U"}));
        std::vector<int> expected(kFileTypeBoxes, 0);
        expected[0] = expected[1] = expected[21] = 2;
        expected[2] = 1;
        EXPECT_EQ(values(form), expected);
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

TEST(FileTypesWindow, AnnullaKeepsTheListAndTheSettingsFile)
{
    TestApp app;
    app.start();
    withForm2(app, [](Form2& form) {
        form.Check1[3]->click(); // MID
        EXPECT_EQ(form.value(3), 1);
        form.Command3d2->click();
    });
    EXPECT_EQ(app.state.FilesMusicali, ".WAV.MP3.M3U.WMA");
    EXPECT_FALSE(fs::exists(app.programFolder / "zondari.ini"));
}

TEST(FileTypesWindow, FixedTypeMissingFromTheListOpensOffAndComesBackGreyOnAClick)
{
    TestApp app;
    app.programFolder.write("zondari.ini", "; c\r\nUtente=DEFAULT\r\nFilesMusicali=.WAV.it \r\nUltimoPath=/\r\n");
    app.start();
    withForm2(app, [](Form2& form) {
        EXPECT_EQ(form.value(0), 0);
        EXPECT_EQ(form.value(9), 1); // "IT ", read in capitals
        form.Check1[2]->click(); // WAV off
        form.Check1[0]->click(); // MP3 back, grey
        EXPECT_EQ(form.value(0), 2);
        form.Command3d1->click();
    });
    EXPECT_EQ(app.state.FilesMusicali, ".MP3.IT ");
}
