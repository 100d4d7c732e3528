// Every write of the program where it cannot be done: a full disk, a
// program folder that takes no changes, a track that takes none. The
// windows and zondari-cli each say why with the program's message, and the
// files they would have replaced stay as they were, with nothing left
// beside them.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>

#include "support/cli.h"
#include "support/mp3fixtures.h"
#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/form2.h"
#include "ui/catalogue/form4.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/shell/mdiform1.h"
#include "ui/tags/frmmain.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// The bytes of every file of a folder but the one that fills its disk.
std::map<std::string, std::string> contentsOf(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename() != "riempitivo")
            files[e.path().filename().string()] = readFile(e.path().string());
    return files;
}

// The program with its windows, and a folder of music to catalogue.
struct Program {
    Program()
    {
        music.write("Rock/uno.mp3", "x");
        music.write("Jazz/due.mp3", "x");
        app.start();
        window = findCatalogueWindow(app.ctx);
    }

    // Saves a tag on `track` as the editor does: loaded, retitled, saved;
    // the boxes it showed.
    std::vector<std::string> saveTag(const std::string& track)
    {
        frmMain editor(app.ctx);
        txtNomefile(&editor)->setText(QString::fromStdString(track));
        editor.Caricafile();
        txtTitolo(&editor)->setText("Nuovo titolo");
        app.dialogs.messages.clear();
        Command3(&editor)->click();
        return app.dialogs.texts();
    }

    // Every write the windows make: the settings, a catalogue, each page;
    // the runtime errors they showed.
    std::vector<std::string> writeEverything(const std::string& title)
    {
        app.dialogs.runtimeErrors.clear();
        ModalSteps<Form2> fileTypes({[](Form2& form) {
            const bool wav = form.value(2) != kBoxOff;
            form.setValue(2, wav ? kBoxOff : kBoxOn);
            Command3d1(&form)->click();
        }});
        Command1(window)->click();
        Text1(window)->setText(QString::fromStdString(title));
        EXPECT_TRUE(scanInWindow(window, app.dialogs, music.path()));
        Toolbar1Key(window, "html")->trigger();
        Toolbar1Key(window, "rebuild")->trigger();
        ModalSteps<Form4> search({[](Form4& d) {
            Text1(&d)->setText("uno");
            Command3d1(&d)->click();
        }});
        Toolbar1Key(window, "cerca")->trigger();
        std::vector<std::string> errors;
        for (const RuntimeError& e : app.dialogs.runtimeErrors)
            errors.push_back(std::to_string(e.number) + ": " + e.description);
        return errors;
    }

    TempDir music;
    TestApp app;
    frmMP3print* window = nullptr;
};

} // namespace

TEST(WriteFailures, FullDiskOrReadOnlyFolderFailsEveryWriteWithItsMessageAndLeavesTheOldFilesWhole)
{
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "full disk" : "read-only folder and track");
        Program p;
        const TempDir& pf = p.app.programFolder;
        std::optional<MountedTmpfs> disk;
        if (full && !disk.emplace(pf.path(), "1m").ok()) {
            std::printf("mounting is not allowed here: the full disk was not tried\n");
            continue;
        }
        ASSERT_EQ(p.writeEverything("Primo"), std::vector<std::string>{});
        // A track on the same disk, a whole number of pages long: a new tag
        // needs room; one that replaces a tag needs none.
        std::string audio = frames(20);
        audio.resize(8064);
        const std::string tagged = pf.write("vecchio.mp3", audio + "TAGVecchio" + std::string(118, ' '));
        const std::string track = pf.write("nuovo.mp3", audio + std::string(128, 'a'));
        const auto before = contentsOf(pf.path());
        ASSERT_EQ(before.size(), 10u); // settings, catalogue and its data, four pages, two tracks
        std::optional<ReadOnly> folder, file;
        if (full) {
            std::ofstream out(pf / "riempitivo", std::ios::binary);
            for (const std::string block(4096, 'z'); out.write(block.data(), block.size()); out.flush()) { }
        } else if (!folder.emplace(pf.path()).ok() || !file.emplace(track).ok()) {
            GTEST_SKIP() << "cannot make a folder read-only here";
        }
        const std::string reason = full ? "61: Disco pieno" : "75: Errore di accesso al percorso/file";

        p.music.write("Jazz/tre.mp3", "x");
        EXPECT_EQ(p.writeEverything("Secondo"), std::vector<std::string>(5, reason));
        EXPECT_EQ(p.saveTag(track),
            std::vector<std::string>{"Si è verificato un errore nella scrittura del tag ID3\n" + reason});
        EXPECT_EQ(p.app.dialogs.messages.front().icon, MsgIcon::Critical);
        // Each command-line write, the same; the scan says first what it
        // changes in the stored catalogue.
        std::string catalogue;
        for (const auto& [name, bytes] : before)
            catalogue = name.starts_with("ZOND_") && name.ends_with(".txt") ? name : catalogue;
        for (const std::string& args : {"scan " + shellQuoted(p.music.path()) + " --titolo Terzo --sovrascrivi",
                 "html " + catalogue, std::string("database"), std::string("search uno"), std::string("tascabile"),
                 "tag " + shellQuoted(track) + " --titolo Terzo"}) {
            const CliRun r = runCli(args, pf.path());
            EXPECT_EQ(r.status, 1) << args;
            EXPECT_EQ(args.starts_with("scan ") ? r.err.substr(r.err.find('\n') + 1) : r.err,
                args.starts_with("tag ") ? "Si è verificato un errore nella scrittura del tag ID3\n" + reason + "\n"
                                         : "zondari-cli: " + reason.substr(4) + "\n")
                << args;
        }
        EXPECT_EQ(contentsOf(pf.path()), before);
        if (full) { // written over the old one, a tag takes no room
            EXPECT_EQ(p.saveTag(tagged), std::vector<std::string>{});
            EXPECT_EQ(readFile(tagged).substr(8064, 15), "TAGNuovo titolo");
            EXPECT_EQ(fs::file_size(tagged), 8192u);
        }
    }
}

TEST(WriteFailures, ReplacedFilesKeepThePermissionsTheUserGaveThem)
{
    Program p;
    ASSERT_EQ(p.writeEverything("Primo"), std::vector<std::string>{});
    const auto before = contentsOf(p.app.programFolder.path());
    for (const auto& [name, bytes] : before)
        fs::permissions(p.app.programFolder / name, fs::perms::owner_read | fs::perms::owner_write);
    p.music.write("Jazz/tre.mp3", "x"); // new data too
    ASSERT_EQ(p.writeEverything("Secondo"), std::vector<std::string>{});
    const auto after = contentsOf(p.app.programFolder.path());
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : after) {
        EXPECT_NE(bytes, before.at(name)) << name << " was not written again";
        EXPECT_EQ(fs::status(p.app.programFolder / name).permissions(), fs::perms::owner_read | fs::perms::owner_write)
            << name;
    }
}
