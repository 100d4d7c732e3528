#pragma once

#include <QObject>

#include "platform/mounttable.h"

class QSocketNotifier;

namespace zondari {

// Tells a window when a file system is mounted or unmounted (a disc put
// in, a stick plugged), through the event loop.
class MountWatcher : public QObject {
    Q_OBJECT
public:
    explicit MountWatcher(QObject* parent = nullptr);

signals:
    void changed();

private:
    MountWatch watch_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace zondari
