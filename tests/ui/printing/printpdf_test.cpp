#include <QLabel>
#include <QRadioButton>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "printingfixture.h"

using namespace zondari;
using namespace zondari::test;

namespace {

constexpr const char* kSans = "DejaVu Sans";  // installed with the program's setup

std::string entryPath(int i)
{
    char name[40];
    std::snprintf(name, sizeof name, "C:\\Musica\\Rock\\T%03d.MP3", i);
    return name;
}

// The index of an entry as printed ("t012.mp3" -> 12), or -1.
int entryIndex(const std::string& word)
{
    int i = -1;
    char tail[8] = {};
    if (std::sscanf(word.c_str(), "t%3d.%4s", &i, tail) == 2 && std::string(tail) == "mp3")
        return i;
    return -1;
}

std::vector<std::string> entries(int n)
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(entryPath(i));
    return out;
}

// The entries' words on one panel, by index.
std::map<int, Word> entryWords(const std::vector<Word>& words, bool back)
{
    std::map<int, Word> out;
    for (const Word& w : words) {
        const int i = entryIndex(w.text);
        if (i >= 0 && (w.yMin > 141) == back)
            out.emplace(i, w);
    }
    return out;
}

// The left edges of the columns the entries were printed in, to the
// nearest half millimetre.
std::vector<double> columnEdges(const std::map<int, Word>& panel)
{
    std::set<double> edges;
    for (const auto& [i, w] : panel)
        edges.insert(std::round(w.xMin * 2) / 2);
    return {edges.begin(), edges.end()};
}

struct PrintedInsert : ::testing::Test {
    TestApp app;
    TempDir out;
    std::string pdf = out / "etichetta.pdf";

    FrmPreview* open(const std::string& title, const std::vector<std::string>& list, const QString& columns)
    {
        app.state.PrintFontName = kSans;
        frmMP3print* w = startWithCatalogue(app, title, list);
        FrmPreview* preview = w ? openPreview(app, w, columns) : nullptr;
        EXPECT_NE(preview, nullptr);
        return preview;
    }

    std::vector<Word> print(FrmPreview* preview)
    {
        choosePdf(preview, pdf);
        preview->Command3->click();
        EXPECT_TRUE(std::filesystem::exists(pdf));
        return pdfWords(pdf);
    }
};

}  // namespace

TEST_F(PrintedInsert, TitleEntriesPanelsSpinesAndFooterWhereThePageNeedsThem)
{
    std::vector<std::string> list = entries(200);
    list.insert(list.begin(), "(C:\\Musica\\Rock)");
    FrmPreview* preview = open("Rock80", list, "3");
    ASSERT_NE(preview, nullptr);
    const std::vector<Word> words = print(preview);

    const auto title = wordsNamed(words, "Rock80");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_NEAR(title[0].xMin, 21, 0.3);
    EXPECT_NEAR(title[0].yMin, 21, 0.5);

    const auto heading = wordsNamed(words, "(C:\\Musica\\Rock)");
    ASSERT_EQ(heading.size(), 1u);
    EXPECT_NEAR(heading[0].xMin, 21, 0.3);
    EXPECT_GT(heading[0].yMin, title[0].yMax - 0.5);
    EXPECT_TRUE(wordsNamed(words, "T000.MP3").empty());
    // Headings in bold, file names not.
    const std::string xml = pdfXml(pdf);
    EXPECT_NE(xml.find("<b>(C:\\Musica\\Rock)</b>"), std::string::npos);
    EXPECT_NE(xml.find(">t000.mp3<"), std::string::npos);

    const auto front = entryWords(words, false);
    const auto back = entryWords(words, true);
    EXPECT_EQ(columnEdges(front), (std::vector<double>{21, 61, 101}));
    EXPECT_EQ(columnEdges(back), (std::vector<double>{27, 73, 118}));
    // Every entry once, the front's in order, and the first that did not
    // fit there first on the back, at the top of its first column.
    ASSERT_FALSE(front.empty());
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(front.begin()->first, 0);
    const int firstBack = front.rbegin()->first + 1;
    EXPECT_EQ(back.begin()->first, firstBack);
    EXPECT_EQ(back.rbegin()->first, 199);
    EXPECT_EQ(front.size() + back.size(), 200u);
    EXPECT_NEAR(back.at(firstBack).xMin, 27, 0.3);
    EXPECT_NEAR(back.at(firstBack).yMin, 142, 0.5);
    EXPECT_TRUE(preview->LeftOut->isHidden());

    // "Rock80" down both spines, one character a line, each centred on its
    // spine, the whole centred on y = 200.
    for (double spine : {23.0, 167.0}) {
        std::vector<Word> stack;
        for (const Word& w : words)
            if (w.text.size() == 1 && std::abs((w.xMin + w.xMax) / 2 - spine) < 0.5)
                stack.push_back(w);
        ASSERT_EQ(stack.size(), 6u) << spine;
        std::sort(stack.begin(), stack.end(), [](const Word& a, const Word& b) { return a.yMin < b.yMin; });
        std::string down;
        for (const Word& w : stack)
            down += w.text;
        EXPECT_EQ(down, "Rock80");
        const double line = stack[1].yMin - stack[0].yMin;
        EXPECT_NEAR(stack[0].yMin, 200 - 3 * line, 0.6) << spine;
    }

    const auto footer = wordsNamed(words, "Creazione");
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_NEAR(footer[0].xMin, 20, 0.3);
    EXPECT_NEAR(footer[0].yMin, 266, 0.5);
    EXPECT_EQ(wordsNamed(words, "https://www.zondari.it/").size(), 1u);
}

TEST_F(PrintedInsert, ColumnEdgesForEveryColumnChoice)
{
    // Left edges worked out by hand: 120 / n * k + 21 on the front and
    // 137 / n * k + 27 on the back, to the nearest millimetre, halves to even.
    const std::map<int, std::pair<std::vector<double>, std::vector<double>>> expected{
        {2, {{21, 81}, {27, 96}}},
        {3, {{21, 61, 101}, {27, 73, 118}}},
        {4, {{21, 51, 81, 111}, {27, 61, 96, 130}}},
        {5, {{21, 45, 69, 93, 117}, {27, 54, 82, 109, 137}}},
        {6, {{21, 41, 61, 81, 101, 121}, {27, 50, 73, 96, 118, 141}}},
        {7, {{21, 38, 55, 72, 90, 107, 124}, {27, 47, 66, 86, 105, 125, 144}}},
    };
    FrmPreview* preview = open("Edges", entries(75 * 7), "2");
    ASSERT_NE(preview, nullptr);
    for (const auto& [columns, edges] : expected) {
        preview->Option1[static_cast<std::size_t>(columns - 2)]->click();
        ASSERT_EQ(app.state.PrintColumns, columns);
        const std::vector<Word> words = print(preview);
        EXPECT_EQ(columnEdges(entryWords(words, false)), edges.first) << columns << " columns";
        EXPECT_EQ(columnEdges(entryWords(words, true)), edges.second) << columns << " columns";
    }
}

TEST_F(PrintedInsert, ThePreviewSaysHowManyEntriesThePrintedPageLeavesOut)
{
    FrmPreview* preview = open("Tante", entries(600), "2");
    ASSERT_NE(preview, nullptr);
    const std::vector<Word> words = print(preview);
    const std::size_t printed = entryWords(words, false).size() + entryWords(words, true).size();
    ASSERT_GT(printed, 0u);
    ASSERT_LT(printed, 600u);
    // The printed entries are the first ones: those left out are the last.
    EXPECT_EQ(entryWords(words, true).rbegin()->first, static_cast<int>(printed) - 1);
    EXPECT_FALSE(preview->LeftOut->isHidden());
    EXPECT_EQ(preview->LeftOut->text().toStdString(),
              std::to_string(600 - printed) + " voci del catalogo non entrano nell'etichetta e non saranno stampate.");
    // The page itself does not carry the line.
    EXPECT_TRUE(wordsNamed(words, "voci").empty());
}

TEST_F(PrintedInsert, CancellingThePrinterDialogPrintsNothingAndSaysNothing)
{
    FrmPreview* preview = open("Niente", entries(3), "3");
    ASSERT_NE(preview, nullptr);
    const std::size_t messages = app.dialogs.messages.size();
    int asked = 0;
    preview->printerDialog = [&asked, this](QPrinter& printer, QWidget*) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return false;
    };
    preview->Label7->setFocus();
    QTest::mouseClick(preview->Label7, Qt::LeftButton);  // the caption prints too
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(app.dialogs.messages.size(), messages);
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintedInsert, APrinterThatCannotPrintGivesTheRuntimeErrorReport)
{
    FrmPreview* preview = open("Errore", entries(3), "3");
    ASSERT_NE(preview, nullptr);
    choosePdf(preview, out / "manca/etichetta.pdf");
    preview->Command3->click();
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 482);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintedInsert, TheChosenStylesReachThePrintedEntries)
{
    FrmPreview* preview = open("Stili", entries(3), "3");
    ASSERT_NE(preview, nullptr);
    whenFontChooserShown(app.ctx, [](fONTEN& chooser) {
        chooser.Check3d1->setChecked(true);
        chooser.Check3d2->setChecked(true);
        chooser.cmdOK->click();
    });
    preview->Command4->click();
    ASSERT_TRUE(app.state.PrintFontBold);
    ASSERT_TRUE(app.state.PrintFontItalic);
    print(preview);
    const std::string fonts = output("pdffonts '" + pdf + "'");
    EXPECT_NE(fonts.find("BoldOblique"), std::string::npos) << fonts;
    const std::string xml = pdfXml(pdf);
    EXPECT_NE(xml.find("<i><b>t000.mp3</b></i>"), std::string::npos) << xml;
}
