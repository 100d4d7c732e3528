#include "ui/printing/frmpreview.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/catalogue/catalogfile.h"
#include "core/catalogue/entry.h"
#include "core/catalogue/scanrules.h"
#include "core/printing/insertfit.h"
#include "platform/qt/pagesurface.h"
#include "ui/appcontext.h"
#include "ui/printing/printing.h"
#include "ui/shell/childwindow.h"
#include "ui/shell/waitcursor.h"

namespace zondari {
namespace {

const RuntimeError kPrinterError = runtimeError(ErrorCode::PrinterError);

bool realPrinterDialog(QPrinter& printer, QWidget* owner)
{
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

QToolButton* pictureButton(
    QWidget* parent, QStyle::StandardPixmap icon, const QString& themeIcon, const char* name, const char* toolTip)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(toolTip);
    b->setIcon(QIcon::fromTheme(themeIcon, parent->style()->standardIcon(icon)));
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(false);
    return b;
}

} // namespace

void PreviewPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!image.isNull())
        p.drawImage(0, 0, image);
}

FrmPreview::FrmPreview(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , printerDialog(realPrinterDialog)
    , Frame1(new QGroupBox("Colonne", this))
    , Label2(new QLabel("&Font", this))
    , Label7(new QLabel("&Stampa", this))
    , Label1(new QLabel("&OK", this))
    , ctx_(ctx)
    , pageArea_(new QWidget(this))
{
    setObjectName("FrmPreview");
    setWindowTitle("Zondari 2000 - Anteprima");
    Picture1 = new PreviewPicture(pageArea_);
    Picture1->setObjectName("Picture1");
    Picture1->setAttribute(Qt::WA_OpaquePaintEvent);
    LeftOut = new QLabel(pageArea_);
    LeftOut->setObjectName("LeftOut");
    LeftOut->setTextFormat(Qt::PlainText);
    LeftOut->setAlignment(Qt::AlignCenter);
    LeftOut->hide();

    Frame1->setObjectName("Frame1");
    Frame1->setToolTip("N. di colonne in stampa");
    auto* options = new QHBoxLayout(Frame1);
    for (int i = 0; i < 6; ++i) {
        auto* o = new QRadioButton(QString("&%1").arg(i + 2), Frame1);
        o->setObjectName(QString("Option1_%1").arg(i));
        options->addWidget(o);
        connect(o, &QRadioButton::clicked, this, ctx_.slot(this, &FrmPreview::Option1_Click, i));
        Option1[static_cast<std::size_t>(i)] = o;
    }

    Fit = new QCheckBox("&Adatta", this);
    Fit->setObjectName("Fit");
    Fit->setToolTip("Dimensione del font e colonne scelte perché tutto il catalogo entri nell'etichetta");
    FontSize = new QLabel(this);
    FontSize->setObjectName("FontSize");
    FontSize->setTextFormat(Qt::PlainText);
    connect(Fit, &QCheckBox::clicked, this, ctx_.slot(this, &FrmPreview::Fit_Click));

    Command4
        = pictureButton(this, QStyle::SP_FileDialogInfoView, "preferences-desktop-font", "Command4", "Tipo di Font");
    Command3 = pictureButton(this, QStyle::SP_DialogSaveButton, "document-print", "Command3", "Stampa");
    Command1 = pictureButton(this, QStyle::SP_DialogOkButton, "dialog-ok", "Command1", "OK, fatto");
    Label2->setObjectName("Label2");
    Label7->setObjectName("Label7");
    Label1->setObjectName("Label1");

    auto* bar = new QHBoxLayout;
    bar->addWidget(Frame1);
    bar->addSpacing(12);
    bar->addWidget(Fit);
    bar->addSpacing(12);
    bar->addWidget(FontSize);
    bar->addStretch(1);
    // Each button with its caption, which also clicks it.
    const std::pair<QToolButton*, QLabel*> pairs[] = {{Command4, Label2}, {Command3, Label7}, {Command1, Label1}};
    for (const auto& [button, label] : pairs) {
        label->setBuddy(button);
        label->installEventFilter(this);
        label->setCursor(Qt::PointingHandCursor);
        bar->addWidget(button);
        bar->addWidget(label);
        bar->addSpacing(12);
    }
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(6, 6, 6, 6);
    all->addLayout(bar);
    all->addWidget(pageArea_, 1);

    connect(Command4, &QToolButton::clicked, this, ctx_.slot(this, &FrmPreview::Command4_Click));
    connect(Command3, &QToolButton::clicked, this, ctx_.slot(this, &FrmPreview::Command3_Click));
    connect(Command1, &QToolButton::clicked, this, ctx_.slot(this, &FrmPreview::Command1_Click));
}

FrmPreview::~FrmPreview() = default;

bool FrmPreview::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (watched == Label1)
            ctx_.slot(this, &FrmPreview::Command1_Click)();
        else if (watched == Label2)
            ctx_.slot(this, &FrmPreview::Command4_Click)();
        else if (watched == Label7)
            ctx_.slot(this, &FrmPreview::Command3_Click)();
        else
            return QWidget::eventFilter(watched, e);
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void FrmPreview::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!loaded_)
        return;
    fitPicture();
    ctx_.slot(this, &FrmPreview::RedrawPreview)();
}

QPrinter& FrmPreview::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        printer_->setPageOrientation(QPageLayout::Portrait);
        // Positions are measured from the paper's corner, so that the cut
        // lines fall where the case needs them whatever the margins.
        printer_->setFullPage(true);
        printer_->setDocName("Zondari - etichetta CD");
    }
    return *printer_;
}

void FrmPreview::Refresh()
{
    Form_Load();
    RedrawPreview();
}

void FrmPreview::Form_Load()
{
    AppState& st = ctx_.state;
    if (!sized_) {
        // As tall as the screen less a band for the frame, as wide as it;
        // never larger than the frame's area.
        const Screen& screen = ctx_.services.screen;
        QSize size(screen.toPixels(screen.widthTwips()), screen.toPixels(screen.heightTwips() - 700));
        QWidget* window = windowOf(this);
        if (window != this && window->parentWidget())
            size = size.boundedTo(window->parentWidget()->size());
        window->resize(size);
        sized_ = true;
    }
    st.PrintFontSize = catalogue::normalisedFontSize(st.PrintFontSize);
    showLayout({st.PrintFontSize, st.PrintColumns});
    Fit->setChecked(st.PrintFit);
    loaded_ = true;
    fitPicture();
}

void FrmPreview::showColumns(int columns)
{
    // A count outside the choices (the key takes "N. Colonne" as typed)
    // shows no choice rather than a wrong one.
    const int index = columns - 2;
    for (std::size_t i = 0; i < Option1.size(); ++i)
        Option1[i]->setAutoExclusive(false);
    for (std::size_t i = 0; i < Option1.size(); ++i)
        Option1[i]->setChecked(static_cast<int>(i) == index);
    for (std::size_t i = 0; i < Option1.size(); ++i)
        Option1[i]->setAutoExclusive(true);
}

void FrmPreview::showLayout(const Layout& layout)
{
    showColumns(layout.columns);
    // "7,5": the decimal comma, as an Italian reader writes sizes.
    FontSize->setText("Altezza font: " + QString::number(layout.size, 'g', 4).replace('.', ','));
}

void FrmPreview::fitPicture()
{
    // A4-shaped, as tall as the area allows under the line for the entries
    // left out, and centred.
    const int lineHeight = LeftOut->sizeHint().height();
    int height = std::max(1, pageArea_->height() - lineHeight - 4);
    int width = std::max(1, static_cast<int>(height / 297.0 * 210));
    if (width > pageArea_->width())
        width = std::max(1, pageArea_->width());
    Picture1->setGeometry((pageArea_->width() - width) / 2, 0, width, height);
}

void FrmPreview::placePicture()
{
    Picture1->move((pageArea_->width() - Picture1->width()) / 2, 0);
    LeftOut->setGeometry(0, Picture1->geometry().bottom() + 2, pageArea_->width(), LeftOut->sizeHint().height());
}

void FrmPreview::Form_Activate()
{
    RedrawPreview();
}

void FrmPreview::RedrawPreview()
{
    const double scale = SetupPreview(Picture1);
    placePicture();
    if (Picture1->image.isNull())
        return;
    QPainter painter(&Picture1->image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QSizeF page = printer().pageLayout().fullRect(QPageLayout::Millimeter).size();
    // In the picture's own pixels; the painter takes them to the screen's.
    const QSizeF picture = Picture1->image.deviceIndependentSize();
    PageSurface surface(
        painter, page.width(), QPointF(picture.width() / page.width(), picture.height() / page.height()));
    const printing::Listing shown = listing();
    const Layout layout = layoutFor(surface, shown, scale);
    fitted_ = ctx_.state.PrintFit ? std::optional(layout) : std::nullopt;
    const printing::InsertOutcome outcome
        = printing::DrawListing(surface, shown, printFont(layout.size), layout.columns, scale);
    painter.end();
    showLayout(layout);
    const std::string line = printing::leftOutLine(outcome.leftOut);
    LeftOut->setText(QString::fromStdString(line));
    LeftOut->setVisible(!line.empty());
    Picture1->update();
}

double FrmPreview::SetupPreview(PreviewPicture* picture)
{
    const QSizeF page = printer().pageLayout().fullRect(QPageLayout::Millimeter).size();
    const double dpiX = picture->logicalDpiX();
    const double dpiY = picture->logicalDpiY();
    const double heightRatio = picture->height() / dpiY * 25.4 / page.height();
    const double widthRatio = picture->width() / dpiX * 25.4 / page.width();
    double ratio;
    if (heightRatio < widthRatio) {
        ratio = heightRatio;
        picture->resize(
            std::max(1, static_cast<int>(std::lround(page.width() * ratio / 25.4 * dpiX))), picture->height());
    } else {
        ratio = widthRatio;
        picture->resize(
            picture->width(), std::max(1, static_cast<int>(std::lround(page.height() * ratio / 25.4 * dpiY))));
    }
    // The picture's own resolution, so that point sizes scaled by the
    // ratio come out as the page's, reduced; drawn in the screen's pixels,
    // which on a screen of more dots per inch are more than the picture's.
    const qreal pixelRatio = picture->devicePixelRatioF();
    QImage image(picture->size() * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
    image.fill(Qt::white);
    picture->image = std::move(image);
    return ratio;
}

printing::Listing FrmPreview::listing() const
{
    const CurrentCatalogue& shown = ctx_.state.catalogue;
    // The entries as the catalogue window shows them, the folders only when
    // its box asks for them.
    printing::Listing listing{shown.title, {}};
    listing.entries.reserve(shown.entries.size());
    for (const std::string& entry : shown.entries)
        if (shown.printFolders || !catalogue::isFolderEntry(entry))
            listing.entries.push_back(catalogue::displayText(entry));
    return listing;
}

printing::PrintFont FrmPreview::printFont(double size) const
{
    return {ctx_.state.PrintFontName, size, ctx_.state.PrintFontItalic};
}

FrmPreview::Layout FrmPreview::layoutFor(printing::Surface& target, const printing::Listing& listing, double scale)
{
    const AppState& st = ctx_.state;
    if (!st.PrintFit)
        return {st.PrintFontSize, st.PrintColumns};
    const printing::FitChoice fit = printing::fitInsert(target, listing, printFont(st.PrintFontSize), scale);
    return {fit.size, fit.columns};
}

printing::InsertOutcome FrmPreview::DrawListing(printing::Surface& target, double scale)
{
    const printing::Listing shown = listing();
    // The page the preview shows, not a layout measured again on the
    // printer, which could differ from it by a rounding.
    const Layout layout = ctx_.state.PrintFit && fitted_ ? *fitted_ : layoutFor(target, shown, scale);
    return printing::DrawListing(target, shown, printFont(layout.size), layout.columns, scale);
}

void FrmPreview::Fit_Click()
{
    ctx_.state.PrintFit = Fit->isChecked();
    RedrawPreview();
}

void FrmPreview::Option1_Click(int index)
{
    // A column picked by hand is the user's own layout: "Adatta" lets go,
    // and the size goes back to the chosen one.
    ctx_.state.PrintFit = false;
    Fit->setChecked(false);
    ctx_.setPrintColumns(static_cast<std::int16_t>(index + 2));
    Form_Load();
    RedrawPreview();
}

void FrmPreview::Command1_Click()
{
    unloadWindow(this);
}

void FrmPreview::Command3_Click()
{
    QPrinter& p = printer();
    if (!printerDialog(p, this))
        return; // cancelled: nothing printed, nothing said
    p.setFullPage(true);
    const WaitCursor wait;
    QPainter painter;
    if (!painter.begin(&p))
        throw RuntimeFailure(kPrinterError);
    PrinterSurface surface(painter, p);
    DrawListing(surface, 1);
    if (!painter.end() || p.printerState() == QPrinter::Error)
        throw RuntimeFailure(kPrinterError);
}

void FrmPreview::Command4_Click()
{
    showFontChooser(ctx_);
    Form_Load();
    RedrawPreview();
}

} // namespace zondari
