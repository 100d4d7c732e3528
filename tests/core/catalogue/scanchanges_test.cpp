#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/catalogue/scanchanges.h"

using namespace zondari::catalogue;
using Entries = std::vector<std::string>;

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
