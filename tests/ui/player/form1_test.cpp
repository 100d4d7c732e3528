#include <QDateTime>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/catalogue/scanrules.h"
#include "platform/files.h"
#include "support/qt/controls.h"
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

// The titles of the grid, top to bottom.
QStringList listed(const TrackGrid* g)
{
    QStringList names;
    for (int r = 1; r < g->rows(); ++r)
        names << g->textMatrix(r, 1);
    return names;
}

} // namespace

TEST(TrackGrid, ListsTheFoldersMusicFilesNumberedWithSizeAndDateAndNamesOfEveryKindAsTheyAre)
{
    TestApp app;
    TempDir music;
    std::filesystem::last_write_time(music.write("b.mp3", std::string(1234, 'x')),
        std::filesystem::file_time_type::clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1700000000))));
    music.write("a.WAV", "12");
    music.write("notes.txt", "no");
    music.write("c.m3u", "");
    music.mkdir("sub.mp3");
    Form1* f = app.startIn(music.path());
    TrackGrid* g = ExtGrid1(f);
    EXPECT_EQ(listed(g), (QStringList{" a.WAV", " b.mp3", " c.m3u"}));
    EXPECT_EQ(g->textMatrix(2, 0), "2");
    EXPECT_EQ(g->textMatrix(2, 2), "1234");
    EXPECT_EQ(g->textMatrix(2, 3), shortDate(QDateTime::fromSecsSinceEpoch(1700000000).date()));

    TempDir other;
    const std::vector<std::string> names
        = {"-inizio.mp3", "con spazi.mp3", "Città è.mp3", "\"virgolette\".mp3", "日本の歌.mp3", "l'apostrofo.mp3"};
    for (const auto& n : names)
        other.write(n, "x");
    ASSERT_TRUE(Dir1(f)->setPath(other.path()));
    EXPECT_EQ(g->rows(), static_cast<int>(names.size()) + 1);
    for (const auto& n : names)
        EXPECT_TRUE(listed(g).contains(QString::fromStdString(" " + n))) << n;
}

TEST(TrackGrid, TheNextStartReturnsToTheLastFolderFromAnyCurrentFolder)
{
    TempDir music, elsewhere;
    music.write("x.mp3", "x");
    {
        TestApp app;
        app.programFolder.write("zondari.ini", "Utente=Anna\r\nFilesMusicali=.MP3\r\nUltimoPath=/\r\n");
        app.start();
        ASSERT_TRUE(Dir1(app.player())->setPath(music.path()));
        EXPECT_EQ(files::currentFolder(), music.path());

        TestApp again;
        std::filesystem::copy_file(app.programFolder / "zondari.ini", again.programFolder / "zondari.ini");
        std::filesystem::current_path(elsewhere.path());
        again.start();
        EXPECT_EQ(again.state.Utente, "Anna");
        EXPECT_EQ(again.state.FilesMusicali, ".MP3");
        EXPECT_EQ(Dir1(again.player())->path(), music.path());
        EXPECT_EQ(files::currentFolder(), music.path());
        EXPECT_EQ(ExtGrid1(again.player())->rows(), 2);
    }
}

TEST(TrackGrid, AGoneLastFolderOrAnUnreadableDriveLeavesTheListsWhereTheyWere)
{
    TestApp app;
    app.programFolder.write("zondari.ini", "UltimoPath=/nonexistent/zondari/musica\r\nFilesMusicali=.MP3\r\n");
    app.drives.extra.push_back({"/nonexistent-cd-zondari", "CD", "/dev/sr9", "iso9660"});
    app.start();
    Form1* f = app.player();
    EXPECT_EQ(Dir1(f)->path(), app.programFolder.path());
    // Only the catalogue window's hint that no CD is catalogued yet.
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{catalogue::kNoCatalogueMessage});
    const std::string saved = f->savedDrive();
    Drive1(f)->setDrive("/nonexistent-cd-zondari");
    EXPECT_EQ(Drive1(f)->drive(), saved);
    EXPECT_EQ(Dir1(f)->path(), app.programFolder.path());
    EXPECT_EQ(app.dialogs.messages.size(), 1u);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}

TEST(FolderFollowing, FilesAddedRemovedRenamedOrWrittenShowWithinASecondAndTheSelectedRowKeepsItsTrack)
{
    TestApp app;
    TempDir music;
    for (const char* n : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        music.write(n, "x");
    Form1* f = app.startIn(music.path());
    TrackGrid* g = ExtGrid1(f);
    g->setRow(3);
    const auto shows
        = [&](const QStringList& names) { return QTest::qWaitFor([&] { return listed(g) == names; }, 1000); };
    music.write("e.mp3", "x");
    EXPECT_TRUE(shows({" a.mp3", " b.mp3", " c.mp3", " d.mp3", " e.mp3"}));
    std::filesystem::remove(music / "a.mp3");
    EXPECT_TRUE(shows({" b.mp3", " c.mp3", " d.mp3", " e.mp3"}));
    EXPECT_EQ(g->textMatrix(g->row(), 1), " c.mp3");
    std::filesystem::rename(music / "d.mp3", music / "zz.mp3");
    EXPECT_TRUE(shows({" b.mp3", " c.mp3", " e.mp3", " zz.mp3"}));
    EXPECT_EQ(g->textMatrix(g->row(), 1), " c.mp3");
    // The selected track gone: the row before it, so that the advance goes
    // on with the one after.
    std::filesystem::remove(music / "c.mp3");
    EXPECT_TRUE(shows({" b.mp3", " e.mp3", " zz.mp3"}));
    EXPECT_EQ(g->row(), 1);
    // A file written anew shows its size.
    music.write("e.mp3", std::string(5000, 'x'));
    EXPECT_TRUE(QTest::qWaitFor([&] { return g->textMatrix(2, 2) == "5000"; }, 1000));

    // Another folder is followed instead of the first, whose changes do not
    // show up late; when it goes, the grid empties.
    const std::string other = music.mkdir("altra");
    ASSERT_TRUE(Dir1(f)->setPath(other));
    music.write("f.mp3", "x");
    music.write("altra/o.mp3", "x");
    EXPECT_TRUE(shows({" o.mp3"}));
    QTest::qWait(400);
    EXPECT_EQ(listed(g), QStringList{" o.mp3"});
    std::filesystem::remove_all(other);
    EXPECT_TRUE(QTest::qWaitFor([&] { return g->rows() == 1; }, 1000));
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
}
