#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/catalogue/cataloguelist.h"
#include "platform/cataloguestore.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::catalogue;
using namespace zondari::cataloguestore;
using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

// Answers for volumes as a CD drive would: this machine has none.
class FakeVolumes : public VolumeReader {
public:
    VolumeInfo volumeOf(const std::string& path) const override
    {
        asked.push_back(path);
        return info;
    }
    bool isVolumeRoot(const std::string& path) const override { return path == root; }
    VolumeInfo info;
    std::string root;
    mutable std::vector<std::string> asked;
};

} // namespace

// (A huge title shown by its start: core/catalogue/cataloguelist_test; one
// of control bytes: cli/hostile_lines_test.)
TEST(CatalogueStore, ListShowsTheUsersCataloguesSortedWithTheirTitles)
{
    TempDir pf;
    pf.write("ZOND_DEFAULT_ZETA_1.txt", "Ultimo\r\n/a.mp3\r\n");
    pf.write("ZOND_DEFAULT_ALFA_2.txt", "Caff\xe8 \\ (doppio)\r\n"); // Windows-1252, separator in the title
    pf.write("zond_default_beta_3.TXT", ""); // empty file: empty title
    pf.write("ZOND_DEFAULTX_ALTRO_4.txt", "di un altro\r\n");
    pf.write("ZOND_Luca_X_5.txt", "di Luca\r\n");
    pf.write("ZOND_Lucas_X_7.txt", "di Lucas\r\n");
    pf.write("ZOND_DEFAULT_X_6.txt.bak", "copia\r\n");
    pf.mkdir("ZOND_DEFAULT_cartella.txt");
    const auto list = catalogueListItems(pf.path(), "DEFAULT");
    const auto items = list ? std::optional(list->items) : std::nullopt;
    ASSERT_TRUE(items);
    EXPECT_EQ(*items,
        (std::vector<std::string>{
            "ZOND_DEFAULT_ALFA_2.txt \\ (Caffè \\ (doppio))",
            "zond_default_beta_3.TXT \\ ()",
            "ZOND_DEFAULT_ZETA_1.txt \\ (Ultimo)",
        }));
    const auto luca = catalogueListItems(pf.path(), "Luca");
    ASSERT_TRUE(luca);
    EXPECT_EQ(luca->items, (std::vector<std::string>{"ZOND_Luca_X_5.txt \\ (di Luca)"}));
}

TEST(CatalogueStore, NameComesFromTheVolumeThatHoldsTheFolder)
{
    FakeVolumes cd;
    cd.info = {"ROCK80", 439041101u, "iso9660", ""};
    cd.root = "/media/cd";
    EXPECT_EQ(catalogueNameFor(cd, "/media/cd", "DEFAULT"), "ZOND_DEFAULT_ROCK80_439041101.txt");
    // A folder below the root is named by the same volume, whatever was
    // scanned before.
    EXPECT_EQ(catalogueNameFor(cd, "/media/cd/Rock", "DEFAULT"), "ZOND_DEFAULT_ROCK80_439041101-media-cd-Rock.txt");
    EXPECT_EQ(cd.asked.back(), "/media/cd/Rock");
    cd.info = {"", 0xF0000000u, "ext4", ""};
    EXPECT_EQ(catalogueNameFor(cd, "/home/anna/Musica", "Anna"), "ZOND_Anna__-268435456-home-anna-Musica.txt");
}

TEST(CatalogueStore, ReadsEveryCatalogueAsParseCatalogueDoesWhateverItsSize)
{
    TempDir pf;
    std::string windows = "Dal PC\r\n";
    for (int i = 0; i < 40000; ++i)
        windows += "C:\\disco " + std::to_string(i) + "\\perch\xc3\xa8.mp3\r\n";
    windows += "C:\\caff\xe8.mp3\r\n"; // the first byte that is not UTF-8, megabytes in
    const std::string marked = catalogueBytes({"Casa", {"/m/bad\xffname.mp3", "/m/è.mp3"}});
    for (const std::string& bytes : {windows, marked, std::string("T\r\n" + std::string(9000, 'x') + "\r\n/a.mp3")}) {
        const auto read = readCatalogue(pf.write("ZOND_DEFAULT_X_1.txt", bytes));
        ASSERT_TRUE(read);
        const Catalogue expected = parseCatalogue(bytes);
        EXPECT_EQ(read->title, expected.title);
        EXPECT_TRUE(read->entries == expected.entries) << read->entries.size();
    }
    EXPECT_EQ(readCatalogue(pf / "ZOND_DEFAULT_X_1.txt")->entries, std::vector<std::string>{"/a.mp3"});
    EXPECT_EQ(parseCatalogue(marked).entries[0], "/m/bad\xffname.mp3");
    EXPECT_EQ(readCatalogue(pf / "non-esiste.txt").error().number, 53);

    // The title alone, without reading on: a gigabyte of zeros gives its start.
    const std::string huge = pf / "ZOND_DEFAULT_GUASTO_2.txt";
    std::filesystem::resize_file(pf.write("ZOND_DEFAULT_GUASTO_2.txt"), 1ull << 30);
    const auto title = readCatalogueTitle(huge);
    ASSERT_TRUE(title);
    EXPECT_EQ(*title, std::string(kMaxTitleBytes, '\0'));
    EXPECT_EQ(*readCatalogueTitle(pf.write("m.txt", marked)), "Casa");
    // A folder, or a FIFO named like a catalogue, is refused at once, not waited on.
    ASSERT_EQ(::mkfifo((pf / "coda.txt").c_str(), 0644), 0);
    EXPECT_FALSE(readCatalogue(pf / "coda.txt"));
    EXPECT_FALSE(readCatalogueTitle(pf / "coda.txt"));
    EXPECT_FALSE(readCatalogue(pf.path()));
}

TEST(CatalogueStore, RescanComparesWithTheStoredCatalogueByItsText)
{
    TempDir pf;
    // Made on Windows: Windows-1252 bytes, CR LF; the scan holds UTF-8.
    pf.write("ZOND_DEFAULT_CD_1.txt", "Vecchio\r\n(/cd/Caff\xe8)\r\n/cd/Caff\xe8/Perch\xe9.mp3\r\n/cd/via.mp3\r\n");
    const std::vector<std::string> scanned{"(/cd/Caff\xc3\xa8)", "/cd/Caff\xc3\xa8/Perch\xc3\xa9.mp3", "/cd/via.mp3"};
    const StoredComparison same = compareWithStored(pf / "ZOND_DEFAULT_CD_1.txt", scanned);
    ASSERT_TRUE(same.compared);
    EXPECT_TRUE(same.changes.none());
    EXPECT_EQ(comparisonSummary(same), "Nessuna modifica dall'ultima lettura");

    // A catalogue that cannot be read is said so, not taken as empty.
    const StoredComparison missing = compareWithStored(pf / "ZOND_DEFAULT_CD_2.txt", scanned);
    EXPECT_FALSE(missing.compared);
    EXPECT_EQ(comparisonSummary(missing).rfind("Non è possibile confrontare con l'ultima lettura (", 0), 0u);
}
