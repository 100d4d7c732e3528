#include "platform/qt/qtmediaplayer.h"

#include <QUrl>
#include <algorithm>
#include <cerrno>

#include "core/player/mediavolume.h"
#include "core/player/playlist.h"
#include "platform/files.h"

namespace zondari {

namespace {

QUrl urlOf(const std::string& entry)
{
    const QString s = QString::fromStdString(entry);
    return playlist::isWebAddress(entry) ? QUrl(s) : QUrl::fromLocalFile(s);
}

// Marks our own calls into the player, whose state changes are no news.
class OwnCall {
public:
    explicit OwnCall(int& depth) : depth_(depth) { ++depth_; }
    ~OwnCall() { --depth_; }
    OwnCall(const OwnCall&) = delete;
    OwnCall& operator=(const OwnCall&) = delete;

private:
    int& depth_;
};

}  // namespace

QtMediaPlayer::QtMediaPlayer(QObject* parent) : QObject(parent)
{
    renewPlayer();
}

QtMediaPlayer::~QtMediaPlayer()
{
    player_->disconnect(this);
}

void QtMediaPlayer::renewPlayer()
{
    if (player_) {
        player_->disconnect(this);
        player_.reset();
    }
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(&output_);
    connect(player_.get(), &QMediaPlayer::playbackStateChanged, this, &QtMediaPlayer::onPlaybackStateChanged);
    connect(player_.get(), &QMediaPlayer::errorOccurred, this, &QtMediaPlayer::onFailure);
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia)
            onFailure();
    });
}

QMediaPlayer& QtMediaPlayer::usablePlayer()
{
    if (failed_) {
        renewPlayer();
        failed_ = false;
    }
    return *player_;
}

Status QtMediaPlayer::setFileName(const std::string& name)
{
    ++generation_;
    pendingNext_ = false;
    wantPlaying_ = false;
    name_ = name;
    played_ = false;
    unplayable_ = false;
    entries_.clear();
    index_ = 0;
    {
        const OwnCall own(ownCalls_);
        usablePlayer().stop();
    }

    const bool web = playlist::isWebAddress(name);
    const std::string path = web ? name : files::absolutePath(name);
    if (name.empty() || (!web && !files::fileExists(path))) {
        clearSource();
        unplayable_ = true;
        return runtimeErrorFromErrno(ENOENT);
    }
    if (!web && playlist::isPlaylist(path)) {
        entries_ = playlist::expand(path, [](const std::string& p) -> std::optional<std::string> {
            auto bytes = files::readBytes(p);
            return bytes ? std::optional<std::string>(std::move(*bytes)) : std::nullopt;
        });
    } else {
        entries_ = {path};
    }
    // A playlist with nothing playable opens as an empty player: playing
    // it ends at once.
    openFrom(0);
    return {};
}

bool QtMediaPlayer::load(std::size_t index)
{
    index_ = index;
    const std::string& entry = entries_[index];
    if (!playlist::isWebAddress(entry) && !files::fileExists(entry))
        return false;
    const OwnCall own(ownCalls_);
    usablePlayer().setSource(urlOf(entry));
    return true;
}

bool QtMediaPlayer::openFrom(std::size_t index)
{
    for (std::size_t i = index; i < entries_.size(); ++i)
        if (load(i))
            return true;
    index_ = entries_.size();
    clearSource();
    unplayable_ = !played_;
    return false;
}

void QtMediaPlayer::clearSource()
{
    const OwnCall own(ownCalls_);
    usablePlayer().setSource(QUrl());
}

int QtMediaPlayer::playState() const
{
    if (pendingNext_)
        return kPlaying;
    if (failed_)
        return kStopped;
    switch (player_->playbackState()) {
    case QMediaPlayer::PlayingState:
        return kPlaying;
    case QMediaPlayer::PausedState:
        return kPaused;
    default:
        return kStopped;
    }
}

Status QtMediaPlayer::play()
{
    // No file that opened, or a playlist without an entry: nothing plays.
    if (entries_.empty())
        return runtimeErrorFromErrno(ENOENT);
    if (index_ >= entries_.size())
        return {};
    wantPlaying_ = true;
    if (failed_) {
        scheduleNext();
        return {};
    }
    const OwnCall own(ownCalls_);
    player_->play();
    return {};
}

void QtMediaPlayer::pause()
{
    ++generation_;
    pendingNext_ = false;
    if (!wantPlaying_)
        return;
    wantPlaying_ = false;
    if (player_->playbackState() == QMediaPlayer::PlayingState && !failed_) {
        const OwnCall own(ownCalls_);
        player_->pause();
    }
}

void QtMediaPlayer::stop()
{
    const double old = currentPosition();
    ++generation_;
    pendingNext_ = false;
    wantPlaying_ = false;
    {
        const OwnCall own(ownCalls_);
        usablePlayer().stop();
    }
    positionChanged(old, 0.0);
}

double QtMediaPlayer::currentPosition() const
{
    return static_cast<double>(player_->position()) / 1000.0;
}

void QtMediaPlayer::setCurrentPosition(double seconds)
{
    const double old = currentPosition();
    seconds = std::max(seconds, 0.0);
    {
        const OwnCall own(ownCalls_);
        player_->setPosition(static_cast<qint64>(seconds * 1000.0 + 0.5));
    }
    positionChanged(old, seconds);
}

double QtMediaPlayer::duration() const
{
    return static_cast<double>(player_->duration()) / 1000.0;
}

void QtMediaPlayer::setVolume(int hundredthsOfDecibel)
{
    volume_ = std::clamp(hundredthsOfDecibel, kSilentVolume, 0);
    output_.setVolume(static_cast<float>(volumeGain(volume_)));
}

void QtMediaPlayer::onPlaybackStateChanged(QMediaPlayer::PlaybackState state)
{
    // Stopped without our asking: the entry ended (or the sound device
    // went away).
    if (ownCalls_ == 0 && state == QMediaPlayer::StoppedState && wantPlaying_) {
        if (!failed_)
            played_ = true;
        scheduleNext();
    }
}

void QtMediaPlayer::onFailure()
{
    // Qt may report one failure more than once, and keeps its state at
    // playing after it.
    if (failed_ || entries_.empty())
        return;
    failed_ = true;
    if (index_ + 1 >= entries_.size() && !played_)
        unplayable_ = true;
    if (wantPlaying_)
        scheduleNext();
}

void QtMediaPlayer::scheduleNext()
{
    // Qt is still inside its own handling of the end; the next file is set
    // once that is over.
    if (pendingNext_)
        return;
    pendingNext_ = true;
    const unsigned generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == generation_)
                startNextEntry();
        },
        Qt::QueuedConnection);
}

void QtMediaPlayer::startNextEntry()
{
    pendingNext_ = false;
    if (!wantPlaying_)
        return;
    if (index_ + 1 < entries_.size() && openFrom(index_ + 1)) {
        const OwnCall own(ownCalls_);
        player_->play();
        return;
    }
    wantPlaying_ = false;
    // A failed player stays as it is (and reports stopped) until a new file
    // is set: stopping it would keep the window waiting.
    if (!failed_ && player_->playbackState() != QMediaPlayer::StoppedState) {
        const OwnCall own(ownCalls_);
        player_->stop();
    }
}

}  // namespace zondari
