// A scan that cannot take all of a folder tree says so, in the catalogue
// window and from zondari-cli scan: a folder it may not read is passed over
// and named, a disk that fails ends it with the older catalogue kept, and a
// name no catalogue line can hold is left out and named. The table runs in
// a child process loaded with the failing-disk library (tests run as root,
// who reads every folder), each row setting its fault before its scans.

#include <QLineEdit>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/child.h"
#include "support/cli.h"
#include "support/qt/controls.h"
#include "support/qt/testapp.h"
#include "ui/catalogue/catalogue.h"

using namespace zondari;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

const std::string kUnreadable = "Non è possibile leggere sull'unità specificata, riprovare";
const std::string kIoError = kUnreadable + " (Errore di I/O della periferica)\n";
const std::string kOneDenied = "Lettura incompleta: 1 cartella non leggibile (permesso negato)";
const std::string kDenied = "Cartelle non leggibili per mancanza di permesso, catalogate vuote (1):\n{m}/";
const std::string kOneBreak = "Lettura incompleta: 1 nome con un a capo lasciato fuori";
const std::string kBreak = "Nomi con un a capo, che una riga del catalogo non può contenere, lasciati fuori con quanto "
                           "contengono (1):\n{m}/";
const std::string kAsked
    = "\n\nAttenzione: il CD/Cartella : {n} (Primo) è gia stato catalogato, si vuole sovrascrivere?";

enum class Fault {
    None,
    Denied, // the folder cannot be opened (EACCES)
    Unreadable, // its reads and the look at its record fail (EIO)
    UnreadableOnCd, // the same, where the folders tell no types, as on a CD
};

struct Row {
    std::vector<std::string> tree; // the paths made; one ending in "/" is an empty folder
    Fault fault;
    const char* faulty; // the path the fault strikes
    bool stored; // a catalogue titled "Primo" of the tree before the fault is stored first
    // The one box the window's scan shows (untitled), and its "Dettagli";
    // {m} is the folder, {n} the catalogue's name.
    std::string box, details;
    // zondari-cli scan --sovrascrivi: status and standard error (when
    // empty: the box's text, an empty line, its details, an empty line).
    int status;
    std::string err;
    std::string catalogue; // the file afterwards, both ways; empty: the stored one, untouched
};

std::string filled(std::string text, const std::string& folder, const std::string& name)
{
    for (const auto& [key, value] : {std::pair{std::string("{m}"), folder}, {std::string("{n}"), name}})
        for (std::size_t at; (at = text.find(key)) != std::string::npos;)
            text.replace(at, key.size(), value);
    return text;
}

// The name of the catalogue in `folder`.
std::string catalogueIn(const std::string& folder)
{
    for (const auto& e : fs::directory_iterator(folder))
        if (const std::string name = e.path().filename().string(); name.starts_with("ZOND_") && name.ends_with(".txt"))
            return name;
    return {};
}

void setFault(Fault fault, const std::string& path)
{
    ::unsetenv("ZONDARI_EACCES_PATH");
    ::setenv("ZONDARI_EIO_PATH", "", 1);
    ::unsetenv("ZONDARI_UNTYPED_DIRS");
    if (fault == Fault::Denied)
        ::setenv("ZONDARI_EACCES_PATH", path.c_str(), 1);
    if (fault == Fault::Unreadable || fault == Fault::UnreadableOnCd)
        ::setenv("ZONDARI_EIO_PATH", path.c_str(), 1);
    if (fault == Fault::UnreadableOnCd)
        ::setenv("ZONDARI_UNTYPED_DIRS", "1", 1);
}

} // namespace

TEST(ScanLeftOut, WhatTheScanCouldNotTakeIsToldInTheWindowAndOnTheCommandLine)
{
    if (!testChildData()) {
        runTestInChild("table", failingReadsOf(""));
        return;
    }
    const Row rows[] = {
        {{"aperta/a.mp3", "chiusa/segreta.mp3", "z.mp3"}, Fault::Denied, "chiusa", false, kOneDenied,
            kDenied + "chiusa\n", 0, "",
            "Anonimo\r\n({m}/aperta)\r\n{m}/aperta/a.mp3\r\n({m}/chiusa)\r\n{m}/z.mp3\r\n"},
        {{"lost+found/", "Album/a.mp3"}, Fault::Denied, "lost+found", false, kOneDenied, kDenied + "lost+found\n", 0,
            "", "Anonimo\r\n({m}/Album)\r\n{m}/Album/a.mp3\r\n({m}/lost+found)\r\n"},
        {{"Rock/a.mp3", "Jazz/b.mp3"}, Fault::Unreadable, "Jazz", true, kUnreadable, "", 1, kIoError, ""},
        {{"a.mp3", "b.mp3"}, Fault::UnreadableOnCd, "b.mp3", true, kUnreadable, "", 1, kIoError, ""},
        {{"a.mp3", "due\nrighe.mp3"}, Fault::None, "", false, kOneBreak, kBreak + "due\\nrighe.mp3\n", 0, "",
            "Anonimo\r\n{m}/a.mp3\r\n"},
        {{"a.mp3", "cartella\r/b.mp3"}, Fault::None, "", false, kOneBreak, kBreak + "cartella\\r\n", 0, "",
            "Anonimo\r\n{m}/a.mp3\r\n"},
        {{"aperta/a.mp3", "chiusa/b.mp3", "chiusa/c.mp3"}, Fault::Denied, "chiusa", true,
            kOneDenied + "\n0 file aggiunti, 0 file rimossi, 0 cartelle nuove, 2 file non letti" + kAsked,
            "File non letti, in cartelle senza permesso (2):\n{m}/chiusa/b.mp3\n{m}/chiusa/c.mp3\n\n" + kDenied
                + "chiusa\n",
            0,
            kOneDenied + "\n\n" + kDenied
                + "chiusa\n\n0 file aggiunti, 0 file rimossi, 0 cartelle nuove, 2 file non letti\n",
            "Primo\r\n({m}/aperta)\r\n{m}/aperta/a.mp3\r\n({m}/chiusa)\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.tree));
        TestApp app;
        app.start();
        frmMP3print* w = findCatalogueWindow(app.ctx);
        ASSERT_NE(w, nullptr);
        TempDir music, cliFolder;
        for (const std::string& path : row.tree)
            path.ends_with('/') ? void(music.mkdir(path)) : void(music.write(path));
        const std::string scan = "scan " + shellQuoted(music.path());
        std::string before, cliBefore;
        if (row.stored) {
            Text1(w)->setText("Primo");
            ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
            ASSERT_EQ(runCli(scan + " --titolo Primo", cliFolder.path()).status, 0);
            before = readFile(app.programFolder / catalogueIn(app.programFolder.path()));
            cliBefore = readFile(cliFolder / catalogueIn(cliFolder.path()));
            Text1(w)->setText("Anonimo");
        }
        app.dialogs.messages.clear();
        setFault(row.fault, music / row.faulty);
        ASSERT_TRUE(scanInWindow(w, app.dialogs, music.path()));
        const CliRun cli = runCli(scan + " --sovrascrivi", cliFolder.path());
        setFault(Fault::None, "");

        const std::string name = catalogueIn(app.programFolder.path());
        auto fill = [&](const std::string& text) { return filled(text, music.path(), name); };
        EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{fill(row.box)});
        EXPECT_EQ(app.dialogs.messages.empty() ? "" : app.dialogs.messages.back().details, fill(row.details));
        EXPECT_EQ(cli.status, row.status);
        EXPECT_EQ(cli.err, row.err.empty() ? fill(row.box + "\n\n" + row.details + "\n") : fill(row.err));
        EXPECT_EQ(catalogueIn(cliFolder.path()), name);
        EXPECT_EQ(readFile(app.programFolder / name), row.catalogue.empty() ? before : fill(row.catalogue));
        EXPECT_EQ(readFile(cliFolder / name), row.catalogue.empty() ? cliBefore : fill(row.catalogue));
    }
}
