#include "platform/qt/mountwatcher.h"

#include <QSocketNotifier>

namespace zondari {

MountWatcher::MountWatcher(QObject* parent)
    : QObject(parent)
{
    if (watch_.fd() < 0)
        return;
    // The kernel marks the table with POLLPRI, which Qt reports as an
    // exception on the descriptor.
    notifier_ = new QSocketNotifier(watch_.fd(), QSocketNotifier::Exception, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        watch_.consume();
        emit changed();
    });
}

} // namespace zondari
