// The track details window: opened from the player's toolbar and filled by
// the rows clicked, with the header, the play time, the ID3v1 tag and the
// ID3v2 block of each track. (A track it cannot read, after one it could:
// faults/failing_reads_windows_qt_test.)

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/mp3fixtures.h"
#include "support/peertags.h"
#include "support/qt/controls.h"
#include "support/qt/testapp.h"
#include "ui/analysis/frmdatimp3.h"
#include "ui/player/form1.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
namespace peer = zondari::test::peertags;

namespace {

struct DetailsTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(haveMp3Tools());
        app.startIn(music.path());
    }

    frmDATIMP3* open()
    {
        app.ctx.openers.showTrackDetails();
        return app.frame->findChild<frmDATIMP3*>("frmDATIMP3");
    }
    QString field(frmDATIMP3* w, const QString& name) const { return control<QLineEdit>(w, name)->text(); }
    QString field(frmDATIMP3* w, int i) const { return field(w, QString("Text1_%1").arg(i)); }
    QMdiSubWindow* sub(QWidget* w) const { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }

    TestApp app;
    TempDir music;
};

} // namespace

TEST_F(DetailsTest, ThePlayersGridAndToolbarFillItWithTheClickedTracksHeaderPlayTimeAndTag)
{
    makeMp3(music.path(), "a.mp3", {5.5, 44100, 2, "-V 2 -m s --id3v1-only --tt Titolo --ta Autore --tg 17"});
    makeMp3(music.path(), "b.mp3", {.seconds = 3, .lameOptions = "-b 192"});
    Form1* f = app.player();
    f->RiempiTabella();
    // The toolbar opens the window on the current track...
    ExtGrid1(f)->setRow(1);
    f->ExtGrid1_Click();
    f->button("dettagli")->trigger();
    frmDATIMP3* w = app.frame->findChild<frmDATIMP3*>("frmDATIMP3");
    ASSERT_NE(w, nullptr);
    for (const auto& [i, shown] : std::initializer_list<std::pair<int, const char*>>{{1, "44100"}, {2, "0:05"},
             {3, "1"}, {4, "3"}, {8, "stereo"}, {12, "Autore"}, {13, "Titolo"}, {17, "Rock"}, {18, "Vero"}})
        EXPECT_EQ(field(w, i), shown) << i;
    EXPECT_EQ(Label20(w)->text(), "VBR Vero");
    // The analysis leaves the player's folder current.
    EXPECT_EQ(files::currentFolder(), music.path());
    // ...and a click on another row refills it.
    ExtGrid1(f)->setRow(2);
    f->ExtGrid1_Click();
    for (const auto& [i, shown] :
        std::initializer_list<std::pair<int, const char*>>{{0, "192"}, {2, "0:03"}, {18, "Falso"}})
        EXPECT_EQ(field(w, i), shown) << i;
    EXPECT_EQ(Label20(w)->text(), "VBR Falso");
}

TEST_F(DetailsTest, ShowsTheId3v2BlockBelowTheId3v1FieldsOrSaysItIsMissingAndGrowsToShowIt)
{
    ASSERT_TRUE(peer::have("mid3v2")) << "scripts/setup installs python3-mutagen";
    const std::string tagged = makeMp3(music.path(), "tagged.mp3", {2.0});
    ASSERT_TRUE(peer::tagWithMid3v2(
        tagged, {"Песня о встрече, очень длинное название", "Ärtist Σ", "Альбом", "2004", "Commento é", "3/12", "17"}));
    makeMp3(music.path(), "plain.mp3", {2.0, 44100, 2, "-b 128 --id3v1-only --tt Solo"});
    // A player shorter than the window's rows.
    sub(app.player())->resize(sub(app.player())->width(), 200);
    frmDATIMP3* w = open();
    app.ctx.openers.riempimp3("tagged.mp3");
    EXPECT_EQ(id3v2Caption(w)->text(), "ID3v2.4");
    const char* expected[]
        = {"Песня о встрече, очень длинное название", "Ärtist Σ", "Альбом", "2004", "Commento é", "3/12", "Rock"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(field(w, QString("Id3v2Text_%1").arg(i)), QString::fromUtf8(expected[i])) << i;
    // The window's own fields stay the ID3v1 tag's: there is none.
    EXPECT_EQ(field(w, 13), "");
    EXPECT_EQ(field(w, 18), "Falso");
    EXPECT_GE(sub(w)->height(), sub(w)->sizeHint().height());
    app.screenshot("id3v2");

    app.ctx.openers.riempimp3("plain.mp3");
    EXPECT_EQ(id3v2Caption(w)->text(), "ID3v2: assente");
    EXPECT_EQ(field(w, "Id3v2Text_0"), ""); // nothing of the last file kept
    EXPECT_EQ(field(w, 13), "Solo");
}
