#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/catalogue/scanchanges.h"

using namespace zondari::catalogue;
using Entries = std::vector<std::string>;

TEST(ScanChanges, FilesAndFoldersAreToldApartAndEachListKeepsItsOrder)
{
    const Entries stored{"(/cd/Rock)", "/cd/Rock/b.mp3", "/cd/Rock/a.mp3", "(/cd/Vecchia)", "/cd/z.mp3"};
    const Entries scanned{"(/cd/Jazz)", "/cd/Jazz/y.mp3", "/cd/Jazz/x.mp3", "(/cd/Rock)", "/cd/Rock/a.mp3"};
    const ScanChanges c = compareScan(stored, scanned);
    EXPECT_EQ(c.entries(Change::AddedFile), (Entries{"/cd/Jazz/y.mp3", "/cd/Jazz/x.mp3"}));
    EXPECT_EQ(c.entries(Change::RemovedFile), (Entries{"/cd/Rock/b.mp3", "/cd/z.mp3"}));
    EXPECT_EQ(c.entries(Change::NewFolder), (Entries{"(/cd/Jazz)"}));
    EXPECT_EQ(c.entries(Change::RemovedFolder), (Entries{"(/cd/Vecchia)"}));
    EXPECT_EQ(changesSummary(c), "2 file aggiunti, 2 file rimossi, 1 cartella nuova, 1 cartella rimossa");
    EXPECT_EQ(changesDetails(c),
        "File aggiunti (2):\n/cd/Jazz/y.mp3\n/cd/Jazz/x.mp3\n\n"
        "File rimossi (2):\n/cd/Rock/b.mp3\n/cd/z.mp3\n\n"
        "Cartelle nuove (1):\n(/cd/Jazz)\n\n"
        "Cartelle rimosse (1):\n(/cd/Vecchia)\n");
}

TEST(ScanChanges, EntriesCountAsOftenAsTheyAreListed)
{
    // A file listed twice and now once is one removed; once and now three
    // times, two added. A folder entry and a file of the same path differ.
    const Entries scanned{"/b.mp3", "/b.mp3", "/b.mp3", "/a.mp3", "(/c)"};
    const ScanChanges c = compareScan({"/a.mp3", "/a.mp3", "/b.mp3", "/c"}, scanned);
    EXPECT_EQ(c.entries(Change::AddedFile), (Entries{"/b.mp3", "/b.mp3"}));
    EXPECT_EQ(c.entries(Change::RemovedFile), (Entries{"/a.mp3", "/c"}));
    EXPECT_EQ(c.entries(Change::NewFolder), (Entries{"(/c)"}));
    EXPECT_EQ(c.count(Change::RemovedFolder), 0u);
}

TEST(ScanChanges, SameEntriesInAnotherOrderEmptyLinesAndUnwritableNamesAreNoChange)
{
    const Entries stored{"/a.mp3", "", "(/d)", "/b.mp3", ""};
    const Entries scanned{"(/d)", "/b.mp3", "/a.mp3", "", "/riga\nspezzata.mp3", "/" + std::string(5000, 'x') + ".mp3"};
    const ScanChanges c = compareScan(stored, scanned);
    EXPECT_TRUE(c.none());
    EXPECT_EQ(changesSummary(c), "Nessuna modifica dall'ultima lettura");
    EXPECT_EQ(changesDetails(c), "");
}
