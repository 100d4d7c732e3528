// The player window's continuity: the row the advance would play next is
// prepared so that it follows the track in play without a gap; tracks play
// at their ReplayGain gain; the music picks up where it stopped. The menu
// of the title display turns the last two on, and the player's own
// settings file keeps them.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <algorithm>

#include "core/common/paths.h"
#include "core/common/text.h"
#include "core/player/advance.h"
#include "platform/files.h"
#include "platform/mediaplayer.h"
#include "ui/appcontext.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/player/trackgrid.h"

namespace zondari {

void Form1::buildTitleMenu()
{
    if (const auto text = files::readBytes(joinPath(ctx_.state.programFolder, kPlayerSettingsFile)))
        settings_ = parsePlayerSettings(*text);
    ctx_.state.replayGain = settings_.replayGain;
    media().setReplayGain(settings_.replayGain);

    titleMenu_ = new QMenu(lcd1);
    titleMenu_->setObjectName("titleMenu");
    const auto item = [this](const char* name, const QString& text, bool on) {
        QAction* a = titleMenu_->addAction(text);
        a->setObjectName(name);
        a->setCheckable(true);
        a->setChecked(on);
        connect(a, &QAction::toggled, this, ctx_.slot(this, &Form1::titleMenu_Click));
        return a;
    };
    item("replayGain", "Normalizza il volume (ReplayGain)", settings_.replayGain);
    item("resume", "Riprendi all'avvio", settings_.resume);
    lcd1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lcd1, &QWidget::customContextMenuRequested, titleMenu_,
        [this](const QPoint& at) { titleMenu_->popup(lcd1->mapToGlobal(at)); });
}

void Form1::titleMenu_Click()
{
    settings_.replayGain = titleMenu_->findChild<QAction*>("replayGain")->isChecked();
    settings_.resume = titleMenu_->findChild<QAction*>("resume")->isChecked();
    // From the next track on, here and on the mixer's decks.
    ctx_.state.replayGain = settings_.replayGain;
    media().setReplayGain(settings_.replayGain);
    if (settings_.resume)
        rememberPlace(); // and writes the settings
    else
        check(savePlayerSettings());
}

Status Form1::savePlayerSettings()
{
    return files::replaceFile(joinPath(ctx_.state.programFolder, kPlayerSettingsFile), formatPlayerSettings(settings_));
}

void Form1::rememberPlace()
{
    if (!settings_.resume)
        return;
    const std::string track = text::trimSpaces(ctx_.state.BranoCorrente);
    if (!track.empty() && ExtGrid1->row() >= 1) {
        settings_.track = joinPath(musicFolder(), track);
        settings_.position = media().currentPosition();
    }
    // A place that cannot be kept must not stop the music.
    (void)savePlayerSettings();
}

void Form1::resumeWhereStopped()
{
    if (!settings_.resume || settings_.track.empty() || !files::fileExists(settings_.track))
        return;
    if (!listFolder(files::folderOf(settings_.track)))
        return;
    const std::string name = " " + files::nameOf(settings_.track);
    const auto& rows = ExtGrid1->gridModel()->rows();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const TrackRow& r) { return r.title == name; });
    if (row == rows.end())
        return;
    ExtGrid1->setRow(static_cast<int>(row - rows.begin()) + 1);
    ctx_.state.BranoCorrente = text::trimSpaces(ExtGrid1->title(ExtGrid1->row()));
    playCurrentTrack(settings_.position);
}

void Form1::prepareNext()
{
    // Only a player that goes on by itself has a next track; the advance
    // chooses it.
    if (!playMode() || ExtGrid1->rows() <= 1 || ExtGrid1->row() < 1) {
        prepared_.clear();
        media().setNextFileName({});
        return;
    }
    const int row = nextTrackRow(ExtGrid1->row(), ExtGrid1->rows());
    prepared_ = ExtGrid1->title(row);
    media().setNextFileName(joinPath(musicFolder(), text::trimSpaces(prepared_)));
}

void Form1::nextTrackStarted()
{
    // The advance's work, now that the prepared track is heard: its row, the
    // title, the current track, the details.
    const auto& rows = ExtGrid1->gridModel()->rows();
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const TrackRow& r) { return r.title == prepared_; });
    const int row = found != rows.end() ? static_cast<int>(found - rows.begin()) + 1
                                        : nextTrackRow(ExtGrid1->row(), ExtGrid1->rows());
    ExtGrid1->setRow(row);
    AppState& s = ctx_.state;
    s.BranoCorrente = ExtGrid1->title(row);
    s.TitoloDisplay = s.BranoCorrente;
    titleWhenHeard_ = false;
    const std::string track = text::trimSpaces(s.BranoCorrente);
    remember(track);
    advance_.newRound(); // the track before played to its end
    riempimp3(track);
    rememberPlace();
    prepareNext();
}

} // namespace zondari
