// The ID3 tag editor, opened from the player's toolbar: a tag loaded,
// changed and saved, the genre list, files without a tag or with an ID3v2
// tag to copy from, and the saves it refuses.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/mp3file.h"
#include "support/mp3fixtures.h"
#include "support/peertags.h"
#include "support/qt/testapp.h"
#include "support/qt/widgets.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"
#include "ui/tags/frmmain.h"

using namespace zondari;
using namespace zondari::test;
namespace peer = zondari::test::peertags;

namespace {

struct EditorTest : ::testing::Test {
    void SetUp() override { app.startIn(music.path()); }

    // The editor as the player's ID3 button opens it on `track`.
    frmMain* open(const std::string& track)
    {
        app.state.BranoCorrente = track;
        app.player()->button("ID3")->trigger();
        return app.frame->findChild<frmMain*>("frmMain");
    }

    // The tag the file holds now.
    static TagRecord tagOf(const std::string& path)
    {
        const auto read = ReadTag(path);
        EXPECT_TRUE(read && read->tag) << path;
        return read && read->tag ? *read->tag : TagRecord{};
    }
    QLineEdit* edit(frmMain* w, const char* name) { return control<QLineEdit>(w, name); }
    QComboBox* genre(frmMain* w) { return control<QComboBox>(w, "comboGenere"); }
    QPushButton* button(frmMain* w, const char* name) { return control<QPushButton>(w, name); }
    void click(frmMain* w, const char* name) { button(w, name)->click(); }

    // A file whose last 128 bytes are a tag with `title`, `track` and `genre`.
    std::string tagged(const std::string& name, const std::string& title, std::uint8_t track, std::uint8_t genreByte)
    {
        TagRecord t;
        t.Title = title;
        t.Artist = "Autore";
        t.TrackByte = track;
        t.GenreByte = genreByte;
        return music.write(name, frames(10) + id3v1::encode(t));
    }

    TestApp app;
    TempDir music;
};

} // namespace

TEST_F(EditorTest, LoadsChangesSavesAndReloadsThenAnUntaggedFileClearsTheFields)
{
    ASSERT_TRUE(haveMp3Tools());
    const std::string path = makeMp3(
        music.path(), "brano.mp3", {2.5, 44100, 2, "-b 128 --id3v1-only --tt Titolo --ta Autore --tn 5 --tg 125"});
    frmMain* w = open(" brano.mp3");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(edit(w, "txtNomefile")->text().toStdString(), music.path() + "/brano.mp3");
    EXPECT_EQ(edit(w, "txtTitolo")->text(), "Titolo");
    EXPECT_EQ(edit(w, "txtAutore")->text(), "Autore");
    EXPECT_EQ(genre(w)->currentText(), "Dance Hall");
    EXPECT_TRUE(app.dialogs.messages.empty());

    edit(w, "txtTitolo")->setText("Un titolo di trentacinque caratteri");
    edit(w, "txtAlbum")->setText("Album");
    edit(w, "txtAnno")->setText("1999");
    genre(w)->setCurrentIndex(85);
    click(w, "Command3");
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_EQ(tagOf(path).TrackByte, 5); // the file's own, which the window does not show

    edit(w, "txtTitolo")->clear();
    click(w, "Command2");
    EXPECT_EQ(edit(w, "txtTitolo")->text(), "Un titolo di trentacinque cara");
    EXPECT_EQ(edit(w, "txtAlbum")->text(), "Album");
    EXPECT_EQ(edit(w, "txtAnno")->text(), "1999");
    EXPECT_EQ(genre(w)->currentText(), "Bebob");

    // An untagged file loaded next clears what this one showed, and is
    // saved with no genre. (A genre without a name, shown as none and saved
    // as it was: EditorSave.KeepsTheFilesTrackAndUnnamedGenre.)
    const std::string second = music.write("secondo.mp3", frames(8));
    edit(w, "txtNomefile")->setText(QString::fromStdString(second));
    click(w, "Command2");
    ASSERT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_EQ(app.dialogs.messages[0].text,
        "Il file indicato non contiene alcun tag ID3\nIl campo Titolo verrà riempito col nome del file");
    EXPECT_EQ(app.dialogs.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(edit(w, "txtTitolo")->text(), "secondo.mp3");
    EXPECT_EQ(edit(w, "txtAutore")->text(), "");
    EXPECT_EQ(genre(w)->currentIndex(), -1);

    click(w, "Command3");
    const TagRecord saved = tagOf(second);
    EXPECT_EQ(id3v1::fieldText(saved.Title), "secondo.mp3");
    EXPECT_EQ(id3v1::fieldText(saved.Artist), "");
    EXPECT_EQ(saved.TrackByte, 0);
    EXPECT_EQ(saved.GenreByte, 255);
}

TEST_F(EditorTest, SaveRefusesAFileAnotherProgramChangedSinceItWasLoaded)
{
    namespace fs = std::filesystem;
    const std::string changed
        = "Il file è stato modificato da un altro programma dopo il caricamento: il tag ID3 non è stato salvato. "
          "Premere \"Carica ID3\" e riprovare.";
    // Cut short after loading, as a download started again does: a save
    // must not append its tag in the middle of someone else's file.
    const std::string cut = music.write("tagliato.mp3", frames(12));
    frmMain* w = open("tagliato.mp3");
    app.dialogs.messages.clear();
    fs::resize_file(cut, 3000);
    const std::string left = readFile(cut);
    edit(w, "txtTitolo")->setText("Nuovo");
    click(w, "Command3");
    ASSERT_EQ(app.dialogs.texts(), std::vector<std::string>{changed});
    EXPECT_EQ(app.dialogs.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(readFile(cut), left);

    // Loaded again, it is saved; and saved again after its own save.
    click(w, "Command2");
    app.dialogs.messages.clear();
    edit(w, "txtTitolo")->setText("Primo");
    click(w, "Command3");
    edit(w, "txtTitolo")->setText("Secondo");
    click(w, "Command3");
    EXPECT_TRUE(app.dialogs.messages.empty());
    const TagRecord saved = tagOf(cut);
    EXPECT_EQ(id3v1::fieldText(saved.Title), "Secondo");
    EXPECT_EQ(fs::file_size(cut), 3128u);

    // Replaced by another file of the same length under the same name.
    const std::string swapped = tagged("sostituito.mp3", "Vecchio", 0, 1);
    w = open("sostituito.mp3");
    const std::string other = std::string(4000, 'b') + readFile(swapped).substr(4000);
    fs::rename(music.write("altro.tmp", other), swapped);
    app.dialogs.messages.clear();
    edit(w, "txtTitolo")->setText("Nuovo");
    click(w, "Command3");
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{changed});
    EXPECT_EQ(readFile(swapped), other);
}

TEST_F(EditorTest, CopyFillsTheFieldsAsId3v1HoldsThemAndASaveWritesThemForPeers)
{
    ASSERT_TRUE(peer::have("mid3v2") && peer::have("eyeD3")) << "scripts/setup installs python3-mutagen and eyed3";
    const std::string path = makeMp3(music.path(), "brano.mp3", {2.0});
    ASSERT_TRUE(peer::tagWithMid3v2(
        path, {"Песня ñ", "Autore con un nome più lungo di trenta", "Città", "2004-05-01", "Nota", "3/12", "(7)"}));
    const std::string before = readFile(path);

    frmMain* w = open("brano.mp3");
    ASSERT_NE(w, nullptr);
    app.dialogs.messages.clear(); // "no ID3v1 tag": the title is the file's name
    EXPECT_EQ(edit(w, "txtTitolo")->text(), "brano.mp3");
    button(w, "copyFromId3v2")->click();
    EXPECT_EQ(edit(w, "txtAnno")->text(), "2004");
    EXPECT_EQ(edit(w, "txtCommento")->text(), "Nota");
    EXPECT_EQ(readFile(path), before); // nothing written before a save

    click(w, "Command3");
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

    // A genre the list lacks leaves none selected, not the one shown before.
    const std::string goa = makeMp3(music.path(), "goa.mp3", {2.0});
    ASSERT_TRUE(peer::tagWithMid3v2(goa, {"T", "A", "B", "2004", "C", "1", "Goa"}));
    edit(w, "txtNomefile")->setText(QString::fromStdString(goa));
    click(w, "Command2");
    genre(w)->setCurrentIndex(3);
    button(w, "copyFromId3v2")->click();
    EXPECT_EQ(edit(w, "txtTitolo")->text(), "T");
    EXPECT_EQ(genre(w)->currentIndex(), -1);
}
