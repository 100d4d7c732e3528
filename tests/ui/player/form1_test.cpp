#include <QDateTime>
#include <QHeaderView>
#include <QListWidget>
#include <QSignalSpy>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/catalogue/scanrules.h"
#include "platform/files.h"
#include "support/qt/testapp.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/drivelistbox.h"
#include "ui/player/form1.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"
#include "ui/shell/shortdate.h"

using namespace zondari;
using namespace zondari::test;

namespace {

void setModified(const std::string& path, std::int64_t seconds)
{
    std::filesystem::last_write_time(
        path, std::filesystem::file_time_type::clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(seconds))));
}

}  // namespace

TEST(TrackGrid, ListsTheFoldersMusicFilesNumberedWithSizeAndDate)
{
    TestApp app;
    TempDir music;
    setModified(music.write("b.mp3", std::string(1234, 'x')), 1700000000);
    music.write("a.WAV", "12");
    music.write("notes.txt", "no");
    music.write("c.m3u", "");
    music.mkdir("sub.mp3");
    Form1* f = app.startIn(music.path());
    TrackGrid* g = f->ExtGrid1;
    ASSERT_EQ(g->rows(), 4);  // header + 3
    EXPECT_EQ(g->textMatrix(0, 0), "N.");
    EXPECT_EQ(g->textMatrix(0, 1), "Titolo");
    EXPECT_EQ(g->textMatrix(0, 2), "Dimensione");
    EXPECT_EQ(g->textMatrix(0, 3), "Data");
    EXPECT_EQ(g->textMatrix(1, 1), " a.WAV");
    EXPECT_EQ(g->textMatrix(2, 0), "2");
    EXPECT_EQ(g->textMatrix(2, 1), " b.mp3");
    EXPECT_EQ(g->textMatrix(2, 2), "1234");
    EXPECT_EQ(g->textMatrix(2, 3), shortDate(QDateTime::fromSecsSinceEpoch(1700000000).date()));
    EXPECT_EQ(g->textMatrix(3, 1), " c.m3u");
    EXPECT_EQ(f->List2->count(), 3);
    EXPECT_EQ(f->List2->item(1)->text(), "b.mp3");
}

TEST(TrackGrid, FolderChangeRewritesTheSettingsAndTheNextStartReturnsFromAnyCurrentFolder)
{
    TempDir music, elsewhere;
    music.write("x.mp3", "x");
    {
        TestApp app;
        app.programFolder.write("zondari.ini", "Utente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n");
        app.start();
        ASSERT_TRUE(app.ctx.form1->Dir1->setPath(music.path()));
        EXPECT_EQ(files::currentFolder(), music.path());
        EXPECT_EQ(test::readFile(app.programFolder / "zondari.ini"),
                  "; File di inizializzazione per Zondari\r\n"
                  "; Non manomettere assolutamente queste righe!\r\n"
                  "Utente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=" + music.path() + "\r\n");
        EXPECT_FALSE(std::filesystem::exists(app.programFolder / "zondari.bak"));

        TestApp again;
        std::filesystem::copy_file(app.programFolder / "zondari.ini", again.programFolder / "zondari.ini");
        std::filesystem::current_path(elsewhere.path());
        again.start();
        EXPECT_EQ(again.state.Utente, "Anna");
        EXPECT_EQ(again.state.FilesMusicali, ".MP3");
        EXPECT_EQ(again.ctx.form1->Dir1->path(), music.path());
        EXPECT_EQ(files::currentFolder(), music.path());
        EXPECT_EQ(again.ctx.form1->ExtGrid1->rows(), 2);
    }
}

TEST(TrackGrid, SaveThatFailsReportsAndKeepsTheOldSettings)
{
    TestApp app;
    TempDir music;
    app.programFolder.write("zondari.ini", "Utente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n");
    app.start();
    const std::string old = test::readFile(app.programFolder / "zondari.ini");
    ReadOnly lock(app.programFolder.path());
    if (!lock.ok())
        GTEST_SKIP() << "no way to make a folder read-only here";
    ASSERT_TRUE(app.ctx.form1->Dir1->setPath(music.path()));
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 75);
    EXPECT_EQ(test::readFile(app.programFolder / "zondari.ini"), old);
    EXPECT_EQ(app.ctx.form1->Dir1->path(), music.path());  // the player moved all the same
}

TEST(TrackGrid, UnreadableDriveFallsBackToTheSavedDrive)
{
    TestApp app;
    app.drives.extra.push_back({"/nonexistent-cd-zondari", "CD", "/dev/sr9", "iso9660"});
    app.start();
    app.dialogs.messages.clear();  // the catalogue window's start-up hint
    Form1* f = app.ctx.form1;
    const std::string saved = f->savedDrive();
    const std::string folder = f->Dir1->path();
    f->Drive1->setDrive("/nonexistent-cd-zondari");
    EXPECT_EQ(f->Drive1->drive(), saved);
    EXPECT_EQ(f->Dir1->path(), folder);
    EXPECT_TRUE(app.dialogs.messages.empty());
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST(TrackGrid, LastFolderThatIsGoneLeavesTheListsWhereTheyWere)
{
    TestApp app;
    app.programFolder.write("zondari.ini", "UltimoPath=/nonexistent/zondari/musica\r\nFilesMusicali=.MP3\r\n");
    app.start();
    EXPECT_EQ(app.ctx.form1->Dir1->path(), app.programFolder.path());
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
    // Only the catalogue window's hint that no CD is catalogued yet.
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{catalogue::kNoCatalogueMessage});
}

TEST(TrackGrid, NamesOfEveryKindAreListedAsTheyAre)
{
    TestApp app;
    TempDir music;
    const std::vector<std::string> names = {"-inizio.mp3", "con spazi.mp3", "Città è.mp3", "\"virgolette\".mp3",
                                            "日本の歌.mp3", "l'apostrofo.mp3"};
    for (const auto& n : names)
        music.write(n, "x");
    TrackGrid* g = app.startIn(music.path())->ExtGrid1;
    QStringList listed;
    for (int r = 1; r < g->rows(); ++r)
        listed << g->textMatrix(r, 1).mid(1);
    EXPECT_EQ(listed.size(), static_cast<int>(names.size()));
    for (const auto& n : names)
        EXPECT_TRUE(listed.contains(QString::fromStdString(n))) << n;
}

TEST(TrackGrid, HeaderClickIsRowZero)
{
    TestApp app;
    TempDir music;
    music.write("a.mp3", "x");
    TrackGrid* g = app.startIn(music.path())->ExtGrid1;
    g->setRow(1);
    EXPECT_EQ(g->row(), 1);
    QSignalSpy clicks(g, &TrackGrid::Click);
    emit g->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(g->row(), 0);
}
