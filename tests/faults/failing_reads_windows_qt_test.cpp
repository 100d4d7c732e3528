// The windows on a disk whose reads fail (EIO) under one path: the details
// window shows nothing of the track it could not read, and the tag editor
// refuses to save into it (the catalogue window's scan: scan_left_out_qt_test).
// The test runs itself again in a child process that has the failing reads;
// the parent checks the file.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/tags/id3v1.h"
#include "support/child.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/testapp.h"
#include "ui/analysis/frmdatimp3.h"
#include "ui/shell/mdiform1.h"
#include "ui/tags/frmmain.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

QString field(frmDATIMP3* w, int i)
{
    return control<QLineEdit>(w, QString("Text1_%1").arg(i))->text();
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
    txtNomefile(&editor)->setText(QString::fromStdString(music + "/graffiato.mp3"));
    app.dialogs.messages.clear();
    editor.Caricafile();
    txtTitolo(&editor)->setText("Nuovo");
    Command3(&editor)->click();
    ASSERT_EQ(app.dialogs.messages.size(), 2u);
    EXPECT_EQ(app.dialogs.messages[0].text, tageditor::kNoTagText);
    EXPECT_EQ(app.dialogs.messages[1].text,
        "Si è verificato un errore nella scrittura del tag ID3\n57: Errore di I/O della periferica");
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}
