#pragma once

#include <QObject>
#include <string>

class QSocketNotifier;
class QTimer;

namespace zondari {

// Tells when the files of one folder change: a file added, removed, renamed,
// written or touched, or the folder itself removed or moved. Reading a file
// (playing it) is no change. A burst of changes (a copy of many files) comes
// as one notice per interval, the first one interval after it starts, so
// the folder's listing follows within a second without being redone for
// every file.
class FolderWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 250;

    explicit FolderWatch(QObject* parent = nullptr);
    ~FolderWatch() override;

    // Watches `folder` from now on, instead of the one before. A folder that
    // cannot be watched (gone, unreadable) is tried again at the next call.
    void watch(const std::string& folder);
    std::string folder() const { return folder_; }

signals:
    void changed();

private:
    void readEvents();

    int fd_ = -1;
    int wd_ = -1;
    std::string folder_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* delay_;
};

} // namespace zondari
