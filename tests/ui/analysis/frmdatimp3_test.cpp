// The track details window: opened from the player's toolbar and filled by
// the rows clicked, with the header, the play time, the ID3v1 tag and the
// ID3v2 block of each track. (A track it cannot read, after one it could:
// faults/failing_reads_windows_qt_test.)

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/testapp.h"
#include "ui/analysis/frmdatimp3.h"
#include "ui/player/form1.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

QString field(frmDATIMP3* w, const QString& name)
{
    return control<QLineEdit>(w, name)->text();
}
QString field(frmDATIMP3* w, int i)
{
    return field(w, QString("Text1_%1").arg(i));
}

} // namespace

TEST(DetailsWindow, ThePlayersGridAndToolbarFillItWithTheClickedTracksHeaderPlayTimeAndTags)
{
    ASSERT_TRUE(haveMp3Tools());
    TestApp app;
    TempDir music;
    makeMp3(music.path(), "a.mp3", {5.5, 44100, 2, "-V 2 -m s --add-id3v2 --tt Titolo --ta Autore --tg 17"});
    makeMp3(music.path(), "b.mp3", {.seconds = 3, .lameOptions = "-b 192"});
    Form1* f = app.startIn(music.path());
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
    EXPECT_EQ(id3v2Caption(w)->text(), "ID3v2.3");
    EXPECT_EQ(field(w, "Id3v2Text_0"), "Titolo");
    // The analysis leaves the player's folder current.
    EXPECT_EQ(files::currentFolder(), music.path());
    // ...and a click on another row refills it.
    ExtGrid1(f)->setRow(2);
    f->ExtGrid1_Click();
    for (const auto& [i, shown] :
        std::initializer_list<std::pair<int, const char*>>{{0, "192"}, {2, "0:03"}, {18, "Falso"}})
        EXPECT_EQ(field(w, i), shown) << i;
    EXPECT_EQ(Label20(w)->text(), "VBR Falso");
    // Nothing of the last track's ID3v2 tag is kept.
    EXPECT_EQ(id3v2Caption(w)->text(), "ID3v2: assente");
    EXPECT_EQ(field(w, "Id3v2Text_0"), "");
}
