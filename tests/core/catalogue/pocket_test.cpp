#include <gtest/gtest.h>
#include <map>
#include <sstream>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/pages.h"
#include "core/catalogue/pocket.h"
#include "core/common/encoding.h"

using namespace zondari;
using namespace zondari::catalogue;

namespace {

// What the page says of one catalogue, read back from its data as the
// page's script reads it.
struct Read {
    std::string title, file;
    std::vector<std::string> entries; // as the page shows them
    std::map<std::size_t, std::string> links; // file number, URL
    std::size_t folders = 0;
    int bits = 0;
    std::string pairs; // the set of letter pairs
};

std::string dataOf(const std::string& page)
{
    const std::string open = "<script type=\"text/plain\" id=\"dati\">";
    const std::size_t from = page.find(open);
    const std::size_t to = page.find("</script>", from);
    EXPECT_NE(from, std::string::npos);
    return page.substr(from + open.size(), to - from - open.size());
}

std::string unescaped(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kDataEscape) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string fromBase64(const std::string& text)
{
    static const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::uint32_t n = 0;
    int have = 0;
    for (char c : text) {
        if (c == '=')
            break;
        n = n << 6 | static_cast<std::uint32_t>(digits.find(c));
        if ((have += 6) >= 8) {
            out += static_cast<char>(n >> (have - 8));
            have -= 8;
        }
    }
    return out;
}

// Whether the set of letter pairs holds the pair a, b (UTF-16 units).
bool holds(const Read& r, std::uint32_t a, std::uint32_t b)
{
    const std::uint32_t h = ((a << 16 | b) * 0x9E3779B1u) >> (32 - r.bits);
    return (static_cast<unsigned char>(r.pairs.at(h >> 3)) >> (h & 7)) & 1;
}

std::vector<Read> readBack(const std::string& page)
{
    std::vector<std::string> lines;
    const std::string data = unescaped(dataOf(page));
    for (std::size_t at = 0; at < data.size();) {
        const std::size_t nl = data.find('\n', at);
        EXPECT_NE(nl, std::string::npos) << "every line ends with LF";
        lines.push_back(data.substr(at, nl - at));
        at = nl + 1;
    }
    std::vector<Read> out;
    for (std::size_t l = 0; l + 5 <= lines.size();) {
        Read r{lines[l], lines[l + 1], {}, {}, 0, std::stoi(lines[l + 4]),
            fromBase64(lines[l + 4].substr(lines[l + 4].find(' ') + 1))};
        std::vector<long> nums;
        for (std::size_t at = 0; at <= lines[l + 2].size();) {
            const std::size_t comma = std::min(lines[l + 2].find(',', at), lines[l + 2].size());
            nums.push_back(std::stol(lines[l + 2].substr(at, comma - at)));
            at = comma + 1;
        }
        std::istringstream links(lines[l + 3]);
        for (std::size_t n; links >> n;)
            links >> r.links[n];
        r.folders = static_cast<std::size_t>(nums[0]);
        const std::size_t names = static_cast<std::size_t>(nums[1]);
        const std::size_t folderLine = l + 5, nameLine = folderLine + r.folders;
        std::size_t name = 0;
        for (std::size_t k = 2; k < nums.size(); ++k) {
            const std::string& folder = lines[folderLine + static_cast<std::size_t>(nums[k] >> 2)];
            if ((nums[k] & 3) == 0) {
                for (long n = nums[++k]; n > 0; --n)
                    r.entries.push_back(folder + lines[nameLine + name++]);
            } else {
                r.entries.push_back("(" + folder.substr(0, folder.size() - 1) + ((nums[k] & 3) == 1 ? ")" : ""));
            }
        }
        EXPECT_EQ(name, names);
        out.push_back(r);
        l = nameLine + names;
    }
    return out;
}

// The page made from catalogue files held in memory, by name.
std::string pageOf(const std::vector<std::pair<std::string, std::string>>& files, PocketSummary* summary = nullptr)
{
    StringSink sink;
    std::vector<std::string> names;
    std::map<std::string, std::string> bytes;
    for (const auto& [name, content] : files) {
        names.push_back("/programma/" + name);
        bytes[names.back()] = content;
    }
    const auto made = makePocketPage(sink, names, [&](const std::string& name) -> Result<std::unique_ptr<ByteSource>> {
        return std::unique_ptr<ByteSource>(std::make_unique<StringSource>(bytes.at(name)));
    });
    EXPECT_TRUE(made);
    if (summary && made)
        *summary = *made;
    return sink.bytes();
}

} // namespace

TEST(PocketPage, HoldsEveryEntryOfEveryCatalogueInOrder)
{
    PocketSummary summary;
    const std::string page = pageOf({{"ZOND_DEFAULT_A_1.txt",
                                         "Rock anni 80\r\n(/cd/Rock)\r\n(/cd/Rock/AC DC)\r\n/cd/Rock/AC DC/01 "
                                         "Back.mp3\r\n/cd/Rock/AC DC/02 Hells.mp3\r\n/cd/Rock/uno.mp3\r\n\r\nsenza "
                                         "cartella.mp3\r\n/cd/Rock/due.mp3\r\n(non chiusa\r\n/cd/Rock/AC DC/\r\n"},
                                        {"ZOND_DEFAULT_B_2.txt", "Vuoto\r\n"}, {"ZOND_DEFAULT_C_3.txt", ""}},
        &summary);
    const auto read = readBack(page);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].title, "Rock anni 80");
    EXPECT_EQ(read[0].file, "ZOND_DEFAULT_A_1.txt");
    EXPECT_EQ(read[0].entries,
        (std::vector<std::string>{"(/cd/Rock)", "(/cd/Rock/AC DC)", "/cd/Rock/AC DC/01 Back.mp3",
            "/cd/Rock/AC DC/02 Hells.mp3", "/cd/Rock/uno.mp3", "senza cartella.mp3", "/cd/Rock/due.mp3", "(non chiusa",
            "/cd/Rock/AC DC/"}));
    EXPECT_TRUE(read[0].links.empty());
    EXPECT_EQ(read[1].title, "Vuoto");
    EXPECT_TRUE(read[1].entries.empty());
    EXPECT_EQ(read[2].title, "");
    EXPECT_EQ(summary.catalogues, 3u);
    EXPECT_EQ(summary.files, 6u);
    EXPECT_EQ(page.find("<!DOCTYPE html>\n<html lang=\"it\">"), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
}

TEST(PocketPage, FolderPathsAreWrittenOnceWhateverHowManyFilesTheyHold)
{
    std::string catalogue = "T\r\n";
    for (int album = 0; album < 3; ++album) {
        const std::string folder = "/media/utente/CD1/Cantautori/Francesco Guccini/197" + std::to_string(album);
        catalogue += "(" + folder + ")\r\n";
        for (int track = 0; track < 12; ++track)
            catalogue += folder + "/" + std::to_string(track) + " - brano.mp3\r\n";
    }
    const std::string page = pageOf({{"ZOND_DEFAULT_X_1.txt", catalogue}});
    const std::string data = dataOf(page);
    EXPECT_EQ(readBack(page)[0].folders, 3u);
    std::size_t copies = 0;
    for (std::size_t at = data.find("Guccini/1971"); at != std::string::npos; at = data.find("Guccini/1971", at + 1))
        ++copies;
    EXPECT_EQ(copies, 1u);
    EXPECT_LT(data.size(), catalogue.size() * 2 / 5) << "the data is at most 40% of the catalogue";
}

TEST(PocketPage, NoEntryCanEndTheDataOrOpenMarkup)
{
    const std::string nasty = "/x/</script><script>alert(1)</script>\r\n"
                              "/x/<!--<script>\r\n"
                              "/x/\"virgolette\" e 'apici' \\ barra.mp3\r\n"
                              "/x/riga\xE2\x80\xA8nuova\xE2\x80\xA9paragrafo `${x}`.mp3\r\n"
                              "/x/controllo\x01\x1F\x7F\x10.mp3\r\n"
                              "/x/</SCRIPT >.mp3\r\n";
    const std::string page = pageOf({{"ZOND_DEFAULT_A_1.txt", "Titolo </script><!--\r\n" + nasty}});
    const std::string data = dataOf(page);
    EXPECT_EQ(data.find('<'), std::string::npos);
    for (char c : data)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == kDataEscape) << int(c);
    // The page's own three scripts, and nothing else, open and close.
    std::size_t scripts = 0;
    for (std::size_t at = page.find("</script>"); at != std::string::npos; at = page.find("</script>", at + 1))
        ++scripts;
    EXPECT_EQ(scripts, 3u);
    const auto read = readBack(page);
    EXPECT_EQ(read[0].title, "Titolo </script><!--");
    EXPECT_EQ(read[0].entries,
        (std::vector<std::string>{"/x/</script><script>alert(1)</script>", "/x/<!--<script>",
            "/x/\"virgolette\" e 'apici' \\ barra.mp3", "/x/riga\xE2\x80\xA8nuova\xE2\x80\xA9paragrafo `${x}`.mp3",
            "/x/controllo\x01\x1F\x7F\x10.mp3", "/x/</SCRIPT >.mp3"}));
}

TEST(PocketPage, WindowsCataloguesReadRightAndOddNamesKeepTheirBytesInTheLink)
{
    // Made on Windows: Windows-1252, title included.
    const std::string windows
        = "Caff\xE8 e t\xE8\r\n(C:\\Musica\\Caff\xE8)\r\nC:\\Musica\\Caff\xE8\\Perch\xE9 no.mp3\r\n";
    // Made here, with a name that is not UTF-8 kept by its bytes.
    const std::string raw = std::string(kRawNamesMark) + "Miei\r\n/m/Caf\xE9/bad\xFFname.mp3\r\n/m/perché.mp3\r\n";
    const auto read = readBack(pageOf({{"ZOND_DEFAULT_W_1.txt", windows}, {"ZOND_DEFAULT_R_2.txt", raw}}));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].title, "Caffè e tè");
    EXPECT_EQ(read[0].entries, (std::vector<std::string>{"(C:\\Musica\\Caffè)", "C:\\Musica\\Caffè\\Perché no.mp3"}));
    EXPECT_TRUE(read[0].links.empty());
    EXPECT_EQ(read[1].entries, (std::vector<std::string>{"/m/Caf\uFFFD/bad\uFFFDname.mp3", "/m/perché.mp3"}));
    EXPECT_EQ(read[1].links, (std::map<std::size_t, std::string>{{0, fileUrl("/m/Caf\xE9/bad\xFFname.mp3")}}));
    EXPECT_EQ(read[1].links.at(0), "file:///m/Caf%E9/bad%FFname.mp3");
}

TEST(PocketPage, CarriesTheProgramsUpperCaseAndTheCharactersItMustCheck)
{
    const std::string page = pageOf({{"ZOND_DEFAULT_A_1.txt", "T\r\n/m/Straße/ÿ ﬁ.mp3\r\n"}});
    // è (232) upper-cases to È (200), as the program does; the page is told
    // which characters beyond ASCII its catalogues hold, and how often.
    EXPECT_NE(page.find("const UPPER = [181,1,1,743,224,23,1,-32,"), std::string::npos);
    EXPECT_NE(page.find(",223,1,"), std::string::npos); // ß
    EXPECT_NE(page.find(",255,1,"), std::string::npos); // ÿ
    EXPECT_NE(page.find(",64257,1"), std::string::npos); // ﬁ
    EXPECT_NE(page.find("const LINES = 7;"), std::string::npos);
}

// `bytes` read as a disk that fails once `failAt` of them have been read.
class FailingSource : public StringSource {
public:
    FailingSource(std::string bytes, std::size_t failAt)
        : StringSource(std::move(bytes))
        , failAt_(failAt)
    {
    }
    Result<std::size_t> read(char* to, std::size_t most) override
    {
        if (read_ >= failAt_)
            return runtimeError(ErrorCode::DeviceIO);
        const auto n = StringSource::read(to, std::min(most, failAt_ - read_));
        read_ += *n;
        return n;
    }

private:
    std::size_t failAt_, read_ = 0;
};

TEST(PocketPage, CataloguesThatCannotBeReadAreLeftOutOfEveryPageAndNamed)
{
    // Its first megabyte is on the search page already when its reading fails.
    std::string big = "Grande\r\n";
    for (int i = 0; big.size() < (3u << 20); ++i)
        big += "/cd/rock brano " + std::to_string(i) + ".mp3\r\n";
    const auto open = [&](const std::string& name) -> Result<std::unique_ptr<ByteSource>> {
        if (name == "/sparito")
            return runtimeError(ErrorCode::FileNotFound);
        if (name == "/grande")
            return std::unique_ptr<ByteSource>(std::make_unique<FailingSource>(big, 2u << 20));
        return std::unique_ptr<ByteSource>(std::make_unique<StringSource>("Piccolo\r\n/cd/rock.mp3\r\n"));
    };
    const std::vector<std::string> names = {"/grande", "/piccolo", "/sparito"};
    StringSink pocketSink, searchSink;
    const auto pocket = makePocketPage(pocketSink, names, open);
    const auto search = makeDatabasePage(searchSink, names, open, PageRequest{"rock", false, true});
    ASSERT_TRUE(pocket);
    ASSERT_TRUE(search);
    for (const auto* leftOut : {&pocket->leftOut, &search->leftOut}) {
        ASSERT_EQ(leftOut->size(), 2u);
        EXPECT_EQ((*leftOut)[0].path, "/grande");
        EXPECT_EQ((*leftOut)[0].error.number, 57);
        EXPECT_EQ((*leftOut)[1].path, "/sparito");
        EXPECT_EQ((*leftOut)[1].error.number, 53);
    }
    EXPECT_EQ(pocket->catalogues, 1u);
    EXPECT_EQ(pocket->files, 1u);
    EXPECT_EQ(pocketSink.bytes().find("Grande"), std::string::npos);
    EXPECT_EQ(search->hits, 1);
    EXPECT_EQ(searchSink.bytes().find("brano"), std::string::npos);
    EXPECT_NE(searchSink.bytes().find("Trovati  1 files"), std::string::npos);
}

TEST(PocketPage, EachCatalogueTellsTheLetterPairsItHoldsUpperCased)
{
    std::string many = "Tanti\r\n";
    for (int i = 0; i < 500; ++i)
        many += "/cd/brano " + std::to_string(i) + ".mp3\r\n";
    const auto read
        = readBack(pageOf({{"ZOND_DEFAULT_A_1.txt", "Pochi\r\n/m/Zanzibar è.mp3\r\n/m/\xF0\x9D\x90\x80x\r\n"},
            {"ZOND_DEFAULT_B_2.txt", many}}));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].bits, 8); // about eight bits for each of its twenty-odd pairs
    EXPECT_EQ(read[0].pairs.size() * 8, 256u);
    EXPECT_GT(read[1].bits, read[0].bits);
    EXPECT_LE(read[1].bits, 13);
    for (const char* pair : {"/M", "M/", "ZA", "AN", "NZ", "ZI", "IB", "BA", "AR", "R ", "P3"})
        EXPECT_TRUE(holds(read[0], static_cast<unsigned char>(pair[0]), static_cast<unsigned char>(pair[1]))) << pair;
    EXPECT_TRUE(holds(read[0], ' ', 0xC8)); // " È", upper-cased
    EXPECT_TRUE(holds(read[0], 0xD835, 0xDC00)); // a letter beyond the first plane, as its two units
    EXPECT_TRUE(holds(read[0], 0xDC00, 'X'));
    std::size_t set = 0;
    for (char c : read[1].pairs)
        set += static_cast<std::size_t>(__builtin_popcount(static_cast<unsigned char>(c)));
    EXPECT_LT(set * 4, read[1].pairs.size() * 8) << "most bits stay clear";
}
