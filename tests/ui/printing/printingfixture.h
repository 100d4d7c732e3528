#pragma once

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

#include "support/qt/controls.h"
#include "support/qt/modal.h"
#include "support/qt/testapp.h"
#include "support/tempdir.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/printing/fonten.h"
#include "ui/printing/frmpreview.h"
#include "ui/printing/printing.h"

// Shared by the printing tests: the program with a catalogue in its window,
// the preview opened from its key, a printer dialog answered with "print
// to this PDF file", the words of that file.
namespace zondari::test {

// Entries "/media/cd/Rock/T000.mp3", ..., printed as "t000.mp3", ...
inline std::vector<std::string> numberedEntries(int n)
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(QString("/media/cd/Rock/T%1.mp3").arg(i, 3, 10, QChar('0')).toStdString());
    return out;
}

inline frmMP3print* startWithCatalogue(TestApp& app, const std::string& title, const std::vector<std::string>& entries)
{
    app.start();
    frmMP3print* w = findCatalogueWindow(app.ctx);
    EXPECT_NE(w, nullptr);
    if (w) {
        Text1(w)->setText(QString::fromStdString(title));
        app.ctx.setCatalogueEntries(entries);
    }
    return w;
}

inline FrmPreview* openPreview(TestApp& app, frmMP3print* w, const QString& columns)
{
    Text2(w)->setText(columns);
    Toolbar1Key(w, "anteprima")->trigger();
    return findPreview(app.ctx);
}

inline void choosePdf(FrmPreview* preview, const std::string& file)
{
    preview->printerDialog = [file](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    };
}

// The column choice the preview shows: 2 to 7, 0 for none.
inline int shownColumns(const FrmPreview* p)
{
    const std::vector<QRadioButton*> options = Option1(p);
    for (std::size_t i = 0; i < options.size(); ++i)
        if (options[i]->isChecked())
            return static_cast<int>(i) + 2;
    return 0;
}

// A word on the page and its box, in millimetres from the paper's corner.
struct Word {
    std::string text;
    double xMin, yMin, xMax, yMax;
};

// The words of the page in the order they were drawn, so that the words of
// one line follow each other even where a line runs under the next column.
inline std::vector<Word> pdfWords(const std::string& pdf)
{
    static const std::regex word(
        R"re(xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">(.*)</word>)re");
    constexpr double mm = 25.4 / 72;
    std::vector<Word> out;
    std::istringstream lines(output("pdftotext -raw -bbox '" + pdf + "' -"));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, word))
            out.push_back(
                {m[5], std::stod(m[1]) * mm, std::stod(m[2]) * mm, std::stod(m[3]) * mm, std::stod(m[4]) * mm});
    }
    return out;
}

} // namespace zondari::test
