#include "ui/player/mediaplayercontrol.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "platform/mediaplayer.h"

namespace zondari {

namespace {

constexpr int kRefreshMs = 250;

QToolButton* transportButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    // Space belongs to the player window's play/pause command.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

QString minutesSeconds(double seconds)
{
    const auto whole = static_cast<long long>(std::max(0.0, std::floor(seconds)));
    return QString("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QChar('0'));
}

MediaPlayerControl::MediaPlayerControl(std::unique_ptr<MediaPlayer> player, QWidget* parent)
    : QWidget(parent)
    , player_(std::move(player))
    , play_(transportButton(this, "play", QStyle::SP_MediaPlay, "Riproduci"))
    , pause_(transportButton(this, "pause", QStyle::SP_MediaPause, "Pausa"))
    , stop_(transportButton(this, "stop", QStyle::SP_MediaStop, "Ferma"))
    , bar_(new QSlider(Qt::Horizontal, this))
    , time_(new QLabel(this))
    , clock_(new QTimer(this))
{
    bar_->setObjectName("position");
    bar_->setFocusPolicy(Qt::NoFocus);
    bar_->setRange(0, 0);
    bar_->setTracking(false);
    time_->setObjectName("time");
    time_->setMinimumWidth(fontMetrics().horizontalAdvance("00:00 / 00:00") + 4);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(play_);
    row->addWidget(pause_);
    row->addWidget(stop_);
    row->addWidget(bar_, 1);
    row->addWidget(time_);

    connect(play_, &QToolButton::clicked, this, [this] {
        (void)player_->play(); // nothing to play: nothing happens
        refresh();
    });
    connect(pause_, &QToolButton::clicked, this, [this] {
        player_->pause();
        refresh();
    });
    connect(stop_, &QToolButton::clicked, this, [this] {
        player_->stop();
        refresh();
    });
    connect(bar_, &QSlider::valueChanged, this, [this](int ms) {
        player_->setCurrentPosition(ms / 1000.0);
        refresh();
    });
    connect(clock_, &QTimer::timeout, this, &MediaPlayerControl::refresh);
    clock_->start(kRefreshMs);
    refresh();
}

MediaPlayerControl::~MediaPlayerControl() = default;

void MediaPlayerControl::refresh()
{
    const int state = player_->playState();
    play_->setEnabled(state != kPlaying);
    pause_->setEnabled(state == kPlaying);
    const double length = player_->duration();
    const double at = player_->currentPosition();
    if (!bar_->isSliderDown()) {
        const QSignalBlocker quiet(bar_);
        bar_->setRange(0, static_cast<int>(length * 1000.0));
        bar_->setValue(static_cast<int>(at * 1000.0));
    }
    time_->setText(minutesSeconds(at) + " / " + minutesSeconds(length));
}

} // namespace zondari
