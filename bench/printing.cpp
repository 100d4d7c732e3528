// Times the CD case insert for a large catalogue: drawn on a preview
// picture as the preview window draws it, and printed to a PDF file; and
// the preview with "Adatta", which searches the size and columns first. The
// entries come as the catalogue window's list holds them, so converting
// them is part of the time. Prints the medians in seconds and the entries
// left out, then the "Adatta" preview's median, the search's own, the size,
// columns and entries left out it found.
//   bench_printing ENTRIES [RUNS] [PDF]

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "core/printing/caseinsert.h"
#include "core/printing/insertfit.h"
#include "platform/qt/pagesurface.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timed(const std::function<void()>& run)
{
    const auto t0 = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

zondari::printing::Listing listingOf(const QStringList& items)
{
    zondari::printing::Listing listing{"Raccolta di prova", {}};
    listing.entries.reserve(static_cast<std::size_t>(items.size()));
    for (const QString& item : items)
        listing.entries.push_back(item.toStdString());
    return listing;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zondari;
    if (argc < 2) {
        std::fprintf(stderr, "uso: bench_printing VOCI [VOLTE] [PDF]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = std::atoi(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const QString pdf = argc > 3 ? argv[3] : "/tmp/zondari-bench-etichetta.pdf";

    QStringList items;
    for (int i = 0; i < entries; ++i) {
        if (i % 50 == 0)
            items << QString("(/media/cd/Cartella %1)").arg(i / 50);
        items << QString("/media/cd/Cartella %1/%2 - Titolo del brano numero %2.MP3").arg(i / 50).arg(i);
    }
    const printing::PrintFont font{"DejaVu Sans", 8, false};

    // The preview: a picture 595 pixels high at 96 dpi, the page reduced to it.
    std::vector<double> preview;
    std::size_t leftOut = 0;
    for (int r = 0; r < runs; ++r) {
        preview.push_back(timed([&] {
            QImage image(421, 595, QImage::Format_RGB32);
            image.setDotsPerMeterX(3780);
            image.setDotsPerMeterY(3780);
            image.fill(Qt::white);
            QPainter painter(&image);
            PageSurface surface(painter, 210, QPointF(421 / 210.0, 595 / 297.0));
            const double ratio = 595 / 96.0 * 25.4 / 297;
            leftOut = printing::DrawListing(surface, listingOf(items), font, 3, ratio).leftOut;
        }));
    }

    std::vector<double> fitted, searched;
    printing::FitChoice fit;
    for (int r = 0; r < runs; ++r) {
        fitted.push_back(timed([&] {
            QImage image(421, 595, QImage::Format_RGB32);
            image.setDotsPerMeterX(3780);
            image.setDotsPerMeterY(3780);
            image.fill(Qt::white);
            QPainter painter(&image);
            PageSurface surface(painter, 210, QPointF(421 / 210.0, 595 / 297.0));
            const double ratio = 595 / 96.0 * 25.4 / 297;
            const printing::Listing listing = listingOf(items);
            searched.push_back(timed([&] { fit = printing::fitInsert(surface, listing, font, ratio); }));
            const printing::PrintFont fittedFont{font.name, fit.size, font.italic};
            if (printing::DrawListing(surface, listing, fittedFont, fit.columns, ratio).leftOut != fit.leftOut)
                std::fprintf(stderr, "la ricerca e il disegno non concordano\n");
        }));
    }

    std::vector<double> print;
    for (int r = 0; r < runs; ++r) {
        print.push_back(timed([&] {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setFullPage(true);
            QPainter painter(&printer);
            PrinterSurface surface(painter, printer);
            printing::DrawListing(surface, listingOf(items), font, 3, 1);
        }));
    }
    std::printf("%.4f %.4f %zu %.4f %.4f %.1f %d %zu\n", median(preview), median(print), leftOut, median(fitted),
        median(searched), fit.size, fit.columns, fit.leftOut);
    return 0;
}
