#include "ui/catalogue/scanjob.h"

#include <QPromise>
#include <QtConcurrentRun>
#include <algorithm>
#include <climits>

#include "core/catalogue/sidefile.h"
#include "platform/folderwalk.h"
#include "platform/volume.h"

namespace zondari {

namespace cat = catalogue;

namespace {

// "1234567" as "1.234.567".
QString grouped(std::size_t n)
{
    return QString::fromStdString(cat::groupedNumber(n));
}

// The disk, listed for a walk that tells how far it has got at each folder
// it enters; Qt passes that on to the window a few times a second at most.
class ReportingFolders : public cat::FolderSource {
public:
    ReportingFolders(QPromise<cat::ScanOutcome>& promise, const cat::ScanProgress& progress)
        : promise_(promise)
        , progress_(progress)
    {
    }

    cat::FolderListing list(const std::string& path) override
    {
        // The value grows by one at each folder, as Qt wants it to grow.
        const std::size_t folders = progress_.folders.load(std::memory_order_relaxed);
        promise_.setProgressValueAndText(static_cast<int>(std::min<std::size_t>(folders + 1, INT_MAX)),
            progressLine(folders, progress_.files.load(std::memory_order_relaxed)));
        return disk_.list(path);
    }

private:
    QPromise<cat::ScanOutcome>& promise_;
    const cat::ScanProgress& progress_;
    DiskFolders disk_;
};

} // namespace

QFuture<cat::ScanOutcome> startScan(const std::string& root, bool allFiles, cat::ScanProgress& progress)
{
    return QtConcurrent::run([root, allFiles, &progress](QPromise<cat::ScanOutcome>& promise) {
        ReportingFolders disk(promise, progress);
        promise.addResult(cat::FindSubFolders(disk, root, allFiles, &progress));
    });
}

QFuture<cataloguestore::SavedScan> startDataWrite(cataloguestore::SavedScan saved, const std::string& folder,
    const std::string& root, std::vector<std::string> entries, bool fingerprints,
    cataloguestore::DataProgress& progress)
{
    return QtConcurrent::run([saved = std::move(saved), folder, root, entries = std::move(entries), fingerprints,
                                 &progress](QPromise<cataloguestore::SavedScan>& promise) mutable {
        const cataloguestore::DataRequest request{
            fingerprints, &progress, [&promise, fingerprints](const cataloguestore::DataProgress& p) {
                promise.setProgressValueAndText(
                    static_cast<int>(std::min<std::size_t>(p.done, INT_MAX)), dataProgressLine(p, fingerprints));
            }};
        cataloguestore::writeSaved(saved, SystemVolumeReader(), folder, root, std::move(entries), &request);
        promise.addResult(std::move(saved));
    });
}

QString dataProgressLine(const cataloguestore::DataProgress& p, bool fingerprints)
{
    QString line = "Lettura dei file: " + grouped(p.done) + " di " + grouped(p.total);
    if (fingerprints)
        line += ", " + QString::fromStdString(cat::byteSize(p.bytes)) + " letti";
    return line;
}

QString progressLine(std::size_t folders, std::size_t files)
{
    return "Lettura in corso: " + grouped(folders) + " cartelle lette, " + grouped(files) + " file trovati";
}

} // namespace zondari
