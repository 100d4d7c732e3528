#include "ui/player/form1.h"

#include <QCloseEvent>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "core/common/paths.h"
#include "core/common/text.h"
#include "core/player/playstate.h"
#include "core/player/trackrows.h"
#include "platform/files.h"
#include "platform/mediaplayer.h"
#include "ui/appcontext.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/drivelistbox.h"
#include "ui/player/folderwatch.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/module1.h"

namespace zondari {

namespace {

constexpr int kWidthTwips = 5570;
constexpr int kHeightMarginTwips = 1200;
constexpr int kGridMarginTwips = 4600;
constexpr int kColumn0Twips = 250;
constexpr int kColumn1Twips = 4250;

} // namespace

Form1::Form1(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , Drive1(new DriveListBox(ctx.services.drives, this))
    , Dir1(new DirListBox(this))
    , List2(new QListWidget(this))
    , ExtGrid1(new TrackGrid(this))
    , Image1(new QLabel(this))
    , ctx_(ctx)
    , layout_(new QVBoxLayout(this))
    , watch_(new FolderWatch(this))
{
    setObjectName("Form1");
    setWindowTitle(kPlayerTitle);
    Drive1->setObjectName("Drive1");
    Dir1->setObjectName("Dir1");
    List2->setObjectName("List2");
    ExtGrid1->setObjectName("ExtGrid1");
    Image1->setObjectName("Image1");
    List2->hide();

    Image1->setAlignment(Qt::AlignCenter);
    // A low logo leaves the folder list room above the grid.
    Image1->setFixedHeight(ctx.services.screen.toPixels(660));
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setSpacing(4);
    layout_->addWidget(Image1);
    buildPlayback();
    layout_->addWidget(Drive1);
    layout_->addWidget(Dir1, 1);
    layout_->addWidget(ExtGrid1);

    connect(Dir1, &DirListBox::changed, this, ctx_.slot(this, &Form1::Dir1_Change));
    connect(Drive1, &DriveListBox::changed, this, ctx_.slot(this, &Form1::Drive1_Change));
    connect(watch_, &FolderWatch::changed, this, ctx_.slot(this, &Form1::followFolder));
    ctx.player.attach(this);
}

Form1::~Form1()
{
    ctx_.player.detach(this);
}

void Form1::closeEvent(QCloseEvent* e)
{
    // The window that plays goes silent as it goes, and from now on the
    // rest of the program finds no player.
    rememberPlace();
    Timer1->stop();
    media().stop();
    ctx_.player.detach(this);
    QWidget::closeEvent(e);
}

void Form1::sizeWindow()
{
    const Screen& screen = ctx_.services.screen;
    QWidget* frame = parentWidget() ? parentWidget() : this;
    frame->showNormal();
    frame->resize(screen.toPixels(kWidthTwips), screen.toPixels(screen.heightTwips() - kHeightMarginTwips));
    const int gridTwips = static_cast<int>(screen.toTwips(frame->height())) - kGridMarginTwips;
    ExtGrid1->setFixedHeight(
        std::max(screen.toPixels(gridTwips), 3 * ExtGrid1->verticalHeader()->defaultSectionSize()));
}

void Form1::Load()
{
    sizeWindow();
    {
        // The lists start at the current folder (the program folder at this
        // point) as controls do when they are created: no change event.
        const QSignalBlocker blockDir(Dir1);
        const QSignalBlocker blockDrive(Drive1);
        (void)Dir1->setPath(files::currentFolder()); // the current folder exists: it is where we are
        Drive1->setDrive(files::currentFolder());
    }
    savedDrive_ = Drive1->drive();
    if (const std::string logoFile = ctx_.programPath() + "zondlogo.jpg"; files::fileExists(logoFile)) {
        const QPixmap logo(QString::fromStdString(logoFile));
        Image1->setPixmap(logo.scaled(ctx_.services.screen.toPixels(kWidthTwips) - 16, Image1->height(),
            Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    RiempiTabella();
    if (ctx_.openers.showCatalogue)
        ctx_.openers.showCatalogue();
    enableToolbar();
    ctx_.state.TitoloDisplay = kPlayerTitle;
    // A last folder that is gone leaves the lists where they are.
    (void)Dir1->setPath(ctx_.state.UltimoPath);
    Drive1->setDrive(ctx_.state.UltimoPath);
}

bool Form1::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && parentWidget() && parentWidget()->isMaximized())
        parentWidget()->showNormal();
    return QWidget::event(e);
}

void Form1::RiempiTabella()
{
    const Screen& screen = ctx_.services.screen;
    TrackGridModel* model = ExtGrid1->gridModel();
    model->setHeaders({"N.", "Titolo", "Dimensione", "Data"});
    model->setRows({});

    const std::string p = withSlash(Dir1->path());
    watch_->watch(Dir1->path());
    List2->clear();
    auto names = files::dirSearch(p);
    std::vector<std::string> all = names ? std::move(*names) : std::vector<std::string>{};
    std::vector<TrackRow> rows = trackRows(all, ctx_.state.FilesMusicali, [&p](const std::string& name) {
        const auto st = files::statFile(p + name);
        return st ? std::optional<FileFacts>(FileFacts{st->size, st->modified}) : std::nullopt;
    });
    QStringList work;
    work.reserve(static_cast<int>(rows.size()));
    for (const TrackRow& r : rows)
        work << QString::fromStdString(r.title.substr(1));
    List2->addItems(work);

    // The number column is as narrow as the program has it, unless the
    // numbers need more.
    const int digits = ExtGrid1->fontMetrics().horizontalAdvance(QString::number(rows.size())) + 10;
    ExtGrid1->setColumnWidths(std::max(screen.toPixels(kColumn0Twips), digits), screen.toPixels(kColumn1Twips),
        screen.toPixels(1200), screen.toPixels(1300));
    model->setRows(std::move(rows));
    announce();
}

std::string Form1::musicFolder() const
{
    return Dir1->path();
}

void Form1::Dir1_Change()
{
    check(ctx_.services.folders.changeFolder(Dir1->path()));
    advance_.newRound();
    // What was prepared to follow was the old folder's.
    prepared_.clear();
    media().setNextFileName({});
    // The report of a track that could not be played is about the folder
    // left behind.
    std::string& display = ctx_.state.TitoloDisplay;
    if (display.starts_with(AutoAdvance::report(""))) {
        titleWhenHeard_ = false;
        display = media().playState() == kPlaying ? ctx_.state.BranoCorrente : std::string(kPlayerTitle);
    }
    RiempiTabella();
    ctx_.state.UltimoPath = Dir1->path();
    // A failed save has been shown in the runtime error box; the folder
    // change itself stands.
    (void)saveSettings(ctx_);
}

void Form1::followFolder()
{
    const int row = ExtGrid1->row();
    const std::string selected = ExtGrid1->title(row);
    const int scroll = ExtGrid1->verticalScrollBar()->value();
    QHeaderView* header = ExtGrid1->horizontalHeader();
    std::array<int, 3> widths{};
    for (int c = 1; c <= 3; ++c)
        widths[c - 1] = header->sectionSize(c);

    RiempiTabella();

    for (int c = 1; c <= 3; ++c)
        header->resizeSection(c, widths[c - 1]);
    if (row >= 1) {
        const auto& rows = ExtGrid1->gridModel()->rows();
        auto same = std::find_if(rows.begin(), rows.end(), [&](const TrackRow& r) { return r.title == selected; });
        // The track in play renamed: its row is the one of the same file,
        // under its new name, from which the advance goes on.
        const bool inPlay = text::trimSpaces(selected) == text::trimSpaces(ctx_.state.BranoCorrente);
        if (same == rows.end() && inPlay && playing_) {
            same = std::find_if(rows.begin(), rows.end(), [&](const TrackRow& r) {
                const auto st = files::statFile(joinPath(Dir1->path(), text::trimSpaces(r.title)));
                return st && st->sameFile(*playing_);
            });
            if (same != rows.end()) {
                if (ctx_.state.TitoloDisplay == ctx_.state.BranoCorrente)
                    ctx_.state.TitoloDisplay = same->title;
                ctx_.state.BranoCorrente = same->title;
            }
        }
        // A selected track that is gone leaves the row before it selected,
        // so that the advance goes on with the track that followed it.
        ExtGrid1->setRow(
            same != rows.end() ? static_cast<int>(same - rows.begin()) + 1 : std::min(row - 1, ExtGrid1->rows() - 1));
    }
    ExtGrid1->verticalScrollBar()->setValue(scroll);
    // The row that follows may be another now.
    if (media().playState() == kPlaying)
        prepareNext();
}

void Form1::Drive1_Change()
{
    const std::string drive = Drive1->drive();
    if (!Dir1->setPath(ctx_.services.folders.folderOfDrive(drive)))
        Drive1->setDrive(savedDrive_); // no medium, unreadable: back without a word
}

} // namespace zondari
