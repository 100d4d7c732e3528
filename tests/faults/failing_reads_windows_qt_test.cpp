// The windows on a disk whose reads fail (EIO) under one path: the details
// window shows nothing of the track it could not read, the tag editor
// refuses to save into it, and the catalogue window's scan ends with its
// message and keeps the older catalogue. Each test runs itself again in a
// child process that has the failing reads; the parent checks the files.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "core/catalogue/scanrules.h"
#include "core/tags/id3v1.h"
#include "support/child.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/testapp.h"
#include "ui/analysis/frmdatimp3.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/shell/mdiform1.h"
#include "ui/tags/frmmain.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

QString field(frmDATIMP3* w, int i)
{
    return w->findChild<QLineEdit*>(QString("Text1_%1").arg(i))->text();
}

} // namespace

TEST(FailingReadsInWindows, DetailsShowNothingOfTheTrackAndTheEditorWillNotSaveIntoIt)
{
    if (!testChildData()) {
        ASSERT_TRUE(haveMp3Tools());
        TempDir music;
        makeMp3(music.path(), "buono.mp3", {2.5, 44100, 2, "-b 128"});
        const std::string bad
            = makeMp3(music.path(), "graffiato.mp3", {2.5, 44100, 2, "-b 192 --id3v1-only --tt Graffiato --tg 17"});
        const std::string before = readFile(bad);
        runTestInChild(music.path(), failingReadsOf(bad));
        EXPECT_TRUE(readFile(bad) == before) << "the track was changed";
        return;
    }
    const std::string music = testChildData();
    TestApp app;
    app.startIn(music);
    app.ctx.openers.showTrackDetails();
    frmDATIMP3* details = app.frame->findChild<frmDATIMP3*>("frmDATIMP3");
    ASSERT_NE(details, nullptr);
    app.ctx.openers.riempimp3("buono.mp3");
    ASSERT_EQ(field(details, 0), "128");
    app.ctx.openers.riempimp3("graffiato.mp3");
    EXPECT_EQ(field(details, 0), "0");
    EXPECT_EQ(field(details, 1), "0");
    EXPECT_EQ(field(details, 2), "0:00");
    EXPECT_EQ(field(details, 13), ""); // the title in its tag
    EXPECT_EQ(field(details, 18), "Falso");

    frmMain editor(app.ctx);
    editor.txtNomefile->setText(QString::fromStdString(music + "/graffiato.mp3"));
    app.dialogs.messages.clear();
    editor.Caricafile();
    editor.txtTitolo->setText("Nuovo");
    editor.Command3->click();
    ASSERT_EQ(app.dialogs.messages.size(), 2u);
    EXPECT_EQ(app.dialogs.messages[0].text, tageditor::kNoTagText);
    EXPECT_EQ(app.dialogs.messages[1].text,
        "Si è verificato un errore nella scrittura del tag ID3\n57: Errore di I/O della periferica");
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST(FailingReadsInWindows, ScanEndsWithItsMessageAndKeepsTheOlderCatalogue)
{
    if (!testChildData()) {
        TempDir music;
        music.write("Rock/uno.mp3", "x");
        // Not there at first: the child catalogues the folder, then makes
        // it, and its reads fail from then on.
        runTestInChild(music.path(), failingReadsOf(music / "Jazz"));
        return;
    }
    const std::string music = testChildData();
    TestApp app;
    app.start();
    frmMP3print* w = findCatalogueWindow(app.ctx);
    ASSERT_NE(w, nullptr);
    Text1(w)->setText("Primo");
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music));
    ASSERT_TRUE(app.dialogs.runtimeErrors.empty());
    std::string catalogue;
    for (const auto& e : fs::directory_iterator(app.programFolder.path()))
        catalogue = e.path().string();
    const std::string before = readFile(catalogue);
    ASSERT_NE(before.find("/Rock/uno.mp3"), std::string::npos);

    fs::create_directories(music + "/Jazz");
    std::ofstream(music + "/Jazz/due.mp3") << "x";
    app.dialogs.messages.clear();
    Text1(w)->setText("Secondo");
    ASSERT_TRUE(scanInWindow(w, app.dialogs, music));
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{catalogue::kUnreadableMessage});
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
    EXPECT_EQ(readFile(catalogue), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(app.programFolder.path()), fs::directory_iterator()), 1);
}
