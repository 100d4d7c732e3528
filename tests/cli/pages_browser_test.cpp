// The pages as a browser sees them: headless Chromium loads each page and
// dumps the document it built, whose links must lead to the real files.

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>

#include "support/cli.h"
#include "support/htmltext.h"

using namespace zondari::test;

namespace {

// The document Chromium builds from a URL; empty when it cannot start.
std::string dumpUrl(const std::string& url)
{
    TempDir profile;
    int status = -1;
    std::string dom
        = output("timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-background-networking "
                 "--disable-component-update --disable-sync --no-first-run --user-data-dir='"
                + profile.path() + "' --dump-dom " + shellQuoted(url) + " 2>/dev/null",
            &status);
    return status == 0 ? dom : std::string();
}

// The document Chromium builds from a page of the program.
std::string dumpDom(const std::string& page)
{
    return dumpUrl("file://" + page);
}

struct Page {
    std::string dom, title;
    std::vector<std::pair<std::string, std::string>> links; // target file (or URL), text
};

Page readPage(const std::string& dom)
{
    Page p{dom, {}, {}};
    std::smatch m;
    if (std::regex_search(dom, m, std::regex("<title>([^<]*)</title>")))
        p.title = unescape(m[1]);
    static const std::regex a(R"re(<a href="([^"]*)">([^<]*)</a>)re");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), a); it != std::sregex_iterator(); ++it) {
        const std::string href = unescape((*it)[1]);
        p.links.emplace_back(href.rfind("file:///C:", 0) == 0 ? href : fileOf(href), unescape((*it)[2]));
    }
    return p;
}

} // namespace

TEST(PagesInBrowser, EveryPageRendersWithEveryFileAWorkingLink)
{
    TempDir program, music;
    // Names that pasting text into markup would break.
    std::string catalogue = "Le mie canzoni\r\n";
    std::set<std::string> files;
    for (const char* name : {"Vasco Rossi/Albachiara.mp3", "Vasco Rossi/#1 hit 100%.mp3", "Città/perché è.mp3",
             "Città/\"virgolette\" & l'apostrofo.mp3", "<b>Rock & Roll</b>.mp3"}) {
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
    auto load = [&](const std::string& args) { return readPage(dumpDom(runCli(args, program.path()).firstLine())); };

    const Page single = load("html ZOND_DEFAULT_CASA_1.txt");
    if (single.dom.empty())
        GTEST_SKIP() << "Chromium cannot start here; the pages were not looked at in a browser";
    EXPECT_EQ(single.title, "Pagina HTML di Zondari");
    std::set<std::string> reached;
    for (const auto& [file, text] : single.links) {
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
        EXPECT_EQ(text, file.substr(file.rfind('/') + 1));
        reached.insert(file);
    }
    EXPECT_EQ(reached, files);
    EXPECT_EQ(single.dom.find("<b>Rock"), std::string::npos); // no name became markup
    EXPECT_NE(single.dom.find(R"(<span style="color: #FF0000; font-size: xxx-large"><em><b> Zondari</b></em></span>)"),
        std::string::npos);

    const Page all = load("database");
    EXPECT_EQ(all.title, "Pagina HTML di Zondari - zondari-database-generale.htm");
    ASSERT_EQ(all.links.size(), files.size() + 1);
    EXPECT_EQ(all.links.back().first, "file:///C:/Musica/Caff%C3%A8/Perch%C3%A9%20no.mp3");
    EXPECT_EQ(all.links.back().second, "Perché no.mp3");
    reached.clear();
    for (std::size_t i = 0; i + 1 < all.links.size(); ++i)
        reached.insert(all.links[i].first);
    EXPECT_EQ(reached, files);
    EXPECT_NE(all.dom.find(R"(<img src="cassarotante.gif")"), std::string::npos);

    const Page found = load("search ROCK");
    EXPECT_EQ(found.title, "Pagina HTML di Zondari - zondari-pagina-di-ricerca.htm");
    const std::string rock = music.path() + "/<b>Rock & Roll</b>.mp3";
    EXPECT_EQ(found.links, (std::vector<std::pair<std::string, std::string>>{{rock, rock}}));
    EXPECT_NE(found.dom.find("Trovati  1 files contenenti la stringa : <b>ROCK</b>"), std::string::npos);

    const Page folded = load("search 'PERCHÉ'");
    ASSERT_EQ(folded.links.size(), 2u);
    EXPECT_EQ(folded.links[0].second, music.path() + "/Città/perché è.mp3");
    EXPECT_EQ(folded.links[1].second, "C:\\Musica\\Caffè\\Perché no.mp3");
}

TEST(PagesInBrowser, NameNotInUtf8IsLinkedToTheRealFile)
{
    TempDir program, music;
    const std::string song = music.write("Caf\xe9/bad\xffname.mp3", "x");
    const std::string text = music.write("Caf\xe9/note \xfe.txt", "contenuto-grezzo");
    music.write("Caf\xe9/perché.mp3", "x");
    const CliRun scan = runCli("scan --tutti " + shellQuoted(music.path()), program.path());
    ASSERT_EQ(scan.status, 0) << scan.err;
    auto load = [&](const std::string& args) { return readPage(dumpDom(runCli(args, program.path()).firstLine())); };

    const Page single = load("html " + scan.firstLine());
    if (single.dom.empty())
        GTEST_SKIP() << "Chromium cannot start here; the pages were not looked at in a browser";
    std::set<std::string> targets;
    for (const auto& [file, shown] : single.links) {
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
        targets.insert(file);
    }
    EXPECT_EQ(targets, (std::set<std::string>{song, text, music / "Caf\xe9/perché.mp3"}));
    EXPECT_EQ(single.links[0].second, "bad\uFFFDname.mp3");

    const Page found = load("search NAME");
    ASSERT_EQ(found.links.size(), 1u);
    EXPECT_EQ(found.links[0].first, song);
    EXPECT_EQ(found.links[0].second, music / "Caf\uFFFD/bad\uFFFDname.mp3");

    // Followed, the link opens the file itself.
    const std::regex href("<a href=\"([^\"]*note[^\"]*)\">");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(single.dom, m, href));
    EXPECT_NE(dumpUrl(unescape(m[1])).find("contenuto-grezzo"), std::string::npos) << m[1];
}
