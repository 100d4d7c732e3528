#include "ui/player/folderwatch.h"

#include <QSocketNotifier>
#include <QTimer>
#include <array>
#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace zondari {

namespace {

// What changes the listing: names coming and going, a file written to its
// end (its size), a touched date, and the folder itself going away.
constexpr std::uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ATTRIB
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

FolderWatch::FolderWatch(QObject* parent)
    : QObject(parent)
    , delay_(new QTimer(this))
{
    delay_->setSingleShot(true);
    delay_->setInterval(kIntervalMs);
    connect(delay_, &QTimer::timeout, this, &FolderWatch::changed);
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // Without inotify (no watches left) the grid follows folder changes only.
    if (fd_ < 0)
        return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &FolderWatch::readEvents);
}

FolderWatch::~FolderWatch()
{
    if (fd_ >= 0) {
        delete notifier_;
        ::close(fd_);
    }
}

void FolderWatch::watch(const std::string& folder)
{
    if (fd_ < 0 || (folder == folder_ && wd_ >= 0))
        return;
    if (wd_ >= 0)
        ::inotify_rm_watch(fd_, wd_);
    folder_ = folder;
    wd_ = ::inotify_add_watch(fd_, folder.c_str(), kMask);
    // Notices of the folder before are still queued: they are dropped by
    // their watch number as they are read.
    delay_->stop();
}

void FolderWatch::readEvents()
{
    alignas(inotify_event) std::array<char, 16384> buffer;
    bool relevant = false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            inotify_event event;
            std::memcpy(&event, buffer.data() + at, sizeof event);
            at += static_cast<ssize_t>(sizeof event + event.len);
            if (event.mask & IN_Q_OVERFLOW) {
                relevant = true; // too many to tell: list again
                continue;
            }
            if (event.wd != wd_ || wd_ < 0)
                continue;
            if (event.mask & IN_IGNORED) {
                wd_ = -1; // the folder is gone; its listing empties once
                relevant = true;
                continue;
            }
            relevant = true;
        }
    }
    if (relevant && !delay_->isActive())
        delay_->start();
}

} // namespace zondari
