// The pages as a browser sees them: headless Chromium opens each page
// zondari-cli writes, and the help page, and their links must lead to real
// files (this machine has no network: local files and anchors only).

#include <QJsonArray>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

#include "support/cdp.h"
#include "support/cli.h"
#include "support/htmltext.h"

using namespace zondari::test;
namespace fs = std::filesystem;

namespace {

struct Page {
    std::string title, html;
    std::vector<std::pair<std::string, std::string>> links; // target file (or URL of another disk), text
};

// The page Chromium builds from `file`, and every link of it.
Page load(Browser& browser, const std::string& file)
{
    if (!browser.open("file://" + file))
        return {};
    Page p{browser.eval("document.title").toString().toStdString(),
        browser.eval("document.documentElement.outerHTML").toString().toStdString(), {}};
    for (const QJsonValue a :
        browser.eval("[...document.links].map((a) => [a.getAttribute('href'), a.textContent])").toArray()) {
        const std::string href = a[0].toString().toStdString();
        p.links.emplace_back(href.starts_with("file:///C:") ? href : fileOf(href), a[1].toString().toStdString());
    }
    return p;
}

} // namespace

TEST(PagesInBrowser, EveryPageRendersWithEveryFileAWorkingLink)
{
    TempDir program, music;
    // Names that pasting text into markup would break, and one not in UTF-8
    // (kept as its bytes behind the mark, as a scan writes it).
    std::string catalogue = "\xEF\xBB\xBFLe mie canzoni\r\n";
    std::set<std::string> files;
    for (const char* name : {"Vasco Rossi/Albachiara.mp3", "Vasco Rossi/#1 hit 100%.mp3", "Città/perché è.mp3",
             "Città/\"virgolette\" & l'apostrofo.mp3", "<b>Rock & Roll</b>.mp3", "Caf\xe9/bad\xffname.mp3"}) {
        const std::string path = music.write(name, "x");
        // Appended piece by piece: g++ 12 at -O3 reports a false overlap
        // (-Wrestrict) for "(" put before a temporary string.
        catalogue += '(';
        catalogue += path.substr(0, path.rfind('/'));
        catalogue += ")\r\n" + path + "\r\n";
        files.insert(path);
    }
    program.write("ZOND_DEFAULT_CASA_1.txt", catalogue);
    program.write(
        "ZOND_DEFAULT_CD_2.txt", "Dal PC\r\n(C:\\Musica\\Caff\xe8)\r\nC:\\Musica\\Caff\xe8\\Perch\xe9 no.mp3\r\n");
    Browser browser;
    SKIP_WITHOUT_BROWSER(browser);
    auto page = [&](const std::string& args) { return load(browser, runCli(args, program.path()).firstLine()); };

    const Page single = page("html ZOND_DEFAULT_CASA_1.txt");
    EXPECT_EQ(single.title, "Pagina HTML di Zondari");
    std::set<std::string> reached;
    for (const auto& [file, text] : single.links) {
        EXPECT_EQ(
            text, file.find('\xff') == std::string::npos ? fs::path(file).filename().string() : "bad\uFFFDname.mp3");
        reached.insert(file);
    }
    EXPECT_EQ(reached, files); // each an existing file
    EXPECT_EQ(single.html.find("<b>Rock"), std::string::npos); // no name became markup
    EXPECT_NE(single.html.find(R"(<span style="color: #FF0000; font-size: xxx-large"><em><b> Zondari</b></em></span>)"),
        std::string::npos);

    const Page all = page("database");
    EXPECT_EQ(all.title, "Pagina HTML di Zondari - zondari-database-generale.htm");
    ASSERT_EQ(all.links.size(), files.size() + 1);
    EXPECT_EQ(all.links.back().first, "file:///C:/Musica/Caff%C3%A8/Perch%C3%A9%20no.mp3");
    EXPECT_EQ(all.links.back().second, "Perché no.mp3");
    reached.clear();
    for (std::size_t i = 0; i + 1 < all.links.size(); ++i)
        reached.insert(all.links[i].first);
    EXPECT_EQ(reached, files);
    EXPECT_NE(all.html.find(R"(<img src="cassarotante.gif")"), std::string::npos);

    const Page found = page("search ROCK");
    EXPECT_EQ(found.title, "Pagina HTML di Zondari - zondari-pagina-di-ricerca.htm");
    const std::string rock = music / "<b>Rock & Roll</b>.mp3";
    EXPECT_EQ(found.links, (std::vector<std::pair<std::string, std::string>>{{rock, rock}}));
    EXPECT_NE(found.html.find("Trovati  1 files contenenti la stringa : <b>ROCK</b>"), std::string::npos);
    const Page folded = page("search 'PERCHÉ'");
    ASSERT_EQ(folded.links.size(), 2u);
    EXPECT_EQ(folded.links[0].second, music / "Città/perché è.mp3");
    EXPECT_EQ(folded.links[1].second, "C:\\Musica\\Caffè\\Perché no.mp3");
    const Page bad = page("search NAME");
    ASSERT_EQ(bad.links.size(), 1u);
    EXPECT_EQ(bad.links[0], std::pair(music / "Caf\xe9/bad\xffname.mp3", music / "Caf\uFFFD/bad\uFFFDname.mp3"));
}

TEST(HelpInBrowser, EveryLocalLinkOfTheHelpPageLeadsToAFileOrAnAnchor)
{
    Browser browser;
    SKIP_WITHOUT_BROWSER(browser);
    // The help page as F1 opens it: the copy in the program folder.
    const std::string help = std::string(ZONDARI_PROGRAM_DIR) + "/zondari.htm";
    ASSERT_TRUE(browser.open("file://" + help));
    // Every reference the page makes (links, images, style sheets, scripts,
    // frames): where it leads, and for one into the page, whether its
    // anchor is there.
    const QJsonArray references = browser
                                      .eval(R"JS([...document.querySelectorAll("[href], [src]")].map((e) => {
            const url = new URL(e.getAttribute("href") ?? e.getAttribute("src"), location.href);
            const anchor = decodeURIComponent(url.hash.slice(1));
            return [url.href, url.protocol, url.pathname === location.pathname,
              !anchor || !!document.getElementById(anchor) || document.getElementsByName(anchor).length > 0];
          }))JS")
                                      .toArray();
    int local = 0;
    for (const QJsonValue r : references) {
        const std::string url = r[0].toString().toStdString();
        if (r[1].toString() != "file:")
            continue; // a web address: nothing to reach here
        ++local;
        const std::string file = fileOf(url.substr(0, url.find('#')));
        EXPECT_TRUE(fs::is_regular_file(file)) << url;
        if (r[2].toBool())
            EXPECT_TRUE(r[3].toBool()) << url << ": no such anchor in the page";
        else if (url.find('#') != std::string::npos && fs::is_regular_file(file)) {
            Browser other;
            ASSERT_TRUE(other.open(url));
            EXPECT_TRUE(other.eval("!!document.getElementById(decodeURIComponent(location.hash.slice(1)))").toBool())
                << url << ": no such anchor";
        }
    }
    EXPECT_GT(local, 0) << "no local reference read from the page";
    EXPECT_TRUE(browser.eval("[...document.images].every((i) => i.complete && i.naturalWidth > 0)").toBool());
}
