// Every write of the program where it cannot be done: a full disk, a
// program folder that takes no changes, a track that takes none. The
// windows and zondari-cli each say why with the program's message, and the
// files they would have replaced stay as they were, with nothing left
// beside them.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

#include "core/tags/id3v1.h"
#include "platform/mp3file.h"
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

constexpr const char* kFiller = "riempitivo";

// The bytes of every file of a folder.
std::map<std::string, std::string> contentsOf(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename() != kFiller)
            files[e.path().filename().string()] = readFile(e.path().string());
    return files;
}

// Takes every free byte of the file system that holds `folder`.
void fill(const std::string& folder)
{
    std::ofstream out(folder + "/" + kFiller, std::ios::binary);
    const std::string block(4096, 'z');
    while (out.write(block.data(), block.size()))
        out.flush();
}

// The program with its windows, and a folder of music to catalogue.
struct Program {
    Program()
    {
        music.write("Rock/uno.mp3", "x");
        music.write("Jazz/due.mp3", "x");
    }

    void start()
    {
        app.start();
        window = findCatalogueWindow(app.ctx);
        ASSERT_NE(window, nullptr);
    }

    void scan(const std::string& title)
    {
        Text1(window)->setText(QString::fromStdString(title));
        ASSERT_TRUE(scanInWindow(window, app.dialogs, music.path()));
    }

    void saveFileTypes()
    {
        ModalSteps<Form2> person({[](Form2& form) {
            const bool wav = form.value(2) != kBoxOff;
            form.setValue(2, wav ? kBoxOff : kBoxOn);
            form.Command3d1->click();
        }});
        Command1(window)->click();
    }

    void search(const QString& text)
    {
        ModalSteps<Form4> person({[text](Form4& d) {
            d.Text1->setText(text);
            d.Command3d1->click();
        }});
        Toolbar1Key(window, "cerca")->trigger();
    }

    // Saves a tag on `track` as the editor does: loaded, retitled, saved.
    void saveTag(const std::string& track)
    {
        frmMain editor(app.ctx);
        editor.txtNomefile->setText(QString::fromStdString(track));
        editor.Caricafile();
        editor.txtTitolo->setText("Nuovo titolo");
        app.dialogs.messages.clear();
        editor.Command3->click();
    }

    // Every write the windows make: the settings, a catalogue, each page.
    void writeEverything(const std::string& title)
    {
        saveFileTypes();
        scan(title);
        Toolbar1Key(window, "html")->trigger();
        Toolbar1Key(window, "rebuild")->trigger();
        search("uno");
    }

    TestApp app;
    TempDir music;
    frmMP3print* window = nullptr;
};

// What each failed window write showed: the runtime error number.
std::vector<int> errorNumbers(const FakeDialogs& dialogs)
{
    std::vector<int> numbers;
    for (const RuntimeError& e : dialogs.runtimeErrors)
        numbers.push_back(e.number);
    return numbers;
}

// Each command-line write that must fail, with what it says.
void expectEveryCommandFails(
    const std::string& pf, const std::string& music, const std::string& track, const std::string& reason, int number)
{
    std::string catalogue;
    for (const auto& e : fs::directory_iterator(pf))
        if (e.path().filename().string().rfind("ZOND_", 0) == 0)
            catalogue = e.path().filename().string();
    ASSERT_FALSE(catalogue.empty());
    const std::vector<std::pair<std::string, std::string>> commands = {
        {"scan " + shellQuoted(music) + " --titolo Terzo --sovrascrivi", "zondari-cli: " + reason + "\n"},
        {"html " + shellQuoted(catalogue), "zondari-cli: " + reason + "\n"},
        {"database", "zondari-cli: " + reason + "\n"},
        {"search uno", "zondari-cli: " + reason + "\n"},
        {"tascabile", "zondari-cli: " + reason + "\n"},
        {"tag " + shellQuoted(track) + " --titolo Terzo",
            "Si è verificato un errore nella scrittura del tag ID3\n" + std::to_string(number) + ": " + reason + "\n"},
    };
    for (const auto& [args, said] : commands) {
        const CliRun r = runCli(args, pf);
        EXPECT_EQ(r.status, 1) << args;
        // The scan says first what it changes in the stored catalogue.
        const bool scan = args.starts_with("scan ");
        EXPECT_EQ(scan ? r.err.substr(r.err.find('\n') + 1) : r.err, said) << args;
    }
}

} // namespace

TEST(WriteFailures, FullDiskFailsEveryWriteWithItsMessageAndLeavesTheOldFilesWhole)
{
    Program p;
    MountedTmpfs disk(p.app.programFolder.path(), "1m");
    if (!disk.ok())
        GTEST_SKIP() << "mounting is not allowed here: the full disk was not tried";
    p.start();
    p.writeEverything("Primo");
    ASSERT_TRUE(p.app.dialogs.runtimeErrors.empty());
    // A track on the same disk, a whole number of pages long: a new tag
    // needs room; one that replaces a tag needs none.
    std::string audio = frames(20);
    audio.resize(8192);
    const std::string untagged = p.app.programFolder.write("nuovo.mp3", audio);
    TagRecord old;
    old.Title = "Vecchio";
    audio.resize(8064);
    const std::string tagged = p.app.programFolder.write("vecchio.mp3", audio + id3v1::encode(old));
    const auto before = contentsOf(p.app.programFolder.path());
    ASSERT_EQ(before.size(), 8u); // settings, catalogue, four pages, two tracks

    fill(p.app.programFolder.path());
    p.music.write("Jazz/tre.mp3", "x");
    p.app.dialogs.messages.clear();
    p.writeEverything("Secondo");
    EXPECT_EQ(errorNumbers(p.app.dialogs), (std::vector<int>{61, 61, 61, 61, 61}));
    for (const RuntimeError& e : p.app.dialogs.runtimeErrors)
        EXPECT_EQ(e.description, "Disco pieno");
    p.saveTag(untagged);
    ASSERT_EQ(p.app.dialogs.messages.size(), 1u);
    EXPECT_EQ(p.app.dialogs.messages[0].text, "Si è verificato un errore nella scrittura del tag ID3\n61: Disco pieno");
    EXPECT_EQ(p.app.dialogs.messages[0].icon, MsgIcon::Critical);

    expectEveryCommandFails(p.app.programFolder.path(), p.music.path(), untagged, "Disco pieno", 61);
    EXPECT_EQ(contentsOf(p.app.programFolder.path()), before);

    // Written over the old one, a tag takes no room.
    p.saveTag(tagged);
    EXPECT_TRUE(p.app.dialogs.messages.empty());
    const auto nowRead = ReadTag(tagged);
    ASSERT_TRUE(nowRead && nowRead->tag);
    const TagRecord& now = *nowRead->tag;
    EXPECT_EQ(id3v1::fieldText(now.Title), "Nuovo titolo");
    EXPECT_EQ(fs::file_size(tagged), 8192u);
}

TEST(WriteFailures, ReadOnlyProgramFolderAndTrackFailEveryWriteWithItsMessage)
{
    Program p;
    p.start();
    p.writeEverything("Primo");
    ASSERT_TRUE(p.app.dialogs.runtimeErrors.empty());
    const std::string track = p.music.write("bloccato.mp3", std::string(5000, 'a'));
    const auto before = contentsOf(p.app.programFolder.path());
    ReadOnly folder(p.app.programFolder.path());
    ReadOnly file(track);
    if (!folder.ok() || !file.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";

    p.music.write("Jazz/tre.mp3", "x");
    p.writeEverything("Secondo");
    EXPECT_EQ(errorNumbers(p.app.dialogs), (std::vector<int>{75, 75, 75, 75, 75}));
    p.saveTag(track);
    ASSERT_EQ(p.app.dialogs.messages.size(), 1u);
    EXPECT_EQ(p.app.dialogs.messages[0].text,
        "Si è verificato un errore nella scrittura del tag ID3\n75: Errore di accesso al percorso/file");

    expectEveryCommandFails(
        p.app.programFolder.path(), p.music.path(), track, "Errore di accesso al percorso/file", 75);
    EXPECT_EQ(contentsOf(p.app.programFolder.path()), before);
    EXPECT_EQ(readFile(track), std::string(5000, 'a'));
}

TEST(WriteFailures, ReplacedFilesKeepThePermissionsTheUserGaveThem)
{
    Program p;
    p.start();
    p.writeEverything("Primo");
    ASSERT_TRUE(p.app.dialogs.runtimeErrors.empty());
    const auto before = contentsOf(p.app.programFolder.path());
    for (const auto& [name, bytes] : before)
        fs::permissions(p.app.programFolder / name, fs::perms::owner_read | fs::perms::owner_write);

    p.writeEverything("Secondo");
    ASSERT_TRUE(p.app.dialogs.runtimeErrors.empty());
    const auto after = contentsOf(p.app.programFolder.path());
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : after) {
        EXPECT_NE(bytes, before.at(name)) << name << " was not written again";
        EXPECT_EQ(fs::status(p.app.programFolder / name).permissions(), fs::perms::owner_read | fs::perms::owner_write)
            << name;
    }
}
