#include "ui/player/playerport.h"

#include "core/player/advance.h"
#include "core/player/playstate.h"
#include "platform/mediaplayer.h"
#include "ui/player/form1.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/childwindow.h"

namespace zondari {

void PlayerPort::attach(Form1* window)
{
    window_ = window;
    emit changed();
}

void PlayerPort::detach(const Form1* window)
{
    if (window_ != window)
        return;
    window_ = nullptr;
    emit changed();
}

bool PlayerPort::present() const
{
    return window_ != nullptr;
}

void PlayerPort::playRow(int row)
{
    if (window_)
        window_->playRow(row);
}

void PlayerPort::next()
{
    if (window_ && trackCount() > 0)
        playRow(nextTrackRow(window_->ExtGrid1->row(), window_->ExtGrid1->rows()));
}

void PlayerPort::previous()
{
    if (window_ && trackCount() > 0)
        playRow(previousTrackRow(window_->ExtGrid1->row(), window_->ExtGrid1->rows()));
}

void PlayerPort::play()
{
    if (window_)
        window_->playOrResume();
}

void PlayerPort::pause()
{
    if (window_ && playState() == kPlaying)
        window_->pauseOrResume();
}

void PlayerPort::stop()
{
    if (window_)
        window_->stopPlayback();
}

void PlayerPort::seek(double seconds)
{
    if (window_)
        window_->seekTo(seconds);
}

void PlayerPort::setVolume(int hundredthsOfDecibel)
{
    if (window_)
        window_->media().setVolume(hundredthsOfDecibel);
}

void PlayerPort::openPath(const std::string& absolutePath)
{
    if (window_)
        window_->openPathGuarded(absolutePath);
}

void PlayerPort::rememberPlace()
{
    if (window_)
        window_->rememberPlace();
}

void PlayerPort::resumeWhereStopped()
{
    if (window_)
        window_->resumeWhereStopped();
}

void PlayerPort::goToMusicFolder()
{
    if (window_)
        window_->goToMusicFolder();
}

int PlayerPort::trackCount() const
{
    return window_ ? window_->ExtGrid1->rows() - 1 : 0;
}

int PlayerPort::playState() const
{
    return window_ ? window_->media().playState() : kStopped;
}

bool PlayerPort::playMode() const
{
    return window_ && window_->playMode();
}

std::string PlayerPort::musicFolder() const
{
    return window_ ? window_->musicFolder() : std::string();
}

std::string PlayerPort::currentTrack() const
{
    return window_ ? window_->media().entryPath() : std::string();
}

double PlayerPort::position() const
{
    return window_ ? window_->media().currentPosition() : 0.0;
}

double PlayerPort::duration() const
{
    return window_ ? window_->media().duration() : 0.0;
}

int PlayerPort::volume() const
{
    return window_ ? window_->media().volume() : 0;
}

QWidget* PlayerPort::screenWindow() const
{
    return window_ ? windowOf(window_) : nullptr;
}

} // namespace zondari
