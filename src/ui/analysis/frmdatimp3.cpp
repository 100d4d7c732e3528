#include "ui/analysis/frmdatimp3.h"

#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>

#include "core/about/version.h"
#include "core/common/paths.h"
#include "core/common/text.h"
#include "platform/files.h"
#include "platform/id3v2file.h"
#include "platform/mp3file.h"
#include "ui/appcontext.h"
#include "ui/catalogue/catalogue.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/player/dirlistbox.h"
#include "ui/shell/childwindow.h"

namespace zondari {
namespace {

constexpr int kWidthTwips = 3650;

} // namespace

frmDATIMP3::frmDATIMP3(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , Label20(new QLabel(this))
    , Command2(new QPushButton("Chiudi", this))
    , Picture7(new QLabel(this))
    , Picture1(new QLabel(this))
    , id3v2Caption(new QLabel(QString::fromUtf8(id3v2::kAbsentText), this))
    , replayGain(new QLabel(this))
    , ctx_(ctx)
{
    setObjectName("frmDATIMP3");
    setWindowTitle("Zondari - Header TAG");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(2);
    Picture7->setObjectName("Picture7");
    Picture7->setCursor(Qt::PointingHandCursor);
    Picture7->setToolTip(kHomePage);
    Picture7->installEventFilter(this);
    Picture1->setObjectName("Picture1");
    grid->addWidget(Picture7, 0, 0, 1, 2, Qt::AlignCenter);

    const auto& labels = mp3::detailLabels();
    int row = 1;
    for (std::size_t i = 0; i < mp3::kDetailCount; ++i) {
        auto* label = new QLabel(QString::fromStdString(labels[i]), this);
        label->setObjectName(QString("Label%1").arg(i + 1));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QString("Text1_%1").arg(i));
        Text1[i]->setReadOnly(true);
        grid->addWidget(label, row, 0);
        grid->addWidget(Text1[i], row, 1);
        ++row;
        if (i == 0) {
            Label20->setObjectName("Label20");
            grid->addWidget(Label20, row++, 1);
            replayGain->setObjectName("replayGain");
            grid->addWidget(replayGain, row++, 1);
            replayGain->hide();
        }
    }
    // The ID3v2 block: a caption with the tag's version, then its fields.
    id3v2Caption->setObjectName("id3v2Caption");
    QFont bold = id3v2Caption->font();
    bold.setBold(true);
    id3v2Caption->setFont(bold);
    grid->addWidget(id3v2Caption, row++, 0, 1, 2);
    for (std::size_t i = 0; i < id3v2::kFieldCount; ++i) {
        const std::string_view caption = id3v2::kFieldLabels[i];
        id3v2Labels[i] = new QLabel(QString::fromUtf8(caption.data(), static_cast<int>(caption.size())), this);
        id3v2Labels[i]->setObjectName(QString("Id3v2Label_%1").arg(i));
        id3v2Fields[i] = new QLineEdit(this);
        id3v2Fields[i]->setObjectName(QString("Id3v2Text_%1").arg(i));
        id3v2Fields[i]->setReadOnly(true);
        grid->addWidget(id3v2Labels[i], row, 0);
        grid->addWidget(id3v2Fields[i], row++, 1);
        id3v2Labels[i]->hide();
        id3v2Fields[i]->hide();
    }
    grid->addWidget(Picture1, row++, 0, 1, 2);
    Command2->setObjectName("Command2");
    grid->addWidget(Command2, row, 0, 1, 2);
    grid->setRowStretch(row - 1, 1);
    connect(Command2, &QPushButton::clicked, this, ctx_.slot(this, &frmDATIMP3::Command2_Click));

    if (files::fileExists(ctx.programPath() + "zondlogo.jpg")) {
        const QPixmap logo(QString::fromStdString(ctx.programPath() + "zondlogo.jpg"));
        Picture7->setPixmap(
            logo.scaledToWidth(ctx.services.screen.toPixels(kWidthTwips) - 40, Qt::SmoothTransformation));
    }
}

void frmDATIMP3::Load()
{
    QMdiSubWindow* self = childWindowOf(this);
    if (!self)
        return;
    const Screen& screen = ctx_.services.screen;
    const QWidget* player = ctx_.player.screenWindow();
    QRect place(0, 0, screen.toPixels(kWidthTwips), player ? player->height() : self->height());
    if (QMdiSubWindow* catalogue = childWindowOf(findCatalogueWindow(ctx_)))
        place.moveTopLeft(catalogue->pos());
    else if (player)
        place.moveTopLeft(QPoint(player->geometry().right() + 1, player->y()));
    self->setGeometry(place);
    growToFit();
}

void frmDATIMP3::fill(const TrackInfo& info)
{
    const auto values = mp3::detailValues(info);
    for (std::size_t i = 0; i < mp3::kDetailCount; ++i) {
        Text1[i]->setText(QString::fromStdString(values[i]));
        if (i == 0)
            Label20->setText(QString::fromStdString(mp3::vbrText(info)));
    }
}

void frmDATIMP3::clearFields()
{
    for (QLineEdit* t : Text1)
        t->clear();
}

void frmDATIMP3::fillId3v2(const Id3v2Tag& tag)
{
    id3v2Caption->setText(QString::fromStdString(id3v2::blockCaption(tag)));
    const auto values = id3v2::fieldValues(tag);
    for (std::size_t i = 0; i < id3v2::kFieldCount; ++i) {
        id3v2Fields[i]->setText(QString::fromStdString(values[i]));
        id3v2Fields[i]->setCursorPosition(0); // a long title shows its start, and all of it on hover
        id3v2Fields[i]->setToolTip(QString::fromStdString(values[i]));
        id3v2Labels[i]->setVisible(tag.present());
        id3v2Fields[i]->setVisible(tag.present());
    }
    growToFit();
}

void frmDATIMP3::showGain(std::optional<double> gainDb)
{
    replayGain->setText(gainDb ? "ReplayGain " + QString::fromStdString(mp3::gainText(*gainDb)) : QString());
    replayGain->setVisible(gainDb.has_value());
}

void frmDATIMP3::growToFit()
{
    QMdiSubWindow* self = childWindowOf(this);
    if (!self)
        return;
    // Taller only: the window keeps the player's height while that holds
    // every row.
    const int needed = self->sizeHint().height();
    if (self->height() < needed)
        self->resize(self->width(), needed);
}

void frmDATIMP3::Command2_Click()
{
    unloadWindow(this);
}

void frmDATIMP3::Picture7_Click()
{
    ctx_.openWithStart(kHomePage);
}

bool frmDATIMP3::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Picture7 && e->type() == QEvent::MouseButtonRelease) {
        ctx_.slot(this, &frmDATIMP3::Picture7_Click)();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void riempimp3(AppContext& ctx, frmDATIMP3* window, const std::string& file)
{
    if (file.size() < 4 || text::toLowerAscii(file.substr(file.size() - 4)) != ".mp3")
        return;
    if (window)
        window->clearFields();
    // The analysis works in the player's folder and leaves it current.
    std::string folder;
    if (ctx.player.present()) {
        folder = ctx.player.musicFolder();
        ctx.player.goToMusicFolder();
    }
    const std::string path = joinPath(folder, text::trimSpaces(file));
    const auto bytes = mp3file::readMp3Bytes(path);
    // A file that cannot be read shows a cleared record, never the last one.
    ctx.state.TrackInfo = bytes ? mp3::DecodeMp3Header(*bytes) : TrackInfo{};
    if (window) {
        window->fill(ctx.state.TrackInfo);
        // Only a file that opens with an ID3v2 header is handed to TagLib.
        const Id3v2Tag v2 = bytes && bytes->tagsInFront > 0 ? readId3v2(path) : Id3v2Tag{};
        window->showGain(v2.trackGainDb ? v2.trackGainDb : bytes ? mp3::encoderGainDb(*bytes) : std::nullopt);
        window->fillId3v2(v2);
    }
}

} // namespace zondari
