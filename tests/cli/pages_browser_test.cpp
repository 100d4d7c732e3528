// The pages as a browser sees them: headless Chromium loads each page and
// dumps the document it built, whose links must lead to the real files.

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <cstring>

#include "core/common/encoding.h"
#include "support/tempdir.h"

using namespace zondari::test;

namespace {

// The document Chromium builds from a page; empty when it cannot start.
std::string dumpDom(const std::string& page)
{
    TempDir profile;
    int status = -1;
    std::string dom = output("timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-background-networking "
                             "--disable-component-update --disable-sync --no-first-run --user-data-dir='" +
                                 profile.path() + "' --dump-dom 'file://" + page + "' 2>/dev/null",
                             &status);
    return status == 0 ? dom : std::string();
}

std::string unescapeHtml(std::string s)
{
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", "\xc2\xa0"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities) {
        for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + std::strlen(to)))
            s.replace(at, std::strlen(from), to);
    }
    return s;
}

std::string percentDecode(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

struct Link {
    std::string href;  // as the document holds it
    std::string text;
};

std::vector<Link> linksOf(const std::string& dom)
{
    std::vector<Link> links;
    static const std::regex a(R"re(<a href="([^"]*)">([^<]*)</a>)re");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), a); it != std::sregex_iterator(); ++it)
        links.push_back({unescapeHtml((*it)[1]), unescapeHtml((*it)[2])});
    return links;
}

std::string titleOf(const std::string& dom)
{
    std::smatch m;
    static const std::regex t(R"re(<title>([^<]*)</title>)re");
    return std::regex_search(dom, m, t) ? unescapeHtml(m[1]) : std::string("(nessun titolo)");
}

// The file a link leads to, when it is a file URL of this machine.
std::string fileOf(const std::string& href)
{
    return href.rfind("file:///", 0) == 0 ? percentDecode(href.substr(7)) : std::string();
}

class PagesInBrowser : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Names that plain string pasting would break: spaces, "#", "%",
        // accents, quotes, markup.
        const std::vector<std::string> names = {
            "Vasco Rossi/Albachiara.mp3", "Vasco Rossi/#1 hit 100%.mp3", "Città/perché è.mp3",
            "Città/\"virgolette\" & l'apostrofo.mp3", "<b>Rock & Roll</b>.mp3",
        };
        entries.push_back("Le mie canzoni");
        std::string lastFolder;
        for (const auto& n : names) {
            const std::string path = music.write(n, "x");
            const std::string folder = path.substr(0, path.rfind('/'));
            if (folder != lastFolder && folder != music.path())
                entries.push_back("(" + folder + ")");
            lastFolder = folder;
            entries.push_back(path);
            files.insert(path);
        }
        std::string catalogue;
        for (const auto& e : entries)
            catalogue += e + "\r\n";
        program.write("ZOND_DEFAULT_CASA_1.txt", catalogue);
        // Made on Windows: Windows-1252 and backslashes.
        program.write("ZOND_DEFAULT_CD_2.txt", "Dal PC\r\n(C:\\Musica\\Caff\xe8)\r\nC:\\Musica\\Caff\xe8\\Perch\xe9 no.mp3\r\n");
    }

    std::string make(const std::string& args)
    {
        int status = -1;
        const std::string out = output("ZONDARI_PROGRAM_FOLDER='" + program.path() + "' '" +
                                           programBinary("zondari-cli") + "' " + args,
                                       &status);
        EXPECT_EQ(status, 0) << args;
        return out.substr(0, out.find('\n'));
    }

    std::string load(const std::string& page)
    {
        std::string dom = dumpDom(page);
        if (dom.empty())
            ADD_FAILURE() << "Chromium gave no document for " << page;
        return dom;
    }

    TempDir program, music;
    std::vector<std::string> entries;
    std::set<std::string> files;
};

}  // namespace

TEST_F(PagesInBrowser, EveryPageRendersWithEveryFileAWorkingLink)
{
    const std::string exportPage = make("html ZOND_DEFAULT_CASA_1.txt");
    const std::string first = dumpDom(exportPage);
    if (first.empty())
        GTEST_SKIP() << "Chromium cannot start here; the pages were not looked at in a browser";

    // default.htm: every file is a link named by its file name, leading to it.
    EXPECT_EQ(titleOf(first), "Pagina HTML di Zondari");
    std::set<std::string> reached;
    for (const Link& l : linksOf(first)) {
        const std::string file = fileOf(l.href);
        EXPECT_TRUE(std::filesystem::exists(file)) << l.href;
        EXPECT_EQ(l.text, file.substr(file.rfind('/') + 1));
        reached.insert(file);
    }
    EXPECT_EQ(reached, files);
    // The names show as written, nothing in them became markup.
    EXPECT_EQ(first.find("<b>Rock"), std::string::npos);
    EXPECT_NE(first.find("Le mie canzoni"), std::string::npos);
    EXPECT_NE(first.find("(" + music.path() + "/Città)"), std::string::npos);
    // The heading: the picture, then " Zondari" in red, large.
    EXPECT_NE(first.find(R"(<img src="chitarra_animata.gif")"), std::string::npos);
    EXPECT_NE(first.find(R"(<span style="color: #FF0000; font-size: xxx-large"><em><b> Zondari</b></em></span>)"),
              std::string::npos);

    // The general page: both catalogues, the Windows one with drive-letter links.
    const std::string all = load(make("database"));
    EXPECT_EQ(titleOf(all), "Pagina HTML di Zondari - zondari-database-generale.htm");
    reached.clear();
    std::vector<std::string> windows;
    for (const Link& l : linksOf(all)) {
        if (l.href.rfind("file:///C:/", 0) == 0) {
            windows.push_back(l.href + " " + l.text);
            continue;
        }
        EXPECT_TRUE(std::filesystem::exists(fileOf(l.href))) << l.href;
        reached.insert(fileOf(l.href));
    }
    EXPECT_EQ(reached, files);
    EXPECT_EQ(windows, std::vector<std::string>{"file:///C:/Musica/Caff%C3%A8/Perch%C3%A9%20no.mp3 Perché no.mp3"});
    EXPECT_NE(all.find(R"(<img src="cassarotante.gif")"), std::string::npos);
    EXPECT_NE(all.find("&nbsp;Zondari&nbsp;&nbsp; "), std::string::npos);

    // The search page: the matching files by their whole path, and the count.
    const std::string found = load(make("search ROCK"));
    EXPECT_EQ(titleOf(found), "Pagina HTML di Zondari - zondari-pagina-di-ricerca.htm");
    const auto links = linksOf(found);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].text, music.path() + "/<b>Rock & Roll</b>.mp3");
    EXPECT_TRUE(std::filesystem::exists(fileOf(links[0].href)));
    EXPECT_NE(found.find("Trovati  1 files contenenti la stringa : <b>ROCK</b>"), std::string::npos);

    // Accented capitals find small accented letters.
    const std::string folded = load(make("search 'PERCHÉ'"));
    std::vector<std::string> texts;
    for (const Link& l : linksOf(folded))
        texts.push_back(l.text);
    EXPECT_EQ(texts, (std::vector<std::string>{music.path() + "/Città/perché è.mp3", "C:\\Musica\\Caffè\\Perché no.mp3"}));
}
