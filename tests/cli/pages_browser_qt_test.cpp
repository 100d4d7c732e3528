// The help page as a browser sees it: headless Chromium opens it, and its
// links must lead to real files (this machine has no network: local files
// and anchors only). (The pages zondari-cli writes: pocket_browser_qt_test.)

#include <QJsonArray>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/cdp.h"
#include "support/htmltext.h"

using namespace zondari::test;
namespace fs = std::filesystem;

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
