// The pocket catalogue as its user meets it: written by zondari-cli
// tascabile, opened in headless Chromium, typed into key by key.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>

#include "support/cdp.h"
#include "support/cli.h"
#include "support/htmltext.h"

using namespace zondari::test;

namespace {

const std::string kHint = "Scrivere nella casella il nome di una canzone";
const std::string kShort = "Inserire una stringa per la ricerca composta almeno da 2 caratteri!";

// A row of the results as shown: a catalogue's title ("g"), its file name
// ("f"), a folder entry ("d") or a hit ("h", its link, and "t").
struct Row {
    std::string kind, text, href;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << r.kind << ":" << r.text << (r.href.empty() ? "" : " -> " + r.href);
}

std::string js(const std::string& s)
{
    return QString(QJsonDocument(QJsonArray{QString::fromStdString(s)}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1)
        .toStdString();
}

// Chromium with the pocket catalogue of a program folder open.
struct Pocket {
    Browser browser;
    std::string url;

    explicit Pocket(const std::string& programFolder)
    {
        const CliRun run = runCli("tascabile", programFolder);
        EXPECT_EQ(run.status, 0) << run.err;
        url = "file://" + run.firstLine();
        if (browser.ok())
            browser.call("Page.addScriptToEvaluateOnNewDocument",
                {{"source", "window.alert = window.confirm = window.prompt = () => { window.__dialog = true; };"}});
    }

    bool open(const std::string& fragment = {})
    {
        // From elsewhere, so that a new fragment loads the page anew.
        return browser.open("about:blank") && browser.open(url + fragment)
            && browser
                   .eval("new Promise((done) => { const look = () => document.getElementById('q').disabled "
                         "? setTimeout(look, 10) : done(true); look(); })")
                   .toBool();
    }

    // Waits until the page shows the search of what the box holds, whole.
    void settle()
    {
        browser.eval(R"JS(new Promise((done) => {
            const look = () => {
              const q = document.getElementById("q").value.replace(/[\r\n]/g, ""), s = document.getElementById("stato").textContent;
              const ok = !q ? s.startsWith("Scrivere") : [...q].length < 2 ? s.startsWith("Inserire")
                : s.endsWith(": " + q) && !s.includes("finora") || s.includes(": " + q + " (mostrati") && !s.includes("finora");
              ok ? setTimeout(() => done(true), 30) : setTimeout(look, 10);
            };
            look(); }))JS");
    }

    // Sets the box and the options as a script would, and searches.
    void search(const std::string& text, bool caseSensitive = false, bool folders = true)
    {
        browser.eval("(() => { document.getElementById('maiuscole').checked = "
            + std::string(caseSensitive ? "true" : "false") + "; document.getElementById('cartelle').checked = "
            + (folders ? "true" : "false") + "; const q = document.getElementById('q'); q.value = " + js(text)
            + "; q.dispatchEvent(new Event('input')); })()");
        settle();
    }

    void type(const std::string& text)
    {
        for (std::size_t i = 0; i < text.size();) {
            std::size_t n = 1;
            while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
                ++n;
            browser.typeChar(text.substr(i, n));
            i += n;
        }
        settle();
    }

    std::string status()
    {
        return browser.eval("document.getElementById('stato').textContent").toString().toStdString();
    }
    std::string hash() { return browser.eval("location.hash").toString().toStdString(); }
    std::string value() { return browser.eval("document.getElementById('q').value").toString().toStdString(); }
    bool checked(const char* id)
    {
        return browser.eval(std::string("document.getElementById('") + id + "').checked").toBool();
    }
    void click(const char* id)
    {
        browser.eval(std::string("document.getElementById('") + id + "').click()");
        settle();
    }

    std::vector<Row> rows()
    {
        const QJsonArray a = browser
                                 .eval(R"JS([...document.querySelectorAll("#risultati h2, #risultati p, #risultati a")]
              .map((e) => [e.tagName === "H2" ? "g" : e.tagName === "A" ? "h" : e.className === "file" ? "f" : "d",
                e.textContent, e.getAttribute("href") || ""]))JS")
                                 .toArray();
        std::vector<Row> out;
        for (const QJsonValue r : a)
            out.push_back(
                {r[0].toString().toStdString(), r[1].toString().toStdString(), r[2].toString().toStdString()});
        return out;
    }

    std::vector<Row> hits()
    {
        std::vector<Row> out;
        for (const Row& r : rows())
            if (r.kind == "h")
                out.push_back(r);
        return out;
    }
};

// What zondari-cli search lists for a text: its folder lines ("d") and its
// hits ("h", with link), in order.
std::vector<Row> cliSearch(const std::string& folder, const std::string& text, bool caseSensitive, bool folders)
{
    std::filesystem::remove(folder + "/zondari-pagina-di-ricerca.htm");
    runCli("search " + std::string(caseSensitive ? "--maiuscole " : "") + (folders ? "" : "--senza-cartelle ") + "-- "
            + shellQuoted(text),
        folder);
    const std::string page = readFile(folder + "/zondari-pagina-di-ricerca.htm");
    EXPECT_FALSE(page.empty()) << text;
    std::vector<Row> out;
    static const std::regex line(R"re(</p><p>([^\r]*)<br>|<a href="([^"]*)">([^<]*)</a><br>)re");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), line); it != std::sregex_iterator(); ++it) {
        if ((*it)[1].matched)
            out.push_back({"d", unescape((*it)[1]), ""});
        else
            out.push_back({"h", unescape((*it)[3]), (*it)[2]});
    }
    return out;
}

#define SKIP_WITHOUT_BROWSER(p)                                                                                        \
    if (!(p).browser.ok())                                                                                             \
    GTEST_SKIP() << "Chromium cannot start here; the page was not looked at in a browser"

} // namespace

TEST(PocketInBrowser, SearchesAsTheUserTypesWithBothOptionsAndKeepsTheAddressInStep)
{
    TempDir program;
    program.write("ZOND_DEFAULT_CASA_1.txt",
        "Le mie canzoni\r\n(/musica/Rock)\r\n/musica/Rock/Vasco - Albachiara.mp3\r\n/musica/Rock/ROCK CAFE.mp3\r\n"
        "(/musica/Pop)\r\n/musica/Pop/rockabilly.mp3\r\n/musica/Pop/altro.mp3\r\n");
    program.write(
        "ZOND_DEFAULT_CD_2.txt", "Dal PC\r\n(C:\\Musica\\Caff\xe8)\r\nC:\\Musica\\Caff\xe8\\Perch\xe9 no.mp3\r\n");
    Pocket p(program.path());
    SKIP_WITHOUT_BROWSER(p);
    ASSERT_TRUE(p.open());
    EXPECT_EQ(p.status().rfind(kHint, 0), 0u);
    EXPECT_TRUE(p.rows().empty());
    EXPECT_EQ(p.browser.eval("document.title").toString(), "Catalogo tascabile di Zondari");

    p.type("r");
    EXPECT_EQ(p.status(), kShort);
    EXPECT_TRUE(p.rows().empty());
    p.type("ock");
    EXPECT_EQ(p.value(), "rock");
    EXPECT_EQ(p.status(), "Trovati 3 files contenenti la stringa : rock");
    EXPECT_EQ(p.rows(),
        (std::vector<Row>{{"g", "Raccolta musicale : \"Le mie canzoni\"", ""}, {"f", "ZOND_DEFAULT_CASA_1.txt", ""},
            {"d", "(/musica/Rock)", ""},
            {"h", "/musica/Rock/Vasco - Albachiara.mp3", "file:///musica/Rock/Vasco%20-%20Albachiara.mp3"},
            {"h", "/musica/Rock/ROCK CAFE.mp3", "file:///musica/Rock/ROCK%20CAFE.mp3"},
            {"h", "/musica/Pop/rockabilly.mp3", "file:///musica/Pop/rockabilly.mp3"}}));
    EXPECT_EQ(p.hash(), "#q=rock");

    p.click("maiuscole");
    EXPECT_EQ(p.hits(), (std::vector<Row>{{"h", "/musica/Pop/rockabilly.mp3", "file:///musica/Pop/rockabilly.mp3"}}));
    EXPECT_EQ(p.hash(), "#q=rock&maiuscole=1");
    p.click("maiuscole");
    p.click("cartelle");
    EXPECT_EQ(p.rows().size(), 5u); // the folder entry is gone, the hits stay
    EXPECT_EQ(p.hash(), "#q=rock&cartelle=0");
    p.click("cartelle");

    // Letters folded: "È" finds "è" of a catalogue made on Windows.
    for (int i = 0; i < 4; ++i)
        p.browser.pressKey("Backspace");
    p.type("CAFFÈ\\PER");
    EXPECT_EQ(p.status(), "Trovati 1 files contenenti la stringa : CAFFÈ\\PER");
    EXPECT_EQ(p.hits(),
        (std::vector<Row>{
            {"h", "C:\\Musica\\Caffè\\Perché no.mp3", "file:///C:/Musica/Caff%C3%A8/Perch%C3%A9%20no.mp3"}}));
    EXPECT_EQ(p.hash(), "#q=CAFF%C3%88%5CPER");

    p.type("xyz");
    EXPECT_EQ(p.status(), "Non trovato nessun file musicale contenente la stringa : CAFFÈ\\PERxyz");
    EXPECT_TRUE(p.rows().empty());
    p.browser.eval("(() => { const q = document.getElementById('q'); q.select(); })()");
    p.browser.pressKey("Backspace");
    p.settle();
    EXPECT_EQ(p.status().rfind(kHint, 0), 0u);
    EXPECT_TRUE(p.rows().empty());
    EXPECT_EQ(p.hash(), "");
}

TEST(PocketInBrowser, SearchInTheAddressRunsOnOpeningAndFollowsItsChanges)
{
    TempDir program;
    program.write("ZOND_DEFAULT_CD_2.txt",
        "Dal PC\r\n(C:\\Musica\\Caff\xe8)\r\nC:\\Musica\\Caff\xe8\\Perch\xe9 no.mp3\r\nC:\\Musica\\altro.mp3\r\n");
    Pocket p(program.path());
    SKIP_WITHOUT_BROWSER(p);
    ASSERT_TRUE(p.open("#q=caff%C3%88&maiuscole=1"));
    p.settle();
    EXPECT_EQ(p.value(), "caffÈ");
    EXPECT_TRUE(p.checked("maiuscole"));
    EXPECT_TRUE(p.checked("cartelle"));
    EXPECT_EQ(p.status(), "Non trovato nessun file musicale contenente la stringa : caffÈ");

    ASSERT_TRUE(p.open("#q=caff%C3%88&cartelle=0"));
    p.settle();
    EXPECT_FALSE(p.checked("maiuscole"));
    EXPECT_FALSE(p.checked("cartelle"));
    EXPECT_EQ(p.rows().size(), 3u);

    // A changed address searches again without reloading.
    p.browser.eval("location.hash = '#q=altro'");
    p.settle();
    EXPECT_EQ(p.value(), "altro");
    EXPECT_EQ(p.hits(), (std::vector<Row>{{"h", "C:\\Musica\\altro.mp3", "file:///C:/Musica/altro.mp3"}}));
}

TEST(PocketInBrowser, ShowsTheCountAndTheFirstThousandThenTheRestOnRequest)
{
    TempDir program;
    std::string catalogue = "Tanti\r\n(/cd/raccolta)\r\n";
    for (int i = 1; i <= 2345; ++i)
        catalogue += "/cd/raccolta/brano " + std::to_string(i) + ".mp3\r\n";
    program.write("ZOND_DEFAULT_T_1.txt", catalogue);
    Pocket p(program.path());
    SKIP_WITHOUT_BROWSER(p);
    ASSERT_TRUE(p.open());
    for (const char* text : {"brano", "raccolta"}) { // names, and a folder that makes all its files match
        p.search(text);
        EXPECT_EQ(
            p.status(), std::string("Trovati 2345 files contenenti la stringa : ") + text + " (mostrati i primi 1000)");
        std::vector<Row> hits = p.hits();
        ASSERT_EQ(hits.size(), 1000u);
        EXPECT_EQ(hits[999].text, "/cd/raccolta/brano 1000.mp3");
        EXPECT_EQ(p.browser.eval("document.getElementById('altri').hidden").toBool(), false);
        p.click("altri");
        EXPECT_EQ(p.hits().size(), 2000u);
        p.click("altri");
        hits = p.hits();
        ASSERT_EQ(hits.size(), 2345u);
        EXPECT_EQ(hits.back().text, "/cd/raccolta/brano 2345.mp3");
        EXPECT_EQ(p.status(), std::string("Trovati 2345 files contenenti la stringa : ") + text);
        EXPECT_EQ(p.browser.eval("document.getElementById('altri').hidden").toBool(), true);
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
        "/m/ab(c)/d)e.mp3\r\n/m/a\\b/c.mp3\r\nsenza cartella.mp3\r\n");
    program.write("ZOND_DEFAULT_W_2.txt",
        "Dal PC\r\n(C:\\Musica\\Caff\xe8)\r\nC:\\Musica\\Caff\xe8\\Perch\xe9 no \xff \xb5 \xdf.mp3\r\n");
    Pocket p(program.path());
    SKIP_WITHOUT_BROWSER(p);
    ASSERT_TRUE(p.open());
    const char* texts[] = {"ss", "aß", "ße", "SS", "fi", "FI", "ﬁn", "ǅ ", "ǆo", "Ǆo", "DŽO", "µs", "ΜS", "ÿe", "ŸE",
        "İs", "is", "ıs", "IS", "ΐx", "ᾳx", "ᾼX", "ῳX", "ꭰꭱ", "ᎠᎡ", "ᏸᏹ", "ŉa", "ʼN", "ſs", "è ", "È ", "caffè",
        "CAFFÈ", "ße/STR", "e/st", "ße)", "(/m/a", "b(c)", "c)/d", "a\\b", "\\c", "tà", "/m", "o.mp3", "ca"};
    for (const char* text : texts) {
        for (const bool caseSensitive : {false, true}) {
            for (const bool folders : {true, false}) {
                const std::vector<Row> expected = cliSearch(program.path(), text, caseSensitive, folders);
                p.search(text, caseSensitive, folders);
                std::vector<Row> shown;
                for (const Row& r : p.rows())
                    if (r.kind == "d" || r.kind == "h")
                        shown.push_back(r);
                EXPECT_EQ(shown, expected) << "\"" << text << "\"" << (caseSensitive ? " maiuscole" : "")
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
    Pocket p(program.path());
    SKIP_WITHOUT_BROWSER(p);
    ASSERT_TRUE(p.open());

    std::vector<Row> rows;
    for (const std::string& text : {std::string("/x/"), std::string("/y/"), music.path()}) {
        p.search(text);
        const std::vector<Row> found = p.rows();
        rows.insert(rows.end(), found.begin(), found.end());
    }
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                  Row{"g", "Raccolta musicale : \"</script><script>alert(1)</script> <!--\"", ""}),
        rows.end());
    std::vector<std::string> texts;
    std::set<std::string> reached;
    for (const Row& r : rows) {
        if (r.kind != "h")
            continue;
        texts.push_back(r.text);
        if (r.text.rfind(music.path(), 0) == 0) {
            EXPECT_TRUE(std::filesystem::exists(fileOf(r.href))) << r.href;
            reached.insert(fileOf(r.href));
        }
    }
    for (const std::string& expected : {std::string("/x/</script><script>alert(1)</script>"),
             std::string("/x/<!--<script>alert(2)</script>"), std::string("/y/\u2029'\"\\"),
             music.path() + "/back\\slash `$x`.mp3", music.path() + "/riga\u2028nuova.mp3",
             music.path() + "/ctrl\x01.mp3", music.path() + "/Caf\uFFFD/bad\uFFFDname.mp3"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    for (const std::string& f : files)
        EXPECT_TRUE(reached.count(f)) << f;
    EXPECT_FALSE(p.browser.eval("window.__dialog === true").toBool());
    EXPECT_EQ(p.browser.eval("document.querySelectorAll('script').length").toInt(), 3);
    EXPECT_EQ(p.browser.eval("document.querySelectorAll('#risultati b, #risultati script').length").toInt(), 0);

    // Followed, the link of a name that is not UTF-8 opens the file itself.
    p.search("note");
    const std::vector<Row> note = p.hits();
    ASSERT_EQ(note.size(), 1u);
    ASSERT_TRUE(p.browser.open(note[0].href));
    EXPECT_EQ(p.browser.eval("document.body.innerText").toString().toStdString(), "contenuto-grezzo");
}
