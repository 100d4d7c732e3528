// The pocket page as it leaves the program, its own script run under node on
// its own data: what the page shows for each search.

#include <gtest/gtest.h>
#include <map>

#include "core/catalogue/pages.h"
#include "core/catalogue/pocket.h"
#include "support/tempdir.h"

using namespace zondari;
using namespace zondari::catalogue;
using namespace zondari::test;

namespace {

// The page in a stand-in for the browser: the elements the script asks for,
// the address, and the typing of each search of `searches` (lines "CD\ttext":
// C 1 for "maiuscole", D 1 for "cartelle"). Prints per search the status line
// and the rows: "g title", "d folder entry", "h shown text -> link".
const char* const kBrowser = R"JS(
const fs = require("fs"), vm = require("vm"), dir = process.argv[2];
const read = (name) => fs.readFileSync(dir + "/" + name, "utf8");
const element = (more) => Object.assign({ value: "", checked: false, hidden: false, textContent: "", on: {},
  addEventListener(type, f) { this.on[type] = f; }, focus() {} }, more);
const list = { html: "", set textContent(v) { this.html = ""; }, insertAdjacentHTML(where, h) { this.html += h; } };
const els = { q: element(), cartelle: element({ checked: true }), maiuscole: element(), stato: element(),
  risultati: list, altri: element(), dati: { textContent: read("dati") } };
Object.assign(globalThis, { document: { getElementById: (id) => els[id] }, window: { addEventListener() {} },
  location: { hash: "", pathname: "/p", search: "" },
  history: { replaceState(s, t, h) { location.hash = h.startsWith("#") ? h : ""; } },
  requestAnimationFrame: (f) => setTimeout(f, 0),
  MessageChannel: class { constructor() { const p = {}; this.port1 = p; this.port2 = { postMessage: (d) => p.onmessage({ data: d }) }; } } });
vm.runInThisContext(read("costanti.js") + "\n" + read("script.js"));
const text = (s) => s.replace(/&(amp|lt|gt|quot);/g, (m, e) => ({ amp: "&", lt: "<", gt: ">", quot: "\"" })[e]);
(async () => {
  for (const s of read("ricerche").split("\n").filter(Boolean)) {
    els.maiuscole.checked = s[0] === "1"; els.cartelle.checked = s[1] === "1"; els.q.value = s.slice(3);
    els.q.on.input();
    while (els.stato.textContent.includes("finora")) await new Promise((done) => setTimeout(done, 5));
    const out = [els.stato.textContent];
    for (const m of list.html.matchAll(/<h2>Raccolta musicale : "(.*?)"<\/h2>|<p class="cartella">(.*?)<\/p>|<a href="(.*?)">(.*?)<\/a>/gs))
      out.push(m[1] !== undefined ? "g " + text(m[1]) : m[2] !== undefined ? "d " + text(m[2]) : "h " + text(m[4]) + " -> " + text(m[3]));
    console.log(out.join("\n") + "\n");
  }
})();
)JS";

// The page made from catalogue files held in memory, by name.
std::string pageOf(const std::vector<std::pair<std::string, std::string>>& files)
{
    StringSink sink;
    std::vector<std::string> names;
    std::map<std::string, std::string> bytes;
    for (const auto& [name, content] : files) {
        names.push_back("/programma/" + name);
        bytes[names.back()] = content;
    }
    EXPECT_TRUE(makePocketPage(sink, names, [&](const std::string& name) -> Result<std::unique_ptr<ByteSource>> {
        return std::unique_ptr<ByteSource>(std::make_unique<StringSource>(bytes.at(name)));
    }));
    return sink.bytes();
}

// What the page shows for each search, as kBrowser prints it; the page's
// script must first pass `node --check`.
std::vector<std::string> shown(const std::string& page, const std::vector<std::string>& searches)
{
    // The data, the constants and the program: the page's three scripts.
    std::vector<std::string> scripts;
    for (std::size_t at = 0; (at = page.find("<script", at)) != std::string::npos;) {
        at = page.find('>', at) + 1;
        scripts.push_back(page.substr(at, page.find("</script>", at) - at));
    }
    EXPECT_EQ(scripts.size(), 3u);
    if (scripts.size() != 3)
        return {};
    TempDir dir;
    dir.write("dati", scripts[0]);
    dir.write("costanti.js", scripts[1]);
    dir.write("script.js", scripts[2]);
    dir.write("browser.js", kBrowser);
    std::string lines;
    for (const std::string& s : searches)
        lines += s + "\n";
    dir.write("ricerche", lines);
    EXPECT_EQ(run("node --check '" + dir / "script.js" + "'"), 0);
    int status = -1;
    const std::string out = output("node '" + dir / "browser.js" + "' '" + dir.path() + "'", &status);
    EXPECT_EQ(status, 0) << out;
    std::vector<std::string> each;
    for (std::size_t at = 0, end; (end = out.find("\n\n", at)) != std::string::npos; at = end + 2)
        each.push_back(out.substr(at, end - at));
    EXPECT_EQ(each.size(), searches.size()) << out;
    return each;
}

} // namespace

// (What the browser shows of it, letter for letter as the search command,
// and names that would break out: cli/pocket_browser_qt_test.) Here the
// entries no scan writes, an empty catalogue, and letters beyond the first
// plane.
TEST(PocketPage, TheScriptShowsEachCatalogueFromItsDataAsTheSearchFindsIt)
{
    ASSERT_EQ(run("command -v node >/dev/null"), 0) << "node is missing (scripts/setup installs nodejs)";
    const std::string page = pageOf({{"ZOND_DEFAULT_A_1.txt",
                                         "Rock anni 80\r\n(/cd/Rock)\r\n/cd/Rock/uno.mp3\r\n\r\nsenza\x10"
                                         "cartella rock.mp3\r\n(/cd/Rock non chiusa\r\n/cd/Rock/AC DC/\r\n"},
        {"ZOND_DEFAULT_V_4.txt", ""}, {"ZOND_DEFAULT_P_6.txt", "Pochi\r\n/m/Straße/ÿ \xF0\x9D\x90\x80x.mp3\r\n"}});
    const std::vector<std::pair<std::string, std::string>> searches = {
        {"01\trock",
            "Trovati 3 files contenenti la stringa : rock\ng Rock anni 80\nd (/cd/Rock)\n"
            "h /cd/Rock/uno.mp3 -> file:///cd/Rock/uno.mp3\n"
            "h senza\x10"
            "cartella rock.mp3 -> file:///senza%10cartella%20rock.mp3\nd (/cd/Rock non chiusa\n"
            "h /cd/Rock/AC DC/ -> file:///cd/Rock/AC%20DC/"},
        {"01\t/\xC5\xB8 \xF0\x9D\x90\x80X",
            "Trovati 1 files contenenti la stringa : /\xC5\xB8 \xF0\x9D\x90\x80X\ng Pochi\n"
            "h /m/Straße/ÿ \xF0\x9D\x90\x80x.mp3 -> file:///m/Stra%C3%9Fe/%C3%BF%20%F0%9D%90%80x.mp3"},
    };
    std::vector<std::string> typed, expected;
    for (const auto& [search, shows] : searches) {
        typed.push_back(search);
        expected.push_back(shows);
    }
    EXPECT_EQ(shown(page, typed), expected);
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
    const std::size_t from = page.find("id=\"dati\">"), to = page.find("</script>", from);
    const std::string data = page.substr(from, to - from);
    EXPECT_EQ(data.find("Guccini/1971"), data.rfind("Guccini/1971"));
    EXPECT_LT(data.size(), catalogue.size() * 2 / 5) << "the data is at most 40% of the catalogue";
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
    ASSERT_TRUE(pocket && search);
    for (const auto* leftOut : {&pocket->leftOut, &search->leftOut}) {
        ASSERT_EQ(leftOut->size(), 2u);
        EXPECT_EQ((*leftOut)[0].path + " " + std::to_string((*leftOut)[0].error.number), "/grande 57");
        EXPECT_EQ((*leftOut)[1].path + " " + std::to_string((*leftOut)[1].error.number), "/sparito 53");
    }
    EXPECT_EQ(pocket->catalogues, 1u);
    EXPECT_EQ(pocket->files, 1u);
    EXPECT_EQ(pocketSink.bytes().find("Grande"), std::string::npos);
    EXPECT_EQ(search->hits, 1);
    EXPECT_EQ(searchSink.bytes().find("brano"), std::string::npos);
}
