// The pocket catalogue as its user meets it: written by zondari-cli
// tascabile, opened in headless Chromium, typed into key by key; and the
// other pages of the same catalogues, opened there.

#include <QJsonArray>
#include <QJsonDocument>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>

#include "core/catalogue/playaddress.h"
#include "support/cdp.h"
#include "support/cli.h"
#include "support/filtercases.h"
#include "support/htmltext.h"
#include "support/mp3fixtures.h"

using namespace zondari::test;

namespace {

// A row of the results as shown: its kind (a catalogue's title "g", its
// file name "f", a folder entry "d", a hit "h"), its text, its link.
using Row = std::vector<std::string>;

const std::string kHint = "Scrivere nella casella il nome di una canzone";

std::string el(const char* id)
{
    return std::string("document.getElementById('") + id + "')";
}

// Chromium with the pocket catalogue of a program folder open.
struct Pocket {
    Browser browser;
    std::string url;

    explicit Pocket(const TempDir& program)
        : url("file://" + runCli("tascabile", program.path()).firstLine())
    {
        browser.call("Page.addScriptToEvaluateOnNewDocument",
            {{"source", "window.alert = window.confirm = window.prompt = () => { window.__dialog = true; };"}});
    }

    // From elsewhere, so that a new fragment loads the page anew; true once
    // the box takes text and the page shows the search of what it holds.
    bool open(const std::string& fragment = {})
    {
        const bool opened = browser.open("about:blank") && browser.open(url + fragment)
            && browser
                   .eval("new Promise((done) => { const look = () => " + el("q")
                       + ".disabled ? setTimeout(look, 10) : done(true); look(); })")
                   .toBool();
        settle();
        return opened;
    }

    // Waits until the page shows the search of what the box holds, whole.
    void settle()
    {
        browser.eval(R"JS(new Promise((done) => {
            const look = () => {
              const q = document.getElementById("q").value, s = document.getElementById("stato").textContent;
              const ok = !q ? s.startsWith("Scrivere") : s.startsWith("Inserire") ? [...q].length < 2 || /[:<>]/.test(q)
                : (s.endsWith(": " + q) || s.includes(": " + q + " (mostrati")) && !s.includes("finora");
              ok ? setTimeout(() => done(true), 30) : setTimeout(look, 10);
            };
            look(); }))JS");
    }

    // Sets the box and the options as a script would, and searches.
    void search(const std::string& text, bool caseSensitive = false, bool folders = true)
    {
        // The text as a JavaScript string literal.
        const std::string literal = QJsonDocument(QJsonArray{QString::fromStdString(text)})
                                        .toJson(QJsonDocument::Compact)
                                        .mid(1)
                                        .chopped(1)
                                        .toStdString();
        browser.eval(el("maiuscole") + ".checked = " + (caseSensitive ? "true; " : "false; ") + el("cartelle")
            + ".checked = " + (folders ? "true; " : "false; ") + el("q") + ".value = " + literal + "; " + el("q")
            + ".dispatchEvent(new Event('input'))");
        settle();
    }
    void type(const std::string& text)
    {
        browser.type(text);
        settle();
    }
    void click(const char* id)
    {
        browser.eval(el(id) + ".click()");
        settle();
    }
    std::string text(const std::string& expression) { return browser.eval(expression).toString().toStdString(); }
    std::string status() { return text(el("stato") + ".textContent"); }

    // The rows of the kinds named.
    std::vector<Row> rows(const std::string& kinds = "gfdh")
    {
        std::vector<Row> out;
        for (const QJsonValue r :
            browser
                .eval(R"JS([...document.querySelectorAll("#risultati h2, #risultati p, #risultati a:not(.suona)")]
                    .map((e) => [e.tagName === "H2" ? "g" : e.tagName === "A" ? "h" : e.className === "file" ? "f" : "d",
                      e.textContent, e.getAttribute("href") || ""]))JS")
                .toArray())
            if (kinds.find(r[0].toString().toStdString()) != std::string::npos)
                out.push_back(
                    {r[0].toString().toStdString(), r[1].toString().toStdString(), r[2].toString().toStdString()});
        return out;
    }
};

// What zondari-cli search lists for a text: its folder lines and its hits,
// in order.
std::vector<Row> cliSearch(const std::string& folder, const std::string& text, bool caseSensitive, bool folders)
{
    std::filesystem::remove(folder + "/zondari-pagina-di-ricerca.htm");
    runCli(std::string("search ") + (caseSensitive ? "--maiuscole " : "") + (folders ? "" : "--senza-cartelle ") + "-- "
            + shellQuoted(text),
        folder);
    const std::string page = readFile(folder + "/zondari-pagina-di-ricerca.htm");
    EXPECT_FALSE(page.empty()) << text;
    std::vector<Row> out;
    static const std::regex line(R"re(</p><p>([^\r]*)<br>|<a href="([^"]*)">([^<]*)</a><br>)re");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), line); it != std::sregex_iterator(); ++it)
        out.push_back((*it)[1].matched ? Row{"d", unescape((*it)[1]), ""} : Row{"h", unescape((*it)[3]), (*it)[2]});
    return out;
}

} // namespace

TEST(PocketInBrowser, SearchesAsTheUserTypesOrTheAddressSaysAndShowsLongResultsAThousandAtATime)
{
    TempDir program;
    program.write("ZOND_DEFAULT_CASA_1.txt",
        "Le mie canzoni\r\n(/musica/Rock)\r\n/musica/Rock/Vasco - Albachiara.mp3\r\n/musica/Rock/ROCK CAFE.mp3\r\n"
        "(/musica/Pop)\r\n/musica/Pop/rockabilly.mp3\r\n/musica/Pop/altro.mp3\r\n");
    program.write("ZOND_DEFAULT_CD_2.txt",
        "Dal PC\r\n(C:\\Musica\\Caff\xe8)\r\nC:\\Musica\\Caff\xe8\\Perch\xe9 no.mp3\r\nC:\\Musica\\altro 2.mp3\r\n");
    std::string many = "Tanti\r\n(/cd/raccolta)\r\n";
    for (int i = 1; i <= 2345; ++i)
        many += "/cd/raccolta/brano " + std::to_string(i) + ".mp3\r\n";
    program.write("ZOND_DEFAULT_T_3.txt", many);
    Pocket p(program);
    SKIP_WITHOUT_BROWSER(p.browser);
    ASSERT_TRUE(p.open());
    EXPECT_EQ(p.status().rfind(kHint, 0), 0u);

    p.type("r");
    EXPECT_EQ(p.status(), "Inserire una stringa per la ricerca composta almeno da 2 caratteri!");
    EXPECT_TRUE(p.rows().empty());
    p.type("ock");
    EXPECT_EQ(p.status(), "Trovati 3 files contenenti la stringa : rock");
    // (Its folder entries and hits: as zondari-cli search gives them, next test.)
    EXPECT_EQ(p.rows("gf"),
        (std::vector<Row>{{"g", "Raccolta musicale : \"Le mie canzoni\"", ""}, {"f", "ZOND_DEFAULT_CASA_1.txt", ""}}));
    EXPECT_EQ(p.rows("dh").size(), 4u);
    EXPECT_EQ(p.text("location.hash"), "#q=rock");
    p.click("maiuscole");
    EXPECT_EQ(
        p.rows("h"), (std::vector<Row>{{"h", "/musica/Pop/rockabilly.mp3", "file:///musica/Pop/rockabilly.mp3"}}));
    EXPECT_EQ(p.text("location.hash"), "#q=rock&maiuscole=1");
    p.click("maiuscole");
    p.click("cartelle");
    EXPECT_EQ(p.rows().size(), 5u); // the folder entry is gone, the hits stay
    EXPECT_EQ(p.text("location.hash"), "#q=rock&cartelle=0");
    p.click("cartelle");

    p.type("xyz");
    EXPECT_EQ(p.status(), "Non trovato nessun file musicale contenente la stringa : rockxyz");
    EXPECT_TRUE(p.rows().empty());

    // The search in the address runs on opening.
    ASSERT_TRUE(p.open("#q=caff%C3%88&cartelle=0"));
    EXPECT_EQ(p.text(el("q") + ".value"), "caffÈ");
    EXPECT_FALSE(p.browser.eval(el("maiuscole") + ".checked").toBool());
    EXPECT_FALSE(p.browser.eval(el("cartelle") + ".checked").toBool());
    EXPECT_EQ(p.rows().size(), 3u); // its title, its file and the hit, without the folder entry

    for (const std::string text : {"brano", "raccolta"}) { // names, and a folder that makes all its files match
        p.search(text);
        EXPECT_EQ(p.status(), "Trovati 2345 files contenenti la stringa : " + text + " (mostrati i primi 1000)");
        ASSERT_EQ(p.rows("h").size(), 1000u);
        EXPECT_EQ(p.rows("h")[999][1], "/cd/raccolta/brano 1000.mp3");
        p.click("altri");
        EXPECT_EQ(p.rows("h").size(), 2000u);
        p.click("altri");
        ASSERT_EQ(p.rows("h").size(), 2345u);
        EXPECT_EQ(p.rows("h").back()[1], "/cd/raccolta/brano 2345.mp3");
        EXPECT_EQ(p.status(), "Trovati 2345 files contenenti la stringa : " + text);
        EXPECT_TRUE(p.browser.eval(el("altri") + ".hidden").toBool());
    }
}

TEST(PocketInBrowser, FindsWhatTheSearchCommandFindsLetterForLetter)
{
    TempDir program;
    program.write("ZOND_DEFAULT_A_1.txt",
        "Lettere\r\n(/m/Straße)\r\n/m/Straße/STRASSE.mp3\r\n/m/Straße/ﬁne ﬁ.mp3\r\n/m/Straße/FINE fi.mp3\r\n"
        "(/m/Ǆemal ǅ ǆ)\r\n/m/Ǆemal ǅ ǆ/ǆo.mp3\r\n/m/µs Μs/ÿe Ÿe.mp3\r\n/m/İstanbul/ısık ISIK.mp3\r\n"
        "/m/ῳx ᾳx/ΐx.mp3\r\n/m/ꭰꭱ/ᏸᏹ ᎠᎡ.mp3\r\n/m/ŉa/ſs.mp3\r\n/m/Città/perché È "
        "è.mp3\r\n(/m/ab(c)\r\n"
        "/m/ab(c)/d)e.mp3\r\n/m/a\\b/c.mp3\r\nsenza\x10"
        "cartella.mp3\r\n/m/AC DC/\r\n/m/ÿ 𝐀x.mp3\r\n");
    program.write("ZOND_DEFAULT_V_4.txt", "");
    program.write("ZOND_DEFAULT_W_2.txt",
        "Dal PC\r\n(C:\\Musica\\Caff\xe8)\r\nC:\\Musica\\Caff\xe8\\Perch\xe9 no \xff \xb5 \xdf.mp3\r\n");
    Pocket p(program);
    SKIP_WITHOUT_BROWSER(p.browser);
    ASSERT_TRUE(p.open());
    for (const char* text :
        {"ss", "aß", "ße", "SS", "fi", "FI", "ﬁn", "ǅ ", "ǆo", "Ǆo", "DŽO", "µs", "ΜS", "ÿe", "ŸE", "İs", "is", "ıs",
            "IS", "ΐx", "ᾳx", "ᾼX", "ῳX", "ꭰꭱ", "ᎠᎡ", "ᏸᏹ", "ŉa", "ʼN", "ſs", "è ", "È ", "caffè", "CAFFÈ",
            "ße/STR", "e/st", "ße)", "(/m/a", "b(c)", "c)/d", "a\\b", "\\c", "tà", "/m", "o.mp3", "ca", "C/", "Ÿ 𝐀X"}) {
        for (const bool caseSensitive : {false, true}) {
            for (const bool folders : {true, false}) {
                p.search(text, caseSensitive, folders);
                EXPECT_EQ(p.rows("dh"), cliSearch(program.path(), text, caseSensitive, folders))
                    << "\"" << text << "\"" << (caseSensitive ? " maiuscole" : "")
                    << (folders ? "" : " senza cartelle");
            }
        }
    }
}

TEST(PocketInBrowser, NoEntryBreaksOutAndEveryLinkLeadsToItsFile)
{
    TempDir program, music;
    std::vector<std::string> files;
    for (const char* name :
        {"Vasco Rossi/#1 hit 100%.mp3", "Città/\"virgolette\" & l'apostrofo.mp3", "<b>Rock & Roll</b>.mp3",
            "back\\slash `$x`.mp3", "riga\u2028nuova.mp3", "ctrl\x01.mp3", "Caf\xe9/bad\xffname.mp3"})
        files.push_back(music.write(name, "x"));
    music.write("Caf\xe9/note \xfe.txt", "contenuto-grezzo");
    const CliRun scan = runCli("scan --tutti --titolo 'Titolo' " + shellQuoted(music.path()), program.path());
    ASSERT_EQ(scan.status, 0) << scan.err;
    // Entries no file system holds, and a title that would end a script.
    program.write("ZOND_DEFAULT_X_9.txt",
        "</script><script>alert(1)</script> <!--\r\n/x/</script><script>alert(1)</script>\r\n"
        "/x/<!--<script>alert(2)</script>\r\n/y/\u2029'\"\\\r\n");
    Pocket p(program);
    SKIP_WITHOUT_BROWSER(p.browser);
    ASSERT_TRUE(p.open());

    std::vector<Row> rows;
    std::set<std::string> played; // what each hit's play link hands the program
    for (const std::string& text : {std::string("/x/"), std::string("/y/"), music.path()}) {
        p.search(text);
        const std::vector<Row> found = p.rows();
        rows.insert(rows.end(), found.begin(), found.end());
        for (const QJsonValue a :
            p.browser.eval("[...document.querySelectorAll('a.suona')].map((a) => a.href)").toArray()) {
            const auto request = zondari::catalogue::parseAddress(a.toString().toStdString());
            ASSERT_TRUE(request.ok()) << a.toString().toStdString();
            const std::string bytes = readFile(program / request->catalogue);
            EXPECT_EQ(zondari::catalogue::entryProblem(request->catalogue, bytes, request->entry), "");
            played.insert(request->entry);
        }
    }
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                  Row{"g", "Raccolta musicale : \"</script><script>alert(1)</script> <!--\"", ""}),
        rows.end());
    std::set<std::string> texts, reached;
    for (const Row& r : rows) {
        if (r[0] == "h")
            texts.insert(r[1]);
        if (r[0] == "h" && r[1].starts_with(music.path())) {
            EXPECT_TRUE(std::filesystem::exists(fileOf(r[2]))) << r[2];
            reached.insert(fileOf(r[2]));
        }
    }
    for (const std::string& expected : {std::string("/x/</script><script>alert(1)</script>"),
             std::string("/x/<!--<script>alert(2)</script>"), std::string("/y/\u2029'\"\\"),
             music.path() + "/back\\slash `$x`.mp3", music.path() + "/riga\u2028nuova.mp3",
             music.path() + "/ctrl\x01.mp3", music.path() + "/Caf\uFFFD/bad\uFFFDname.mp3"})
        EXPECT_TRUE(texts.count(expected)) << expected;
    for (const std::string& f : files)
        EXPECT_TRUE(reached.count(f) && played.count(f)) << f;
    EXPECT_FALSE(p.browser.eval("window.__dialog === true").toBool());
    EXPECT_EQ(p.browser.eval("document.querySelectorAll('script').length").toInt(), 3);
    EXPECT_EQ(p.browser.eval("document.querySelectorAll('#risultati b, #risultati script').length").toInt(), 0);

    // Followed, the link of a name that is not UTF-8 opens the file itself.
    p.search("note");
    const std::vector<Row> note = p.rows("h");
    ASSERT_EQ(note.size(), 1u);
    ASSERT_TRUE(p.browser.open(note[0][2]));
    EXPECT_EQ(p.text("document.body.innerText"), "contenuto-grezzo");

    // The other pages of the same catalogues: no name became markup, and
    // every link of a scanned track leads to it (in "default.htm" showing
    // its name).
    const std::set<std::string> tracks(files.begin(), files.end());
    for (const std::string& args : {"html " + scan.firstLine(), std::string("database"), std::string("search ROCK")}) {
        const std::string page = runCli(args, program.path()).firstLine();
        ASSERT_TRUE(p.browser.open("file://" + page)) << args;
        EXPECT_EQ(p.browser.eval("document.querySelectorAll('a b, a script, script').length").toInt(), 0) << args;
        std::set<std::string> linked;
        for (const QJsonValue a :
            p.browser.eval("[...document.links].map((a) => [a.getAttribute('href'), a.textContent])").toArray()) {
            const std::string file = fileOf(a[0].toString().toStdString()), text = a[1].toString().toStdString();
            if (!tracks.count(file))
                continue;
            linked.insert(file);
            // (After the last slash of either kind, as a catalogue made on
            // Windows names its files.)
            const std::string name = file.substr(file.find_last_of("/\\") + 1);
            EXPECT_TRUE(!args.starts_with("html") || text == (name == "bad\xffname.mp3" ? "bad\uFFFDname.mp3" : name))
                << text;
        }
        EXPECT_EQ(linked, args == "search ROCK" ? std::set{music / "<b>Rock & Roll</b>.mp3"} : tracks) << args;
    }
}

TEST(PocketInBrowser, ShowsPlayTimeAndSizeAndTakesFieldFiltersAsTheSearchPageDoes)
{
    TempDir program;
    const FilterCatalogues catalogues(program.path());
    if (catalogues.scanned.empty())
        GTEST_SKIP() << "lame or the scan is missing";
    Pocket p(program);
    SKIP_WITHOUT_BROWSER(p.browser);
    ASSERT_TRUE(p.open());
    for (const FilterCase& c : kFilterCases) { // the table zondari-cli search and the dialog pass too
        p.search(c.text, c.caseSensitive);
        std::vector<std::string> names;
        for (const Row& r : p.rows("h"))
            names.push_back(r[1].substr(r[1].find_last_of('/') + 1));
        std::sort(names.begin(), names.end());
        std::string hits;
        for (const std::string& n : names)
            hits += (hits.empty() ? "" : " ") + n;
        if (std::string(c.hits) == kRefused)
            EXPECT_EQ(p.status(), "Inserire una stringa per la ricerca composta almeno da 2 caratteri!") << c.text;
        else
            EXPECT_EQ(hits, c.hits) << c.text << (c.caseSensitive ? " maiuscole" : "");
    }
    // Beside each hit, its play time and size as the program writes them; nothing without data.
    p.search("pink");
    const std::string data = p.text(
        "[...document.querySelectorAll('#risultati a:not(.suona)')].map((a) => a.textContent.replace(/.*\\//, '')"
        " + '=' + (a.previousSibling?.className === 'dati' ? a.previousSibling.textContent : '-'))"
        ".sort().join(' | ')");
    EXPECT_TRUE(std::regex_match(data,
        std::regex(
            "pink floyd.mp3=- \\| pink-live.mp3=0:06 · \\d+(,\\d)? KB \\| pink-time.mp3=0:03 · \\d+(,\\d)? KB \\| "
            "pink.txt=4 byte")))
        << data;
}
