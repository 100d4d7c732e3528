#include <QMdiSubWindow>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "printingfixture.h"
#include "support/child.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

namespace {

// The entries' words ("t012.mp3" is entry 12) on the front or back panel.
std::map<int, Word> entryWords(const std::vector<Word>& words, bool back)
{
    static const std::regex entry(R"(t(\d{3})\.mp3)");
    std::map<int, Word> out;
    for (const Word& w : words)
        if (std::regex_match(w.text, entry) && (w.yMin > 141) == back)
            out.emplace(std::stoi(w.text.substr(1, 3)), w);
    return out;
}

// The columns' left edges, to the nearest half millimetre.
std::vector<double> edges(const std::map<int, Word>& panel)
{
    std::set<double> out;
    for (const auto& [i, w] : panel)
        out.insert(std::round(w.xMin * 2) / 2);
    return {out.begin(), out.end()};
}

struct PrintedInsert : ::testing::Test {
    TestApp app;
    TempDir out;
    std::string pdf = out / "etichetta.pdf";

    FrmPreview* open(const std::string& title, std::vector<std::string> list, const QString& columns)
    {
        app.state.PrintFontName = "DejaVu Sans"; // installed with the program's setup
        frmMP3print* w = startWithCatalogue(app, title, list);
        return w ? openPreview(app, w, columns) : nullptr;
    }

    std::vector<Word> print(FrmPreview* preview)
    {
        choosePdf(preview, pdf);
        Command3(preview)->click();
        EXPECT_TRUE(std::filesystem::exists(pdf));
        return pdfWords(pdf);
    }
};

} // namespace

TEST_F(PrintedInsert, TitleEntriesSpinesAndFooterInPlaceAndThePreviewSaysHowManyEntriesThePageLeavesOut)
{
    FrmPreview* preview = open("Rock80", numberedEntries(600), "3");
    ASSERT_NE(preview, nullptr);
    const std::vector<Word> words = print(preview);
    const auto near
        = [](const Word& w, double x, double y) { return std::abs(w.xMin - x) < 0.3 && std::abs(w.yMin - y) < 0.5; };
    const auto find = [&words](const std::string& text) {
        const auto it = std::find_if(words.begin(), words.end(), [&](const Word& w) { return w.text == text; });
        return it == words.end() ? Word{} : *it;
    };
    EXPECT_TRUE(near(find("Rock80"), 21, 21));
    EXPECT_TRUE(near(find("Creazione"), 20, 266));
    EXPECT_EQ(find("https://www.zondari.it/").text, "https://www.zondari.it/");

    const auto front = entryWords(words, false);
    const auto back = entryWords(words, true);
    EXPECT_EQ(edges(front), (std::vector<double>{21, 61, 101}));
    EXPECT_EQ(edges(back), (std::vector<double>{27, 73, 118}));
    // Entries in order; the first that did not fit on the front is the
    // first on the back, and the preview counts those after the last.
    ASSERT_FALSE(front.empty() || back.empty());
    EXPECT_EQ(back.begin()->first, front.rbegin()->first + 1);
    EXPECT_TRUE(near(back.begin()->second, 27, 142));
    const std::size_t printed = front.size() + back.size();
    EXPECT_EQ(back.rbegin()->first, static_cast<int>(printed) - 1);
    EXPECT_EQ(LeftOut(preview)->text().toStdString(),
        std::to_string(600 - printed) + " voci del catalogo non entrano nell'etichetta e non saranno stampate.");
    EXPECT_FALSE(LeftOut(preview)->isHidden());
    EXPECT_EQ(std::count_if(words.begin(), words.end(), [](const Word& w) { return w.text == "voci"; }), 0);

    // The title down both spines, characters centred on x = 23 and 167,
    // the stack centred on y = 200.
    for (double spine : {23.0, 167.0}) {
        std::vector<Word> stack;
        std::copy_if(words.begin(), words.end(), std::back_inserter(stack),
            [spine](const Word& w) { return w.text.size() == 1 && std::abs((w.xMin + w.xMax) / 2 - spine) < 0.5; });
        ASSERT_EQ(stack.size(), 6u) << spine;
        std::string down;
        for (const Word& w : stack)
            down += w.text;
        EXPECT_EQ(down, "Rock80");
        EXPECT_NEAR(stack[0].yMin, 200 - 3 * (stack[1].yMin - stack[0].yMin), 0.6) << spine;
    }
}

TEST_F(PrintedInsert, StampaAncheLeDirectoryDecidesWhetherTheFolderLinesAreOnThePreviewAndThePaper)
{
    const std::vector<std::string> withFolders{"(/media/cd/Rock)", "/media/cd/Rock/T000.mp3", "/media/cd/Rock/T001.mp3",
        "(/media/cd/Pop)", "/media/cd/Pop/T002.mp3"};
    const std::vector<std::string> filesOnly{
        "/media/cd/Rock/T000.mp3", "/media/cd/Rock/T001.mp3", "/media/cd/Pop/T002.mp3"};
    const struct {
        bool ticked;
        const std::vector<std::string>* entries;
        const char* printed;
    } cases[] = {
        {true, &withFolders, "(/media/cd/Rock) t000.mp3 t001.mp3 (/media/cd/Pop) t002.mp3"},
        {false, &withFolders, "t000.mp3 t001.mp3 t002.mp3"},
        {true, &filesOnly, "t000.mp3 t001.mp3 t002.mp3"},
    };
    app.state.PrintFontName = "DejaVu Sans";
    frmMP3print* w = startWithCatalogue(app, "Cartelle", {});
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(Check1(w)->isChecked()); // ticked in a new window
    std::vector<QImage> previews;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printed);
        app.ctx.setCatalogueEntries(*c.entries);
        if (Check1(w)->isChecked() != c.ticked)
            QTest::mouseClick(Check1(w), Qt::LeftButton);
        FrmPreview* preview = openPreview(app, w, "3");
        ASSERT_NE(preview, nullptr);
        previews.push_back(Picture1(preview)->image);
        std::string printed;
        for (const Word& word : print(preview))
            if (word.text.front() == '(' || word.text.ends_with(".mp3"))
                printed += (printed.empty() ? "" : " ") + word.text;
        EXPECT_EQ(printed, c.printed);
        if (&c == cases) { // a folder line is bold, as written
            const std::string xml = output("pdftohtml -xml -i -stdout '" + pdf + "'");
            EXPECT_NE(xml.find("<b>(/media/cd/Rock)</b>"), std::string::npos);
        }
    }
    ASSERT_EQ(previews.size(), 3u);
    EXPECT_FALSE(previews[0] == previews[1]) << "the preview did not change";
    EXPECT_TRUE(previews[1] == previews[2]) << "the preview shows more than the files";
}

TEST_F(PrintedInsert, BoldIsTheLayoutsAloneItalicReachesTheWholePageAndCancelOrAFailurePrintsNothing)
{
    std::vector<std::string> list = numberedEntries(3);
    list.insert(list.begin() + 1, "(Cartella)");
    FrmPreview* preview = open("Stili", list, "3");
    ASSERT_NE(preview, nullptr);
    const auto choose = [preview](bool italic, bool bold) {
        ModalSteps<fONTEN> person({[=](fONTEN& chooser) {
            Check3d1(&chooser)->setChecked(italic);
            Check3d2(&chooser)->setChecked(bold);
            cmdOK(&chooser)->click();
        }});
        Command4(preview)->click();
    };
    const QImage upright = Picture1(preview)->image;
    choose(false, true);
    // "Grassetto" adds no bold to the page: the layout has its own.
    EXPECT_TRUE(Picture1(preview)->image == upright) << "the preview changed";
    choose(true, true);
    EXPECT_FALSE(Picture1(preview)->image == upright) << "the preview is as it was";

    // Cancelled, nothing is printed and nothing said; a file that cannot be
    // made is the runtime's error.
    const std::size_t messages = app.dialogs.messages.size();
    preview->printerDialog = [this](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return false;
    };
    QTest::mouseClick(Label7(preview), Qt::LeftButton); // the caption prints as its button does
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(app.dialogs.messages.size(), messages);
    choosePdf(preview, out / "manca/etichetta.pdf");
    Command3(preview)->click();
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 482);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    print(preview);

    // Every face slanted: the layout's bold ones and the entries' upright
    // weight, none upright and no more bold than the layout's.
    const std::string fonts = output("pdffonts '" + pdf + "'");
    for (const char* face : {"DejaVuSans-BoldOblique ", "DejaVuSans-Oblique "})
        EXPECT_NE(fonts.find(face), std::string::npos) << face << "\n" << fonts;
    for (const char* face : {"DejaVuSans-Bold ", "DejaVuSans "})
        EXPECT_EQ(fonts.find(face), std::string::npos) << face << "\n" << fonts;
}

TEST_F(PrintedInsert, OneClickOnThePreviewKeyWithNineInTheBoxOpensThePreviewWithNineColumns)
{
    app.state.PrintFontName = "DejaVu Sans";
    frmMP3print* w = startWithCatalogue(app, "Nove", numberedEntries(60));
    ASSERT_NE(w, nullptr);
    QApplication::setActiveWindow(app.frame.get());
    Text2(w)->setFocus();
    Text2(w)->setText("9");
    ASSERT_EQ(QApplication::focusWidget(), Text2(w));
    app.dialogs.messages.clear();
    // The person clicks the key with the mouse; the focus stays in the
    // box, which the key reads as typed.
    QTest::mouseClick(Toolbar1(w)->widgetForAction(Toolbar1Key(w, "anteprima")), Qt::LeftButton);
    QApplication::processEvents();
    FrmPreview* preview = findPreview(app.ctx);
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(app.dialogs.texts().empty()) << app.dialogs.texts().front();
    EXPECT_EQ(Text2(w)->text().toStdString(), "9");
    EXPECT_EQ(app.state.PrintColumns, 9);
    const auto front = entryWords(print(preview), false);
    const std::vector<double> nine{21, 34}; // 120 / 9 + 21 = 34.3
    EXPECT_EQ(edges(front), nine);
}

namespace {

// The printed lines that begin with `first`, each as much of it as shows:
// its whole words left of where the white-out after its column starts (the
// text under a white-out stays in the file). `columns` per panel; the
// white-outs of the page are at 118 / columns x k + 20 mm on the front and
// 135 / columns x k + 26 mm on the back, and after the last column at 140
// and 163 mm.
std::vector<std::string> shownLines(const std::vector<Word>& words, const std::string& first, int columns)
{
    std::vector<std::string> out;
    double cut = 0, y = -1;
    for (const Word& w : words) {
        if (std::abs(w.yMin - y) > 0.01 && w.text == first) {
            const bool back = w.yMin > 141;
            const double pitch = back ? 135.0 / columns : 118.0 / columns;
            const double start = back ? 26 : 20;
            const int k = static_cast<int>((w.xMin - start) / pitch); // the column it starts in
            cut = k + 1 < columns ? pitch * (k + 1) + start : (back ? 163 : 140);
            y = w.yMin;
            out.push_back(w.text);
        } else if (std::abs(w.yMin - y) < 0.01 && w.xMax <= cut) {
            out.back() += " " + w.text;
        } else if (std::abs(w.yMin - y) > 0.01) {
            y = -1; // another line
        }
    }
    return out;
}

} // namespace

TEST_F(PrintedInsert, AdattaPrintsEveryEntryAndEnoughOfEachNameToTellThemApart)
{
    // Names alike for their first dozen characters: the layout must show
    // more of them rather than fill the most columns at the largest size.
    std::vector<std::string> list;
    for (const std::string& e : numberedEntries(400))
        list.push_back("/media/cd/Brano numero " + e.substr(16, 3) + " - Artista di prova.mp3");
    FrmPreview* preview = open("Prova", list, "3");
    ASSERT_NE(preview, nullptr);
    QTest::mouseClick(Fit(preview), Qt::LeftButton);
    EXPECT_TRUE(LeftOut(preview)->isHidden());
    const int columns = shownColumns(preview);
    ASSERT_GE(columns, 2);
    const std::vector<Word> words = print(preview);
    std::set<long> frontEdges; // in the columns the preview shows
    for (const Word& w : words)
        if (w.text == "brano" && w.yMin < 141)
            frontEdges.insert(std::lround(w.xMin));
    EXPECT_EQ(frontEdges.size(), static_cast<std::size_t>(columns));
    const std::vector<std::string> shown = shownLines(words, "brano", columns);
    EXPECT_EQ(shown.size(), 400u);
    const std::set<std::string> distinct(shown.begin(), shown.end());
    EXPECT_EQ(distinct.size(), 400u) << "e.g. \"" << shown.front() << "\" in " << columns << " columns at "
                                     << FontSize(preview)->text().toStdString();
    // The user's own choice stays theirs, and unticking gives it back.
    EXPECT_EQ(app.state.PrintColumns, 3);
    QTest::mouseClick(Fit(preview), Qt::LeftButton);
    EXPECT_FALSE(app.state.PrintFit);
    EXPECT_EQ(FontSize(preview)->text(), "Altezza font: 8");
    EXPECT_EQ(shownColumns(preview), 3);
}

namespace {

// Where the run at a screen of 144 dpi leaves its paper and its preview.
constexpr const char* kHighDpiOut = "ZONDARI_PRINT_144_DPI_OUT";

// Each word with its box, a line each, to compare two papers by.
std::string wordsWithBoxes(const std::string& pdf)
{
    std::ostringstream out;
    out.precision(2);
    out << std::fixed;
    for (const Word& w : pdfWords(pdf))
        out << w.text << " " << w.xMin << " " << w.yMin << " " << w.xMax << " " << w.yMax << "\n";
    return out.str();
}

// The fonts of the paper, as pdffonts lists them below its heading.
std::string paperFonts(const std::string& pdf)
{
    const std::string fonts = output("pdffonts '" + pdf + "'");
    const auto rule = fonts.find("\n---");
    return rule == std::string::npos ? std::string() : fonts.substr(rule);
}

// The smallest rectangle that holds all the ink of a picture.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

// How many of the rows with ink repeat the row above them exactly: a
// picture stretched by one and a half repeats one row in three.
double repeatedRows(const QImage& image)
{
    int inked = 0, repeated = 0;
    for (int y = 1; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const auto* above = reinterpret_cast<const QRgb*>(image.constScanLine(y - 1));
        if (std::none_of(row, row + image.width(), [](QRgb p) { return qGray(p) < 128; }))
            continue;
        ++inked;
        repeated += std::equal(row, row + image.width(), above);
    }
    return inked ? double(repeated) / inked : 0;
}

} // namespace

TEST_F(PrintedInsert, AtAScreenOf144DpiThePaperIsTheSameAndThePreviewShowsThePageInTheScreensPixels)
{
    // Run here at 96 dpi, then again in a child whose screen has 144.
    const char* childOut = std::getenv(kHighDpiOut);
    const std::string folder = childOut ? childOut : out.path();
    const std::string run = folder + (childOut ? "/144" : "/96");
    std::vector<std::string> list = numberedEntries(300);
    list.insert(list.begin(), "(C:\\Musica\\Rock)");
    FrmPreview* preview = open("Rock80", list, "3");
    ASSERT_NE(preview, nullptr);
    childWindowOf(preview)->resize(900, 700);
    QApplication::processEvents();
    // The size and columns are measured on the preview and go to paper.
    QTest::mouseClick(Fit(preview), Qt::LeftButton);
    for (const QWidget* c : preview->findChildren<QWidget*>()) {
        if (!c->isHidden()) {
            EXPECT_TRUE(preview->rect().contains(QRect(c->mapTo(preview, QPoint()), c->size())))
                << c->objectName().toStdString() << " is cut";
        }
    }
    choosePdf(preview, run + ".pdf");
    Command3(preview)->click();
    ASSERT_TRUE(Picture1(preview)->grab().save(QString::fromStdString(run + ".png")));
    if (childOut)
        return;

    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    Child child({std::filesystem::read_symlink("/proc/self/exe").string(),
                    std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()},
        {"QT_FONT_DPI=144", std::string(kHighDpiOut) + "=" + folder});
    child.readToEnd(std::chrono::seconds(120));
    ASSERT_EQ(child.wait(), 0) << child.output();
    ASSERT_NE(child.output().find("[  PASSED  ] 1 test"), std::string::npos) << child.output();

    // The same paper: every word in the same place, in the same faces.
    EXPECT_EQ(wordsWithBoxes(folder + "/144.pdf"), wordsWithBoxes(folder + "/96.pdf"));
    EXPECT_NE(wordsWithBoxes(folder + "/96.pdf").find("\nt299.mp3 "), std::string::npos);
    EXPECT_EQ(paperFonts(folder + "/144.pdf"), paperFonts(folder + "/96.pdf"));
    EXPECT_NE(paperFonts(folder + "/96.pdf").find("DejaVuSans-Bold "), std::string::npos);

    // The same page on the screen, half as many pixels again each way, and
    // drawn in them rather than stretched from the smaller picture.
    const QImage at96(QString::fromStdString(folder + "/96.png"));
    const QImage at144 = QImage(QString::fromStdString(folder + "/144.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(at96.isNull() || at144.isNull());
    EXPECT_EQ(at144.size(), at96.size() * 1.5);
    const QRect ink96 = inkBox(at96), ink144 = inkBox(at144);
    for (const auto& [at96Edge, at144Edge] : {std::pair{ink96.left(), ink144.left()}, {ink96.top(), ink144.top()},
             {ink96.right(), ink144.right()}, {ink96.bottom(), ink144.bottom()}})
        EXPECT_NEAR(at144Edge / 1.5, at96Edge, 2) << "the page is not whole";
    EXPECT_LT(repeatedRows(at144), 1.0 / 6) << "stretched";
}
