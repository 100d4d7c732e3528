#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "core/printing/caseinsert.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QRadioButton;
class QToolButton;

namespace zondari {

class AppContext;

// The preview surface: a white page on which the insert is drawn.
class PreviewPicture : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    QImage image;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// The print preview of the CD case insert: the page reduced onto a white
// picture, the column choice, the font chooser, printing and closing.
class FrmPreview : public QWidget {
    Q_OBJECT
public:
    explicit FrmPreview(AppContext& ctx, QWidget* parent = nullptr);
    ~FrmPreview() override;

    // Loads the settings into the window again and redraws the page.
    void Refresh();

    void Form_Load();
    void Form_Activate();
    void RedrawPreview();
    // Fits `picture` to the page's proportions, maps the page onto it and
    // clears it; gives the ratio of the picture to the page.
    double SetupPreview(PreviewPicture* picture);
    // Draws the insert as the preview shows it: the user's size and
    // columns, or with "Adatta" those found for the page.
    printing::InsertOutcome DrawListing(printing::Surface& target, double scale);

    void Option1_Click(int index);
    void Fit_Click(); // "Adatta"
    void Command1_Click(); // close
    void Command3_Click(); // print
    void Command4_Click(); // font

    // The printer the page goes to: A4 unless the person chose otherwise.
    QPrinter& printer();

    // The printer dialog: the person chooses the printer and its settings;
    // false when they cancel. Tests stand in for the person here.
    std::function<bool(QPrinter&, QWidget*)> printerDialog;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    PreviewPicture* Picture1;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 6> Option1{}; // 2 to 7 columns
    QToolButton* Command4;
    QLabel* Label2;
    QToolButton* Command3;
    QLabel* Label7;
    QToolButton* Command1;
    QLabel* Label1;
    QLabel* LeftOut; // how many entries the insert leaves out
    QCheckBox* Fit; // "Adatta": size and columns that take the whole catalogue
    QLabel* FontSize; // the size the page is drawn at

    // The size and columns the page is drawn with.
    struct Layout {
        double size;
        int columns;
    };
    void fitPicture();
    void placePicture();
    printing::Listing listing() const;
    printing::PrintFont printFont(double size) const;
    // The user's own size and columns, or with "Adatta" those that fit the
    // catalogue, measured on `target` at `scale`.
    Layout layoutFor(printing::Surface& target, const printing::Listing& listing, double scale);
    void showColumns(int columns);
    void showLayout(const Layout& layout);

    AppContext& ctx_;
    QWidget* pageArea_;
    std::unique_ptr<QPrinter> printer_;
    // What "Adatta" found for the page the preview shows: printing prints
    // that page.
    std::optional<Layout> fitted_;
    bool sized_ = false;
    bool loaded_ = false;
};

} // namespace zondari
