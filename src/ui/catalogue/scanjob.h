#pragma once

#include <QFuture>
#include <QString>
#include <cstddef>
#include <string>

#include "core/catalogue/findsubfolders.h"

namespace zondari {

// The catalogue window's walk of the disk from `root`, run on Qt's thread
// pool. Its future's progress text says how far it has got, a few times a
// second at most; its result is the outcome. `progress` must outlive it;
// setting its `stop` ends the walk at the next folder.
QFuture<catalogue::ScanOutcome> startScan(const std::string& root, bool allFiles, catalogue::ScanProgress& progress);

// "Lettura in corso: 1.234 cartelle lette, 56.789 file trovati".
QString progressLine(std::size_t folders, std::size_t files);

} // namespace zondari
