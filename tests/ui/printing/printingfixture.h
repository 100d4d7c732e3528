#pragma once

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/qt/testapp.h"
#include "support/tempdir.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/printing/fonten.h"
#include "ui/printing/frmpreview.h"
#include "ui/printing/printing.h"

// What the printing tests share: a program with a catalogue in its
// catalogue window, the preview opened from its key, a "printer" that
// writes a PDF file, and the words of that file with their places.
namespace zondari::test {

// Starts the program and puts a catalogue into its window, as a scan or a
// catalogue's contents would.
inline frmMP3print* startWithCatalogue(TestApp& app, const std::string& title, const std::vector<std::string>& entries)
{
    app.start();
    frmMP3print* w = findCatalogueWindow(app.ctx);
    EXPECT_NE(w, nullptr);
    if (!w)
        return nullptr;
    w->Text1->setText(QString::fromStdString(title));
    w->List1->clear();
    for (const std::string& e : entries)
        w->List1->addItem(QString::fromStdString(e));
    return w;
}

// The catalogue window's preview key with `columns` typed into its box.
inline FrmPreview* openPreview(TestApp& app, frmMP3print* w, const QString& columns)
{
    w->Text2->setText(columns);
    w->toolbarButton("anteprima")->trigger();
    QApplication::processEvents();
    return findPreview(app.ctx);
}

// The person picks "print to file" with this file name in the printer
// dialog (or cancels).
inline void choosePdf(FrmPreview* preview, const std::string& file, int* shown = nullptr)
{
    preview->printerDialog = [file, shown](QPrinter& printer, QWidget*) {
        if (shown)
            ++*shown;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    };
}

// A word of a PDF page and its box, in millimetres from the page's corner.
struct Word {
    std::string text;
    double xMin, yMin, xMax, yMax;
};

inline std::string unescapeXml(std::string s)
{
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
            s.replace(at, std::string(from).size(), to);
    return s;
}

// The words that pdftotext finds on the PDF's pages.
inline std::vector<Word> pdfWords(const std::string& pdf)
{
    int status = 0;
    const std::string html = output("pdftotext -bbox '" + pdf + "' -", &status);
    EXPECT_EQ(status, 0) << "pdftotext " << pdf;
    static const std::regex word(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">(.*)</word>)re");
    constexpr double mm = 25.4 / 72;
    std::vector<Word> out;
    std::istringstream lines(html);
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_search(line, m, word))
            out.push_back({unescapeXml(m[5]), std::stod(m[1]) * mm, std::stod(m[2]) * mm, std::stod(m[3]) * mm,
                           std::stod(m[4]) * mm});
    }
    return out;
}

// The PDF as pdftohtml reads it: lines of text with <b> and <i> marking
// bold and italic.
inline std::string pdfXml(const std::string& pdf)
{
    return output("pdftohtml -xml -i -stdout '" + pdf + "' 2>/dev/null");
}

inline std::vector<Word> wordsNamed(const std::vector<Word>& words, const std::string& text)
{
    std::vector<Word> out;
    for (const Word& w : words)
        if (w.text == text)
            out.push_back(w);
    return out;
}

// Runs `act` on the font chooser once it is up (it is modal: the code that
// opened it waits until it is hidden).
inline void whenFontChooserShown(AppContext& ctx, std::function<void(fONTEN&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, &ctx, act] {
        fONTEN* chooser = findFontChooser(ctx);
        if (!chooser || !chooser->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(*chooser);
    });
    timer->start();
}

}  // namespace zondari::test
