#include "ui/printing/fonten.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/catalogue/scanrules.h"
#include "core/printing/fontchoice.h"
#include "ui/appcontext.h"

namespace zondari {
namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The installed families, each once.
std::vector<std::string> installedFamilies()
{
    std::vector<std::string> reported;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            reported.push_back(family.toStdString());
    return printing::listedFamilies(reported);
}

// The sample's size in points.
constexpr int kSamplePoints = 20;
// What a line edit keeps between its frame and its text on either side.
constexpr int kLineEditMargin = 2;

QToolButton* pictureButton(QWidget* parent, QStyle::StandardPixmap icon, const char* name, const char* toolTip)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(toolTip);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setIconSize(QSize(24, 24));
    return b;
}

} // namespace

fONTEN::fONTEN(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , LstFonts(new QListWidget(this))
    , Label1(new QLabel(this))
    , TxtFontPreview(new QLineEdit(this))
    , Check3d1(new QCheckBox("Corsivo", this))
    , Check3d2(new QCheckBox("Grassetto", this))
    , Label2(new QLabel("Altezza font", this))
    , Text1(new QLineEdit(this))
    , cmdOK(pictureButton(this, QStyle::SP_DialogOkButton, "cmdOK", "OK, Confermi"))
    , Label3(new QLabel("OK", this))
    , cmdCancel(pictureButton(this, QStyle::SP_DialogCancelButton, "cmdCancel", "Annulla"))
    , Label4(new QLabel("Annulla", this))
    , ctx_(ctx)
{
    setObjectName("fONTEN");
    setWindowTitle("Scelta carattere");
    setModal(true);
    const std::pair<QObject*, const char*> names[] = {
        {LstFonts, "LstFonts"},
        {Label1, "Label1"},
        {TxtFontPreview, "TxtFontPreview"},
        {Check3d1, "Check3d1"},
        {Check3d2, "Check3d2"},
        {Label2, "Label2"},
        {Text1, "Text1"},
        {Label3, "Label3"},
        {Label4, "Label4"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);
    Label1->setTextFormat(Qt::PlainText);
    TxtFontPreview->setMinimumHeight(48);
    Text1->setMaximumWidth(60);
    Text1->setText(QString::number(catalogue::normalisedFontSize(ctx_.state.PrintFontSize)));
    LstFonts->setMinimumWidth(220);

    auto* size = new QHBoxLayout;
    size->addWidget(Label2);
    size->addWidget(Text1);
    size->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QWidget* w : {static_cast<QWidget*>(cmdOK), static_cast<QWidget*>(Label3), static_cast<QWidget*>(cmdCancel),
             static_cast<QWidget*>(Label4)})
        buttons->addWidget(w);
    auto* right = new QVBoxLayout;
    right->addWidget(Check3d1);
    right->addWidget(Check3d2);
    right->addLayout(size);
    right->addStretch(1);
    auto* choices = new QHBoxLayout;
    choices->addWidget(LstFonts, 1);
    choices->addLayout(right, 1);
    // The sample runs across the whole window: at 20 points a family's
    // name and the sample letters take more than half of it.
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addLayout(buttons, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(choices, 1);
    all->addWidget(TxtFontPreview);
    all->addLayout(bottom);
    resize(560, 340);

    // The sample follows the chosen item, not the list's keyboard cursor.
    connect(LstFonts, &QListWidget::itemSelectionChanged, this, ctx_.slot(this, &fONTEN::LstFonts_Click));
    connect(Check3d1, &QCheckBox::toggled, this, ctx_.slot(this, &fONTEN::Check3d1_Click));
    connect(Check3d2, &QCheckBox::toggled, this, ctx_.slot(this, &fONTEN::Check3d2_Click));
    connect(cmdOK, &QToolButton::clicked, this, ctx_.slot(this, &fONTEN::cmdOK_Click));
    connect(cmdCancel, &QToolButton::clicked, this, ctx_.slot(this, &fONTEN::cmdCancel_Click));
    Label3->installEventFilter(this);
    Label4->installEventFilter(this);
}

bool fONTEN::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (watched == Label3) {
            ctx_.slot(this, &fONTEN::cmdOK_Click)();
            return true;
        }
        if (watched == Label4) {
            ctx_.slot(this, &fONTEN::cmdCancel_Click)();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void fONTEN::Form_Load()
{
    families_ = installedFamilies();
    LstFonts->clear();
    QStringList items;
    for (const std::string& family : families_)
        items << q(family);
    LstFonts->addItems(items);
    Label1->setText(q(printing::fontCountCaption(families_.size())));
    fitSample();
    // Centred once its size is known.
    const Screen& screen = ctx_.services.screen;
    move((screen.toPixels(screen.widthTwips()) - width()) / 2, (screen.toPixels(screen.heightTwips()) - height()) / 2);
}

void fONTEN::fitSample()
{
    // The widest sample is that of some family in bold italic, whichever
    // styles are ticked now.
    int widest = 0;
    for (const std::string& family : families_) {
        QFont font = TxtFontPreview->font();
        font.setFamily(q(family));
        font.setPointSize(kSamplePoints);
        font.setBold(true);
        font.setItalic(true);
        const QFontMetrics metrics(font);
        widest = std::max(widest, metrics.horizontalAdvance(q(printing::sampleText(family))));
    }
    // Around the text the box keeps its margins, room for the cursor and
    // its frame, as a line edit works out its own size.
    const QMargins text = TxtFontPreview->textMargins();
    const QMargins box = TxtFontPreview->contentsMargins();
    const int inside = widest + 2 * kLineEditMargin + 1 + text.left() + text.right() + box.left() + box.right();
    QStyleOptionFrame option;
    option.initFrom(TxtFontPreview);
    option.lineWidth = TxtFontPreview->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, TxtFontPreview);
    const QSize needed = TxtFontPreview->style()->sizeFromContents(
        QStyle::CT_LineEdit, &option, QSize(inside, TxtFontPreview->minimumHeight()), TxtFontPreview);
    // Never wider than the screen, whatever a family calls itself.
    const Screen& screen = ctx_.services.screen;
    TxtFontPreview->setMinimumWidth(std::min(needed.width(), screen.toPixels(screen.widthTwips()) - 40));
    layout()->activate();
    resize(std::max(width(), minimumSizeHint().width()), height());
}

void fONTEN::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    shownItalic_ = Check3d1->isChecked();
    shownBold_ = Check3d2->isChecked();
    shownSize_ = Text1->text();
    ctx_.slot(this, &fONTEN::Form_Paint)();
}

void fONTEN::Form_Paint()
{
    const QString current = q(ctx_.state.PrintFontName);
    for (int i = 0; i < LstFonts->count(); ++i) {
        if (LstFonts->item(i)->text() == current) {
            LstFonts->setCurrentRow(i);
            return;
        }
    }
    // No item is the current font. Left alone, the list would put its
    // cursor on the first family when it takes the focus, which looks as if
    // that family were the current one.
    if (LstFonts->selectedItems().isEmpty())
        LstFonts->setCurrentIndex(QModelIndex());
}

void fONTEN::LstFonts_Click()
{
    const QList<QListWidgetItem*> chosen = LstFonts->selectedItems();
    if (chosen.isEmpty())
        return;
    const QString name = chosen.front()->text();
    TxtFontPreview->setText(q(printing::sampleText(name.toStdString())));
    TxtFontPreview->setCursorPosition(0); // the name, not the end of the sample
    QFont font = TxtFontPreview->font();
    font.setFamily(name);
    font.setPointSize(kSamplePoints);
    TxtFontPreview->setFont(font);
}

void fONTEN::Check3d1_Click()
{
    QFont font = TxtFontPreview->font();
    font.setItalic(Check3d1->isChecked());
    TxtFontPreview->setFont(font);
}

void fONTEN::Check3d2_Click()
{
    QFont font = TxtFontPreview->font();
    font.setBold(Check3d2->isChecked());
    TxtFontPreview->setFont(font);
}

void fONTEN::cmdOK_Click()
{
    AppState& st = ctx_.state;
    const QListWidgetItem* item = LstFonts->currentItem();
    std::string name = item && item->isSelected() ? item->text().toStdString() : std::string();
    // Qt draws with a substitute for a family it lacks without a word: the
    // name is looked up in the installed families instead.
    const std::vector<std::string> families = installedFamilies();
    if (!printing::isInstalled(name, families)) {
        ctx_.dialogs().message(printing::kFontUnavailableMessage);
        name = printing::fallbackFamily(families, QFontInfo(QFont(printing::kFallbackFamily)).family().toStdString());
    }
    const printing::SizeChoice size = printing::chooseFontSize(Text1->text().toStdString());
    if (size.capped)
        Text1->setText("25");
    // The catalogue window shows its list in the print font.
    ctx_.setPrintFont(name, Check3d1->isChecked(), Check3d2->isChecked());
    st.PrintFontSize = size.size;
    QDialog::accept();
}

void fONTEN::cmdCancel_Click()
{
    Check3d1->setChecked(shownItalic_);
    Check3d2->setChecked(shownBold_);
    Text1->setText(shownSize_);
    QDialog::reject();
}

void fONTEN::reject()
{
    ctx_.slot(this, &fONTEN::cmdCancel_Click)();
}

} // namespace zondari
