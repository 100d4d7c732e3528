#include "ui/mixer/mp3mixer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <cerrno>

#include "core/common/paths.h"
#include "core/mixer/automix.h"
#include "platform/mediaplayer.h"
#include "ui/appcontext.h"
#include "ui/mixer/filelistbox.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/drivelistbox.h"
#include "ui/player/mediaplayercontrol.h"
#include "ui/shell/childwindow.h"

namespace zondari {

namespace {

constexpr int kFadeMs = 250;
constexpr int kTickerMs = 500;
constexpr int kWidthPixels = 760;

QLabel* label(QWidget* parent, const char* name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QTimer* timer(QWidget* parent, const char* name, int ms)
{
    auto* t = new QTimer(parent);
    t->setObjectName(name);
    t->setInterval(ms);
    return t;
}

QLineEdit* setting(QWidget* parent, const char* name, const char* text)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance("00000") + 12);
    return e;
}

} // namespace

MediaPlayer& mp3MIXER::Deck::media() const
{
    return player->media();
}

mp3MIXER::mp3MIXER(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , ctx_(ctx)
{
    setObjectName("mp3MIXER");
    setWindowTitle("Zondari Digital DJ");

    decks_[0] = buildDeck(1, "Piatto sinistro");
    decks_[1] = buildDeck(2, "Piatto destro");

    Label3 = label(this, "Label3", "Bilanciamento volume");
    Label3->setAlignment(Qt::AlignCenter);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName("HScroll1");
    HScroll1->setRange(mixer::kCrossfaderMin, mixer::kCrossfaderMax);
    HScroll1->setSingleStep(100);
    HScroll1->setPageStep(1000);
    HScroll1->setMinimumHeight(22);
    Text1 = setting(this, "Text1", "");
    Command1 = new QPushButton("Mix automatico", this);
    Command1->setObjectName("Command1");
    Command1->setToolTip("Esegue mix tra 2 canzoni");
    Command2 = new QPushButton("&Uscita", this);
    Command2->setObjectName("Command2");
    Command2->setToolTip("Esci da Zondari digital DJ");

    Frame3 = new QGroupBox("Settaggi", this);
    Frame3->setObjectName("Frame3");
    Text2 = setting(Frame3, "Text2", "15");
    Text3 = setting(Frame3, "Text3", "5");
    Label8 = label(Frame3, "Label8", "Inizia mix automatico");
    Label9 = label(Frame3, "Label9", "secondi prima della fine di questo pezzo");
    Label10 = label(Frame3, "Label10", "Inizia l'altro 'piatto'");
    Label11 = label(Frame3, "Label11", "secondi prima del mixaggio");

    Timer1 = timer(this, "Timer1", kFadeMs);
    Timer2 = timer(this, "Timer2", kFadeMs);
    Timer3 = timer(this, "Timer3", kTickerMs);
    buildLayout();

    connectDeck(0);
    connectDeck(1);
    for (Deck& d : decks_)
        // Stopped: back at the start, and a failure is no longer news.
        d.media().onPositionChange([&d](double, double newPosition) {
            if (newPosition == 0.0)
                d.reportFailure = false;
        });
    // Tracking: the volumes follow the fader while it is dragged.
    connect(HScroll1, &QScrollBar::valueChanged, this, ctx_.slot(this, &mp3MIXER::HScroll1_Change));
    connect(Command1, &QPushButton::clicked, this, ctx_.slot(this, &mp3MIXER::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, ctx_.slot(this, &mp3MIXER::Command2_Click));
    connect(Timer1, &QTimer::timeout, this, ctx_.slot(this, &mp3MIXER::Timer1_Timer));
    connect(Timer2, &QTimer::timeout, this, ctx_.slot(this, &mp3MIXER::Timer2_Timer));
    connect(Timer3, &QTimer::timeout, this, ctx_.slot(this, &mp3MIXER::Timer3_Timer));
    Timer3->start();
}

mp3MIXER::~mp3MIXER() = default;

mp3MIXER::Deck mp3MIXER::buildDeck(int number, const char* caption)
{
    const QString n = QString::number(number);
    Deck d;
    d.frame = new QGroupBox(caption, this);
    d.frame->setObjectName("Frame" + n);
    d.drive = new DriveListBox(ctx_.services.drives, d.frame);
    d.drive->setObjectName("Drive" + n);
    d.dir = new DirListBox(d.frame);
    d.dir->setObjectName("Dir" + n);
    d.file = new FileListBox(d.frame);
    d.file->setObjectName("File" + n);
    d.check = new QCheckBox("Solo files Mp3", d.frame);
    d.check->setObjectName("Check" + n);
    d.player = new MediaPlayerControl(ctx_.newPlayer(), d.frame);
    d.player->setObjectName("ActiveMovie" + n);
    // The deck's own slider below is the one to move within the track.
    d.player->positionBar()->hide();
    d.speed = label(d.frame, number == 1 ? "Label6" : "Label7", "Velocità");
    d.slider = new QSlider(Qt::Horizontal, d.frame);
    d.slider->setObjectName("Slider" + n);
    d.slider->setRange(0, 0);
    // The deck seeks once, where the slider is let go.
    d.slider->setTracking(false);
    d.value = label(d.frame, number == 1 ? "Label4" : "Label5");
    d.value->setMinimumWidth(d.value->fontMetrics().horizontalAdvance("000000"));
    d.ticker = label(d.frame, number == 1 ? "Label1" : "Label2", mixer::kNoSong);
    d.ticker->setTextFormat(Qt::PlainText);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setBold(true);
    d.ticker->setFont(fixed);
    d.ticker->setFrameShape(QFrame::Panel);
    d.ticker->setFrameShadow(QFrame::Sunken);
    d.ticker->setFixedWidth(QFontMetrics(fixed).horizontalAdvance(QString(mixer::Ticker::kWidth, 'M')) + 8);
    // The file the window starts with: as a file list starts, all files.
    d.file->setPattern("*.*");

    auto* box = new QVBoxLayout(d.frame);
    box->addWidget(d.drive);
    box->addWidget(d.dir, 2);
    box->addWidget(d.file, 3);
    box->addWidget(d.check);
    box->addWidget(d.player);
    auto* row = new QHBoxLayout;
    row->addWidget(d.speed);
    row->addWidget(d.slider, 1);
    row->addWidget(d.value);
    box->addLayout(row);
    box->addWidget(d.ticker, 0, Qt::AlignHCenter);
    return d;
}

void mp3MIXER::buildLayout()
{
    auto* settings = new QGridLayout(Frame3);
    settings->addWidget(Label8, 0, 0);
    settings->addWidget(Text2, 0, 1);
    settings->addWidget(Label9, 0, 2);
    settings->addWidget(Label10, 1, 0);
    settings->addWidget(Text3, 1, 1);
    settings->addWidget(Label11, 1, 2);
    settings->setColumnStretch(2, 1);

    auto* decks = new QHBoxLayout;
    decks->addWidget(decks_[0].frame, 1);
    decks->addWidget(decks_[1].frame, 1);
    auto* commands = new QHBoxLayout;
    commands->addWidget(Text1);
    commands->addStretch(1);
    commands->addWidget(Command1);
    commands->addWidget(Command2);

    auto* all = new QVBoxLayout(this);
    all->addLayout(decks, 1);
    all->addWidget(Label3);
    all->addWidget(HScroll1);
    all->addLayout(commands);
    all->addWidget(Frame3);
    resize(kWidthPixels, sizeHint().height());
}

void mp3MIXER::connectDeck(int index)
{
    const Deck& d = decks_[static_cast<std::size_t>(index)];
    const bool left = index == 0;
    connect(d.file, &FileListBox::DblClick, this,
        ctx_.slot(this, left ? &mp3MIXER::File1_DblClick : &mp3MIXER::File2_DblClick));
    connect(d.slider, &QSlider::valueChanged, this,
        ctx_.slot(this, left ? &mp3MIXER::Slider1_Change : &mp3MIXER::Slider2_Change));
    connect(
        d.check, &QCheckBox::clicked, this, ctx_.slot(this, left ? &mp3MIXER::Check1_Click : &mp3MIXER::Check2_Click));
    connect(d.dir, &DirListBox::changed, this, ctx_.slot(this, left ? &mp3MIXER::Dir1_Change : &mp3MIXER::Dir2_Change));
    connect(d.drive, &DriveListBox::changed, this,
        ctx_.slot(this, left ? &mp3MIXER::Drive1_Change : &mp3MIXER::Drive2_Change));
}

void mp3MIXER::Load()
{
    const mixer::DeckVolumes volumes = mixer::openingVolumes(HScroll1->value());
    decks_[0].media().setVolume(volumes.left);
    decks_[1].media().setVolume(volumes.right);
    if (ctx_.player.present()) {
        const std::string folder = ctx_.player.musicFolder();
        for (Deck& d : decks_) {
            d.drive->setDrive(folder);
            // A folder that cannot be listed leaves the deck on its drive.
            (void)d.dir->setPath(folder);
        }
    }
    Text1->setText("1");

    QWidget* window = windowOf(this);
    const QWidget* player = ctx_.player.screenWindow();
    const int height = (player ? player : window)->height();
    window->setGeometry(0, 0, window->width(), height);

    for (Deck& d : decks_) {
        d.value->setText(QString::number(d.slider->value()));
        sliderChange(d);
    }
}

void mp3MIXER::HScroll1_Change()
{
    const int v = HScroll1->value();
    Text1->setText(QString::fromStdString(mixer::dominantDeck(v)));
    const mixer::DeckVolumes volumes = mixer::crossfaderVolumes(v);
    decks_[0].media().setVolume(volumes.left);
    decks_[1].media().setVolume(volumes.right);
}

void mp3MIXER::Command1_Click()
{
    // A new crossfade takes the place of one still running: two at once
    // would pull the fader both ways and never end.
    switch (mixer::deckNamed(Text1->text().toStdString())) {
    case 1:
        Timer2->stop();
        Timer1->start();
        break;
    case 2:
        Timer1->stop();
        Timer2->start();
        break;
    default:
        break;
    }
}

void mp3MIXER::Command2_Click()
{
    stopDecks();
    unloadWindow(this);
}

void mp3MIXER::closeEvent(QCloseEvent* e)
{
    // Closed by its frame too: no music left playing without a window to
    // stop it.
    stopDecks();
    unloaded_ = true;
    QWidget::closeEvent(e);
}

void mp3MIXER::stopDecks()
{
    Timer1->stop();
    Timer2->stop();
    for (Deck& d : decks_)
        d.media().stop();
}

void mp3MIXER::Timer1_Timer()
{
    fadeTick(mixer::Fade::TowardsRight, Timer1, decks_[0]);
}

void mp3MIXER::Timer2_Timer()
{
    fadeTick(mixer::Fade::TowardsLeft, Timer2, decks_[1]);
}

void mp3MIXER::fadeTick(mixer::Fade direction, QTimer* fadeTimer, Deck& fadedOut)
{
    const mixer::FadeTick step = mixer::crossfadeTick(HScroll1->value(), direction);
    if (step.finished) {
        fadeTimer->stop();
        fadedOut.media().stop();
        return;
    }
    HScroll1->setValue(step.value);
}

void mp3MIXER::Timer3_Timer()
{
    for (Deck& d : decks_)
        tick(d);
    autoMix();
}

void mp3MIXER::tick(Deck& d)
{
    MediaPlayer& m = d.media();
    const std::string title
        = mixer::tickerTitle(m.fileName(), m.playState() == kPlaying, d.reportFailure && m.unplayable());
    d.ticker->setText(QString::fromStdString(d.scroller.tick(title)));

    // The slider spans the track once its length is known.
    const int maximum = m.fileName().empty() ? 0 : mixer::sliderMaximum(m.duration());
    if (d.slider->maximum() != maximum && !d.slider->isSliderDown()) {
        const QSignalBlocker quiet(d.slider);
        d.slider->setRange(0, maximum);
        d.value->setText(QString::number(d.slider->value()));
    }
}

void mp3MIXER::autoMix()
{
    // The deck being heard mixes into the other.
    const int heard = mixer::deckNamed(Text1->text().toStdString());
    if (heard == 0)
        return;
    Deck& own = decks_[static_cast<std::size_t>(heard - 1)];
    Deck& other = decks_[static_cast<std::size_t>(2 - heard)];
    const MediaPlayer& m = own.media();
    mixer::AutoMixScene scene;
    scene.heard = {m.playState() == kPlaying, m.currentPosition(), m.duration()};
    scene.otherHasTrack = !other.media().fileName().empty();
    scene.crossfadeRunning = Timer1->isActive() || Timer2->isActive();
    const mixer::AutoMixStep step = mixer::autoMixStep(scene, Text2->text().toStdString(), Text3->text().toStdString());
    if (step.startOtherDeck && other.media().playState() != kPlaying)
        (void)other.media().play(); // a track that cannot be played stays silent
    if (step.startCrossfade)
        (heard == 1 ? Timer1 : Timer2)->start();
}

void mp3MIXER::File1_DblClick()
{
    loadDeck(decks_[0]);
}

void mp3MIXER::File2_DblClick()
{
    loadDeck(decks_[1]);
}

void mp3MIXER::loadDeck(Deck& d)
{
    const std::string name = d.file->fileName();
    if (name.empty())
        return;
    const std::string full = withSlash(d.file->path()) + name;
    d.ticker->setText(QString::fromStdString(mixer::loadedCaption(name)));
    {
        // The new track starts at its beginning; its length comes later.
        const QSignalBlocker quiet(d.slider);
        d.slider->setRange(0, 0);
        d.value->setText("0");
    }
    d.reportFailure = true;
    d.media().setReplayGain(ctx_.state.replayGain);
    check(d.media().setFileName(full));
    check(d.media().play());
}

void mp3MIXER::Slider1_Change()
{
    sliderChange(decks_[0]);
}

void mp3MIXER::Slider2_Change()
{
    sliderChange(decks_[1]);
}

void mp3MIXER::sliderChange(Deck& d)
{
    if (d.media().fileName().empty())
        return;
    const int value = d.slider->value();
    d.value->setText(QString::number(value));
    d.media().setCurrentPosition(mixer::sliderSeconds(value));
}

void mp3MIXER::Check1_Click()
{
    checkClick(decks_[0]);
}

void mp3MIXER::Check2_Click()
{
    checkClick(decks_[1]);
}

void mp3MIXER::checkClick(Deck& d)
{
    d.file->setPattern(d.check->isChecked() ? "*.mp3" : "*.*");
}

void mp3MIXER::Dir1_Change()
{
    decks_[0].file->setPath(decks_[0].dir->path());
}

void mp3MIXER::Dir2_Change()
{
    decks_[1].file->setPath(decks_[1].dir->path());
}

void mp3MIXER::Drive1_Change()
{
    driveChange(decks_[0]);
}

void mp3MIXER::Drive2_Change()
{
    driveChange(decks_[1]);
}

void mp3MIXER::driveChange(Deck& d)
{
    if (d.dir->setPath(ctx_.services.folders.folderOfDrive(d.drive->drive())))
        return;
    // A drive without a medium: the list goes back to the folder's drive,
    // and the runtime says why.
    {
        const QSignalBlocker quiet(d.drive);
        d.drive->setDrive(d.dir->path());
    }
    throw RuntimeFailure(runtimeErrorFromErrno(ENOMEDIUM));
}

} // namespace zondari
