// The player window's playback: the toolbar, the grid click, the timer with
// the scrolling title and automatic advance, and the media player's
// position change.

#include <QAction>
#include <QFontDatabase>
#include <QLabel>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>

#include "core/common/text.h"
#include "core/player/advance.h"
#include "platform/mediaplayer.h"
#include "ui/appcontext.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/drivelistbox.h"
#include "ui/player/form1.h"
#include "ui/player/mediaplayercontrol.h"
#include "ui/player/toolbaricons.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

namespace {

struct ToolbarButton {
    const char* key;
    const char* tooltip;
};

constexpr std::array<ToolbarButton, 8> kToolbarButtons = {{
    {"riprendi", "Avvia/Sospendi suono"},
    {"volume", "Visualizza volume generale"},
    {"ID3", "Visualizza editor di ID3"},
    {"dettagli", "Dettagli brano"},
    {"help", "Aiuto"},
    {"informazioni", "Informazioni sul programma"},
    {"mixer", "Digital DJ"},
    {"quit", "Avvia vortafon"},
}};

constexpr int kTimerMs = 300;
constexpr const char* kChooseFolder = "Scegli una cartella che contenga i files musicali.";

} // namespace

void Form1::buildPlayback()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    for (const ToolbarButton& b : kToolbarButtons) {
        QAction* action = Toolbar1->addAction(toolbarIcon(b.key), b.tooltip);
        action->setObjectName(b.key);
        action->setToolTip(b.tooltip);
        connect(action, &QAction::triggered, this, [this, action, key = QString(b.key)] {
            // A pressed button changes only as the command decides.
            if (action->isCheckable())
                action->setChecked(!action->isChecked());
            ctx_.slot(this, &Form1::Toolbar1_ButtonClick, key)();
        });
    }
    button("riprendi")->setCheckable(true);

    lcd1 = new QLabel(this);
    lcd1->setObjectName("lcd1");
    QFont lcdFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lcdFont.setBold(true);
    lcd1->setFont(lcdFont);
    lcd1->setStyleSheet("QLabel { background: #10202a; color: #7cf29a; padding: 3px; }");
    lcd1->setFixedWidth(QFontMetrics(lcdFont).horizontalAdvance(QString(TitleScroller::kWidth, 'M')) + 8);
    lcd1->setTextFormat(Qt::PlainText);

    MediaPlayer1 = new MediaPlayerControl(ctx_.newPlayer(), this);
    MediaPlayer1->setObjectName("MediaPlayer1");
    media().onPositionChange([this](double oldPosition, double newPosition) {
        ctx_.slot(this, &Form1::MediaPlayer1_PositionChange, oldPosition, newPosition)();
    });
    media().onStateChange([this] { announce(); });
    media().onNextStarted(ctx_.slot(this, &Form1::nextTrackStarted));
    buildTitleMenu();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimerMs);
    connect(Timer1, &QTimer::timeout, this, ctx_.slot(this, &Form1::Timer1_Timer));
    Timer1->start();

    connect(ExtGrid1, &TrackGrid::Click, this, ctx_.slot(this, &Form1::ExtGrid1_Click));
    // Enter plays the row, Space pauses and starts again, as in any player.
    connect(ExtGrid1, &TrackGrid::activatedRow, this, ctx_.slot(this, &Form1::ExtGrid1_Click));
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
    space->setContext(Qt::WidgetWithChildrenShortcut);
    connect(space, &QShortcut::activated, this, ctx_.slot(this, &Form1::Toolbar1_ButtonClick, QString("riprendi")));

    layout_->addWidget(Toolbar1);
    layout_->addWidget(lcd1, 0, Qt::AlignHCenter);
    layout_->addWidget(MediaPlayer1);
    enableToolbar();
}

QAction* Form1::button(const QString& key) const
{
    return Toolbar1->findChild<QAction*>(key);
}

bool Form1::playMode() const
{
    return button("riprendi")->isChecked();
}

void Form1::setPlayMode(bool pressed)
{
    if (pressed == playMode())
        return;
    button("riprendi")->setChecked(pressed);
    if (!pressed) {
        // Nothing follows by itself any more.
        prepared_.clear();
        media().setNextFileName({});
    }
    announce();
}

void Form1::announce()
{
    emit ctx_.player.changed();
}

void Form1::playRow(int row)
{
    ExtGrid1->setRow(row);
    ctx_.slot(this, &Form1::ExtGrid1_Click)();
}

void Form1::playOrResume()
{
    if (ExtGrid1->rows() <= 1 || media().playState() == kPlaying)
        return;
    // Nothing chosen yet: the toolbar's button would have no track to
    // start; the first row (or the one selected) plays, as a click on it.
    if (ExtGrid1->row() < 1 || ctx_.state.BranoCorrente.empty())
        playRow(std::max(ExtGrid1->row(), 1));
    else
        pauseOrResume();
}

void Form1::pauseOrResume()
{
    ctx_.slot(this, &Form1::Toolbar1_ButtonClick, QString("riprendi"))();
}

void Form1::stopPlayback()
{
    ctx_.slot(&media(), &MediaPlayer::stop)();
    MediaPlayer1->refresh();
}

void Form1::seekTo(double seconds)
{
    ctx_.slot(&media(), &MediaPlayer::setCurrentPosition, seconds)();
}

MediaPlayer& Form1::media() const
{
    return MediaPlayer1->media();
}

void Form1::enableToolbar()
{
    const Openers& o = ctx_.openers;
    button("volume")->setEnabled(bool(o.showVolume));
    button("ID3")->setEnabled(bool(o.showTagEditor));
    button("dettagli")->setEnabled(bool(o.showTrackDetails));
    button("informazioni")->setEnabled(bool(o.showAbout));
    button("mixer")->setEnabled(bool(o.showMixer));
}

void Form1::goToMusicFolder()
{
    // A listed folder that is gone meanwhile leaves the current folder
    // where it was; the track's own open then reports the missing file.
    (void)ctx_.services.folders.changeFolder(Dir1->path());
    (void)ctx_.services.folders.changeDrive(Drive1->drive());
}

void Form1::riempimp3(const std::string& track)
{
    // The details have their own guard: a track they cannot read still
    // plays.
    if (ctx_.openers.riempimp3)
        ctx_.handle([&] { ctx_.openers.riempimp3(track); }); // a hook, not a window's handler
}

void Form1::remember(const std::string& track)
{
    playing_ = files::statFile(joinPath(musicFolder(), track));
}

void Form1::Toolbar1_ButtonClick(const QString& key)
{
    // The help page is found in the program folder.
    ctx_.goToProgramFolder();
    const Openers& o = ctx_.openers;
    AppState& s = ctx_.state;
    if (key == "riprendi") {
        goToMusicFolder();
        if (media().playState() == kPlaying) {
            media().pause();
            setPlayMode(false);
            rememberPlace();
        } else {
            advance_.newRound();
            // Opened anew: the track starts again from its beginning.
            // A track that cannot be opened stays silent; the player's
            // end-of-track rules report it, as for every other start.
            (void)media().setFileName(text::trimSpaces(s.BranoCorrente));
            remember(text::trimSpaces(s.BranoCorrente));
            (void)media().play();
            setPlayMode(true);
            prepareNext();
        }
    } else if (key == "volume" && o.showVolume) {
        o.showVolume();
    } else if (key == "ID3" && o.showTagEditor) {
        o.showTagEditor();
    } else if (key == "dettagli" && o.showTrackDetails) {
        o.showTrackDetails();
        // The track is named relative to the listed folder.
        goToMusicFolder();
        riempimp3(s.BranoCorrente);
    } else if (key == "help") {
        check(ctx_.services.shell.start("start", {"zondari.htm"}));
    } else if (key == "informazioni" && o.showAbout) {
        o.showAbout();
    } else if (key == "mixer" && o.showMixer) {
        media().pause();
        setPlayMode(false);
        o.showMixer();
    } else if (key == "quit") {
        startVortafon(ctx_);
    }
}

void Form1::ExtGrid1_Click()
{
    const int row = ExtGrid1->row();
    ctx_.state.BranoCorrente = text::trimSpaces(ExtGrid1->title(row));
    if (row == 0) {
        ctx_.dialogs().message(kChooseFolder);
        return;
    }
    playCurrentTrack();
}

void Form1::playCurrentTrack(double from)
{
    // The track is named relative to the listed folder, which a toolbar
    // command may have left for the program folder.
    goToMusicFolder();
    riempimp3(ctx_.state.BranoCorrente);
    advance_.newRound();
    media().stop();
    // As above: a failed open or play is reported by the end-of-track rules.
    (void)media().setFileName(ctx_.state.BranoCorrente);
    remember(ctx_.state.BranoCorrente);
    ctx_.state.TitoloDisplay = ctx_.state.BranoCorrente;
    titleWhenHeard_ = false;
    if (from > 0.0)
        media().setCurrentPosition(from); // reached before a sound is heard
    (void)media().play();
    setPlayMode(true);
    prepareNext();
    rememberPlace();
}

void Form1::Timer1_Timer()
{
    AppState& s = ctx_.state;
    // A report of a skipped track gives way to the title of the track after
    // it once that one is heard.
    if (titleWhenHeard_ && media().playState() == kPlaying && media().currentPosition() > 0.0) {
        titleWhenHeard_ = false;
        s.TitoloDisplay = s.BranoCorrente;
    }
    lcd1->setText(QString::fromStdString(scroller_.tick(s.TitoloDisplay)));

    const PlayerFacts facts{media().playState(), playMode(), media().unplayable(), s.BranoCorrente};
    const TickStep step = advance_.tick(facts, ExtGrid1->gridModel()->rows());
    switch (step) {
    case TickStep::DisplayOnly:
        return;
    case TickStep::ReleasePlayMode:
        setPlayMode(false);
        return;
    case TickStep::ReportUnplayableAndRelease:
        setPlayMode(false);
        [[fallthrough]];
    case TickStep::ReportUnplayable:
        // The report is short-lived: it starts whole, not somewhere in
        // the middle of its scroll.
        s.TitoloDisplay = AutoAdvance::report(s.BranoCorrente);
        scroller_.restart();
        return;
    case TickStep::Advance:
    case TickStep::SkipUnplayable:
        break;
    }
    const std::string failed = step == TickStep::SkipUnplayable ? AutoAdvance::report(s.BranoCorrente) : "";
    const int row = nextTrackRow(ExtGrid1->row(), ExtGrid1->rows());
    ExtGrid1->setRow(row);
    s.BranoCorrente = ExtGrid1->title(row);
    const std::string track = text::trimSpaces(s.BranoCorrente);
    goToMusicFolder();
    media().pause();
    // As above: a failed open or play is reported by the end-of-track rules.
    (void)media().setFileName(track);
    remember(track);
    (void)media().play();
    s.TitoloDisplay = s.BranoCorrente;
    titleWhenHeard_ = !failed.empty();
    if (titleWhenHeard_) {
        s.TitoloDisplay = failed;
        scroller_.restart();
    }
    Toolbar1->update();
    riempimp3(track);
    prepareNext();
    rememberPlace();
}

void Form1::MediaPlayer1_PositionChange(double, double newPosition)
{
    Toolbar1->update();
    // Back at the start: the user stopped.
    if (newPosition == 0.0) {
        setPlayMode(false);
        rememberPlace();
    }
}

} // namespace zondari
