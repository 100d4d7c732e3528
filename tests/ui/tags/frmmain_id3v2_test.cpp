#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/mp3file.h"
#include "support/mp3fixtures.h"
#include "support/peertags.h"
#include "support/qt/testapp.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"
#include "ui/tags/frmmain.h"

using namespace zondari;
using namespace zondari::test;
namespace peer = zondari::test::peertags;

namespace {

struct EditorId3v2Test : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(haveMp3Tools());
        ASSERT_TRUE(peer::have("mid3v2") && peer::have("eyeD3")) << "scripts/setup installs python3-mutagen and eyed3";
        app.startIn(music.path());
    }

    frmMain* open(const std::string& track)
    {
        app.state.BranoCorrente = track;
        app.player()->button("ID3")->trigger();
        return app.frame->findChild<frmMain*>("frmMain");
    }

    QString edit(frmMain* w, const char* name) { return w->findChild<QLineEdit*>(name)->text(); }
    QPushButton* copyButton(frmMain* w) { return w->findChild<QPushButton*>("copyFromId3v2"); }

    TestApp app;
    TempDir music;
};

} // namespace

TEST_F(EditorId3v2Test, CopyFillsTheFieldsAsId3v1HoldsThemAndASaveWritesThemForPeers)
{
    const std::string path = makeMp3(music.path(), "brano.mp3", {2.0});
    ASSERT_TRUE(peer::tagWithMid3v2(
        path, {"Песня ñ", "Autore con un nome più lungo di trenta", "Città", "2004-05-01", "Nota", "3/12", "(7)"}));
    const std::string before = readFile(path);

    frmMain* w = open("brano.mp3");
    ASSERT_NE(w, nullptr);
    app.dialogs.messages.clear(); // "no ID3v1 tag": the title is the file's name
    EXPECT_EQ(edit(w, "txtTitolo"), "brano.mp3");
    ASSERT_TRUE(copyButton(w)->isEnabled());
    EXPECT_EQ(copyButton(w)->text(), "Copia da ID3v2");
    copyButton(w)->click();
    EXPECT_EQ(edit(w, "txtTitolo"), "????? ñ");
    EXPECT_EQ(edit(w, "txtAutore"), "Autore con un nome più lungo d");
    EXPECT_EQ(edit(w, "txtAlbum"), "Città");
    EXPECT_EQ(edit(w, "txtAnno"), "2004");
    EXPECT_EQ(edit(w, "txtCommento"), "Nota");
    EXPECT_EQ(w->findChild<QComboBox*>("comboGenere")->currentText(), "Hip-Hop");
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(readFile(path), before); // nothing written before a save
    app.screenshot("copied");

    w->findChild<QPushButton*>("Command3")->click();
    EXPECT_TRUE(app.dialogs.messages.empty());
    const auto saved = ReadTag(path);
    ASSERT_TRUE(saved && saved->tag);
    EXPECT_EQ(saved->tag->GenreByte, 7);
    const std::string v1 = output("eyeD3 --no-color --v1 " + shellQuoted(path) + " 2>/dev/null");
    EXPECT_NE(v1.find("title: ????? ñ\n"), std::string::npos) << v1;
    EXPECT_NE(v1.find("artist: Autore con un nome più lungo d\n"), std::string::npos) << v1;
    EXPECT_NE(v1.find("album: Città\n"), std::string::npos) << v1;
    EXPECT_NE(v1.find("genre: Hip-Hop (id 7)"), std::string::npos) << v1;
    // The ID3v2 tag is still what mid3v2 wrote.
    EXPECT_EQ(readFile(path).substr(0, before.size()), before);
}

TEST_F(EditorId3v2Test, TheButtonIsForFilesWithAnId3v2TagAndAGenreTheListLacksIsLeftUnselected)
{
    const std::string goa = makeMp3(music.path(), "goa.mp3", {2.0});
    ASSERT_TRUE(peer::tagWithMid3v2(goa, {"T", "A", "B", "2004", "C", "1", "Goa"}));
    makeMp3(music.path(), "senza.mp3", {2.0, 44100, 2, "-b 128 --id3v1-only --tt Senza"});
    frmMain* w = open("senza.mp3");
    EXPECT_FALSE(copyButton(w)->isEnabled());
    // Another file chosen and loaded: enabled; back to the first: disabled.
    const auto load = [w](const std::string& file) {
        w->findChild<QLineEdit*>("txtNomefile")->setText(QString::fromStdString(file));
        w->findChild<QPushButton*>("Command2")->click();
    };
    load(goa);
    ASSERT_TRUE(copyButton(w)->isEnabled());
    auto* combo = w->findChild<QComboBox*>("comboGenere");
    combo->setCurrentIndex(3);
    copyButton(w)->click();
    EXPECT_EQ(edit(w, "txtTitolo"), "T");
    EXPECT_EQ(combo->currentIndex(), -1);
    load(music / "senza.mp3");
    EXPECT_FALSE(copyButton(w)->isEnabled());
    EXPECT_EQ(edit(w, "txtTitolo"), "Senza");
}
