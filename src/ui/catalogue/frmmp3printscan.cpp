// The catalogue window's scan: the walk, the question, the reading of the
// files for their data, each off the window's thread, and the data of the
// catalogue shown under its entries.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <unordered_set>

#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/leftout.h"
#include "core/catalogue/scanrules.h"
#include "core/catalogue/sidefile.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"
#include "platform/volume.h"
#include "ui/appcontext.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/catalogue/scanjob.h"

namespace zondari {

namespace cat = catalogue;

namespace {

// Two texts of lists, one after the other.
std::string joined(const std::string& a, const std::string& b)
{
    return a.empty() || b.empty() ? a + b : a + "\n" + b;
}

} // namespace

void frmMP3print::Leggifile()
{
    if (scanning())
        return; // one scan at a time
    AppState& st = ctx_.state;
    const auto chosen = ctx_.dialogs().chooseFolder(cat::kBrowseTitle, st.scanFolder);
    if (!chosen)
        return;
    st.scanFolder = *chosen;
    ctx_.goToProgramFolder();

    takeColumns();
    ctx_.setCatalogueEntries({});
    st.PrintFontSize = cat::normalisedFontSize(st.PrintFontSize);
    QFont font = List1->font();
    font.setFamily(QString::fromStdString(st.PrintFontName));
    List1->setFont(font);

    scanRoot_ = files::absolutePath(*chosen);
    scanProgress_ = std::make_unique<cat::ScanProgress>();
    // The outcome is only ever taken up by the watcher, once this handler
    // has returned and the window has been painted.
    scanWatcher_.setFuture(startScan(scanRoot_, Option2->isChecked(), *scanProgress_));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    showScanRunning(true);
    Progress->setText(progressLine(0, 0));
}

void frmMP3print::showScanRunning(bool running)
{
    if (!running)
        QApplication::restoreOverrideCursor();
    toolbarButton("leggi")->setEnabled(!running);
    Command5->setVisible(running);
    if (!running)
        Progress->clear();
}

void frmMP3print::Command5_Click()
{
    if (scanProgress_)
        scanProgress_->stop = true;
    if (dataProgress_)
        dataProgress_->stop = true;
}

void frmMP3print::finishScan()
{
    cat::ScanOutcome outcome = scanWatcher_.future().takeResult();
    const bool stopped = scanProgress_->stop;
    scanProgress_.reset();
    if (stopped) {
        // "Annulla": the older catalogue stays as it was.
        showScanRunning(false);
        return;
    }
    ctx_.setCatalogueEntries(outcome.entries);
    if (outcome.failed) {
        showScanRunning(false);
        ctx_.dialogs().message(cat::kUnreadableMessage);
        return;
    }
    // What the walk passed over is told whatever comes of the scan, its
    // lists behind "Dettagli".
    leftOut_ = cat::leftOutLine(outcome);
    const std::string leftOutDetails = cat::leftOutDetails(outcome);
    if (outcome.entries.empty()) {
        showScanRunning(false);
        ctx_.dialogs().message(
            {cat::kNothingFoundMessage, MsgButtons::Ok, MsgIcon::None, kProgramTitle, leftOutDetails});
        RefreshList();
        return;
    }

    toldLeftOut_ = false;
    // A copy: the question below puts the stored title in its place.
    const std::string title = ctx_.state.catalogue.title;
    const auto question = [&](const std::string& name, const std::string& stored, bool untitled,
                              const cataloguestore::StoredComparison& changes) {
        // A titled scan overwrites without asking.
        if (!untitled)
            return true;
        ctx_.setCatalogueTitle(stored);
        // What the walk left out and what the new reading changes come
        // first, their lists behind "Dettagli".
        const std::string said = joined(leftOut_, cataloguestore::comparisonSummary(changes));
        toldLeftOut_ = true;
        return ctx_.dialogs().message({cat::rescanQuestion(said, name, cat::shownTitle(stored)), MsgButtons::OkCancel,
                   MsgIcon::None, kProgramTitle, joined(cat::changesDetails(changes.changes), leftOutDetails)})
            != MsgAnswer::Cancel;
    };
    // The question comes after the walk and before the files are read.
    cataloguestore::SavedScan saved = cataloguestore::askToSave(SystemVolumeReader(), ctx_.state.programFolder,
        ctx_.state.Utente, scanRoot_, title, outcome.entries, question, outcome.unreadableFolders);
    if (saved.step != cataloguestore::SavedScan::Step::Written) {
        showScanRunning(false);
        if (saved.step == cataloguestore::SavedScan::Step::StoredTitleUnreadable)
            ctx_.dialogs().message(cat::kUnreadableMessage);
        return;
    }
    leftOutDetails_ = leftOutDetails;
    dataProgress_ = std::make_unique<cataloguestore::DataProgress>();
    const bool fingerprints = Check2->isChecked();
    Progress->setText(dataProgressLine(*dataProgress_, fingerprints));
    writeWatcher_.setFuture(startDataWrite(std::move(saved), ctx_.state.programFolder, scanRoot_,
        std::move(outcome.entries), fingerprints, *dataProgress_));
}

void frmMP3print::finishWrite()
{
    const cataloguestore::SavedScan saved = writeWatcher_.future().takeResult();
    dataProgress_.reset();
    showScanRunning(false);
    switch (saved.step) {
    case cataloguestore::SavedScan::Step::Written:
        break;
    case cataloguestore::SavedScan::Step::Declined:
    case cataloguestore::SavedScan::Step::StoredTitleUnreadable:
    case cataloguestore::SavedScan::Step::Stopped:
        return;
    case cataloguestore::SavedScan::Step::WriteFailed:
        // Not a drive that cannot be read: the write's own reason ("Disco
        // pieno"), as every other writer reports it.
        ctx_.dialogs().runtimeError(saved.error);
        return;
    }
    if (!leftOut_.empty() && !toldLeftOut_)
        ctx_.dialogs().message({leftOut_, MsgButtons::Ok, MsgIcon::Information, kProgramTitle, leftOutDetails_});
    // The entries are now those of the file written, with its data.
    ctx_.state.catalogue.path = ctx_.programPath() + saved.name;
    showData();
    RefreshList();
}

void frmMP3print::showData()
{
    Label7->clear();
    Label8->clear();
    const CurrentCatalogue& shown = ctx_.state.catalogue;
    if (shown.path.empty())
        return;
    const std::unordered_set<std::string_view> entries(shown.entries.begin(), shown.entries.end());
    std::size_t stale = 0;
    // Counted, not kept: the rows are read again for the entry selected.
    (void)cataloguestore::forEachSideRow(shown.path, [&](cat::TrackData&& row) { stale += !entries.count(row.entry); });
    std::string line;
    if (const auto volume = cataloguestore::readVolumeData(shown.path))
        line = cat::totalsLine(*volume);
    if (stale > 0)
        line = joined(line, cat::staleLine(stale));
    Label7->setText(QString::fromStdString(line));
}

void frmMP3print::showEntryData(std::size_t row)
{
    const CurrentCatalogue& shown = ctx_.state.catalogue;
    Label8->clear();
    if (shown.path.empty() || row >= shown.entries.size())
        return;
    const std::string& entry = shown.entries[row];
    std::string line;
    (void)cataloguestore::forEachSideRow(shown.path, [&](cat::TrackData&& r) {
        if (line.empty() && r.entry == entry)
            line = cat::entryLine(r);
    });
    Label8->setText(QString::fromStdString(line));
}

} // namespace zondari
