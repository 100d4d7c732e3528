#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include "support/mp3fixtures.h"
#include "support/peertags.h"
#include "support/qt/testapp.h"
#include "ui/analysis/frmdatimp3.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;
namespace peer = zondari::test::peertags;

namespace {

struct DetailsId3v2Test : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(haveMp3Tools());
        ASSERT_TRUE(peer::have("mid3v2")) << "scripts/setup installs python3-mutagen";
        app.startIn(music.path());
    }

    frmDATIMP3* open()
    {
        app.ctx.openers.showTrackDetails();
        return app.frame->findChild<frmDATIMP3*>("frmDATIMP3");
    }

    QString text(frmDATIMP3* w, const QString& name) { return w->findChild<QLineEdit*>(name)->text(); }

    // Every shown label and field lies inside the window, at least as tall as
    // it needs: nothing is cut off.
    void expectNothingClipped(frmDATIMP3* w)
    {
        QApplication::processEvents();
        auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        ASSERT_NE(sub, nullptr);
        for (QWidget* child : w->findChildren<QWidget*>()) {
            if (!child->isVisible() || !(qobject_cast<QLineEdit*>(child) || qobject_cast<QLabel*>(child)))
                continue;
            if (child->objectName().startsWith("Picture"))
                continue; // the pictures scale into what is left
            const QRect inWindow(child->mapTo(w, QPoint(0, 0)), child->size());
            EXPECT_TRUE(w->rect().contains(inWindow)) << child->objectName().toStdString();
            EXPECT_GE(child->height(), child->minimumSizeHint().height()) << child->objectName().toStdString();
        }
    }

    TestApp app;
    TempDir music;
};

} // namespace

TEST_F(DetailsId3v2Test, ShowsTheId3v2BlockBelowTheId3v1FieldsOrSaysItIsMissing)
{
    const std::string tagged = makeMp3(music.path(), "tagged.mp3", {2.0});
    ASSERT_TRUE(peer::tagWithMid3v2(
        tagged, {"Песня о встрече, очень длинное название", "Ärtist Σ", "Альбом", "2004", "Commento é", "3/12", "17"}));
    makeMp3(music.path(), "plain.mp3", {2.0, 44100, 2, "-b 128 --id3v1-only --tt Solo"});

    frmDATIMP3* w = open();
    app.ctx.openers.riempimp3("tagged.mp3");
    EXPECT_EQ(w->findChild<QLabel*>("Id3v2Caption")->text(), "ID3v2.4");
    const char* expected[]
        = {"Песня о встрече, очень длинное название", "Ärtist Σ", "Альбом", "2004", "Commento é", "3/12", "Rock"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(text(w, QString("Id3v2Text_%1").arg(i)), QString::fromUtf8(expected[i])) << i;
        EXPECT_TRUE(w->findChild<QLineEdit*>(QString("Id3v2Text_%1").arg(i))->isVisible());
    }
    EXPECT_EQ(w->findChild<QLabel*>("Id3v2Label_0")->text(), "Titolo");
    EXPECT_EQ(w->findChild<QLabel*>("Id3v2Label_5")->text(), "Traccia");
    // The window's own fields stay the ID3v1 tag's: there is none.
    EXPECT_EQ(text(w, "Text1_13"), "");
    EXPECT_EQ(text(w, "Text1_18"), "Falso");
    expectNothingClipped(w);
    app.screenshot("id3v2");

    app.ctx.openers.riempimp3("plain.mp3");
    EXPECT_EQ(w->findChild<QLabel*>("Id3v2Caption")->text(), "ID3v2: assente");
    EXPECT_FALSE(w->findChild<QLineEdit*>("Id3v2Text_0")->isVisible());
    EXPECT_EQ(text(w, "Id3v2Text_0"), ""); // nothing of the last file kept
    EXPECT_EQ(text(w, "Text1_13"), "Solo");
    expectNothingClipped(w);
    app.screenshot("assente");
}

TEST_F(DetailsId3v2Test, GrowsWhenThePlayerIsShorterThanItsRows)
{
    const std::string tagged = makeMp3(music.path(), "tagged.mp3", {2.0});
    ASSERT_TRUE(peer::tagWithMid3v2(tagged, {"T", "A", "B", "2004", "C", "1", "Rock"}));
    auto* player = qobject_cast<QMdiSubWindow*>(app.player()->parentWidget());
    player->resize(player->width(), 200);
    frmDATIMP3* w = open();
    app.ctx.openers.riempimp3("tagged.mp3");
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    EXPECT_GE(sub->height(), sub->sizeHint().height());
    EXPECT_GT(sub->height(), 200);
    expectNothingClipped(w);
}
