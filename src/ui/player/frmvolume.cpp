#include "ui/player/frmvolume.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/player/volumeslider.h"
#include "ui/appcontext.h"
#include "ui/shell/childwindow.h"

namespace zondari {
namespace {

constexpr int kTrackWidth = 44;
constexpr int kTrackHeight = 214;
constexpr int kKnobWidth = 34;
constexpr int kKnobHeight = 14;
constexpr int kDragTimerMs = 10;
constexpr int kBesidePlayerTwips = 100;
constexpr int kBelowPlayerTopTwips = 500;
constexpr const char* kCaption = "Volume";
constexpr const char* kCannotOpen = "Non posso aprire il mixer.";

QPixmap trackPicture()
{
    QPixmap pm(kTrackWidth, kTrackHeight);
    pm.fill(QColor(0x1d, 0x24, 0x33));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Ticks every tenth of the travel, the groove down the middle.
    p.setPen(QPen(QColor(0x7c, 0x8a, 0xa8), 1));
    const int travel = kTrackHeight - kKnobHeight;
    for (int i = 0; i <= 10; ++i) {
        const double y = kKnobHeight / 2.0 + travel * i / 10.0;
        const double len = (i % 5 == 0) ? 8 : 4;
        p.drawLine(QPointF(2, y), QPointF(2 + len, y));
        p.drawLine(QPointF(kTrackWidth - 2 - len, y), QPointF(kTrackWidth - 2, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(kTrackWidth / 2.0 - 3, 4, 6, kTrackHeight - 8), 3, 3);
    return pm;
}

QPixmap knobPicture()
{
    QPixmap pm(kKnobWidth, kKnobHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, kKnobHeight);
    g.setColorAt(0, QColor(0xe8, 0xee, 0xfa));
    g.setColorAt(1, QColor(0x8c, 0x9b, 0xb8));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x2f, 0x3a, 0x52), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, kKnobWidth - 1, kKnobHeight - 1), 3, 3);
    p.setPen(QPen(QColor(0x2f, 0x5f, 0xb3), 2));
    p.drawLine(QPointF(4, kKnobHeight / 2.0), QPointF(kKnobWidth - 4, kKnobHeight / 2.0));
    return pm;
}

} // namespace

frmVolume::frmVolume(AppContext& ctx, std::unique_ptr<Mixer> mixer, QWidget* parent)
    : QWidget(parent)
    , Picture4(new QLabel(this))
    , Image1(new QLabel(Picture4))
    , Text1(new QLineEdit(this))
    , Label2(new QLabel("MIN", this))
    , Label3(new QLabel("MAX", this))
    , Command1(new QPushButton("OK, Fatto", this))
    , Timer1(new QTimer(this))
    , ctx_(ctx)
    , mixer_(std::move(mixer))
{
    setObjectName("frmVolume");
    setWindowTitle(kCaption);
    Picture4->setObjectName("Picture4");
    Picture4->setFixedSize(kTrackWidth, kTrackHeight);
    Picture4->setPixmap(trackPicture());
    Image1->setObjectName("Image1");
    Image1->setFixedSize(kKnobWidth, kKnobHeight);
    Image1->setPixmap(knobPicture());
    Image1->setCursor(Qt::SizeVerCursor);
    Image1->installEventFilter(this);
    Text1->setObjectName("Text1");
    Text1->setAlignment(Qt::AlignRight);
    Text1->setMaximumWidth(90);
    Label2->setObjectName("Label2");
    Label3->setObjectName("Label3");
    Command1->setObjectName("Command1");
    Timer1->setObjectName("Timer1");

    auto fixed = [this](const char* name, const char* caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        return l;
    };
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(Picture4, 0, 0, 7, 1);
    grid->addWidget(fixed("Label1", "Massimo"), 0, 1);
    grid->addWidget(Label3, 1, 1);
    grid->setRowStretch(2, 1);
    grid->addWidget(fixed("Label5", "Volume"), 3, 1);
    grid->addWidget(Text1, 4, 1);
    grid->setRowStretch(5, 1);
    grid->addWidget(fixed("Label4", "Minimo"), 6, 1, Qt::AlignBottom);
    grid->addWidget(Label2, 7, 1);
    grid->addWidget(fixed("Label6", "OK"), 8, 0, Qt::AlignRight);
    grid->addWidget(Command1, 8, 1);

    connect(Command1, &QPushButton::clicked, this, ctx_.slot(this, &frmVolume::Command1_Click));
    connect(Timer1, &QTimer::timeout, this, ctx_.slot(this, &frmVolume::Timer1_Timer));
}

frmVolume::~frmVolume()
{
    if (mixer_)
        mixer_->close();
}

int frmVolume::travel() const
{
    return Picture4->height() - Image1->height();
}

void frmVolume::Load()
{
    openVolumeControl();
    prepareSlider();
    place();
}

void frmVolume::openVolumeControl()
{
    if (!mixer_->open()) {
        ctx_.dialogs().message(Message{kCannotOpen, MsgButtons::Ok, MsgIcon::Information, kCaption});
        return;
    }
    const auto found = mixer_->speakersVolume();
    if (!found)
        return;
    control_ = *found;
    Label2->setText(QString::number(control_.minimum));
    Label3->setText(QString::number(control_.maximum));
}

void frmVolume::prepareSlider()
{
    Timer1->stop();
    Timer1->setInterval(kDragTimerMs);
    const int left = Picture4->width() / 2 - Image1->width() / 2;
    // The knob shows the system's volume as it is; only when it cannot be
    // read does it open a quarter of the way down. Nothing is sent.
    const auto read = control_.name.empty() ? Result<std::int32_t, MixerError>(MixerError::InvalidControl)
                                            : mixer_->getValue(control_);
    if (read) {
        const std::int32_t current = std::clamp(*read, control_.minimum, control_.maximum);
        Image1->move(left, volume::knobTopFor(current, travel(), control_.minimum, control_.maximum));
        Text1->setText(QString::number(current));
    } else {
        Image1->move(left, volume::initialKnobTop(travel()));
        showKnobValue();
    }
}

void frmVolume::place()
{
    QMdiSubWindow* self = childWindowOf(this);
    const QWidget* player = ctx_.player.screenWindow();
    if (!self)
        return;
    self->resize(self->sizeHint());
    if (!player)
        return;
    const Screen& screen = ctx_.services.screen;
    self->move(player->x() + player->width() + screen.toPixels(kBesidePlayerTwips),
        player->y() + screen.toPixels(kBelowPlayerTopTwips));
}

void frmVolume::showKnobValue()
{
    Text1->setText(QString::number(volume::sliderValue(Image1->y(), travel(), control_.minimum, control_.maximum)));
}

void frmVolume::applyVolume()
{
    const auto value = volume::volumeFromText(Text1->text().toStdString(), control_.minimum, control_.maximum);
    if (!value)
        throw RuntimeFailure(runtimeError(ErrorCode::TypeMismatch));
    volumeValue_ = *value;
    // Without a control (no mixer, no speakers line) the call fails, and
    // nothing is said: the knob shows the value asked for.
    (void)mixer_->setValue(control_, volumeValue_);
}

void frmVolume::Command1_Click()
{
    unloadWindow(this);
}

void frmVolume::Image1_MouseDown(int button, double)
{
    Timer1->start();
    dragButton_ = button;
    // Until the mouse moves the knob stays where it is: a press alone never
    // takes it to a position left from an earlier drag (or to the top).
    dragPosition_ = Image1->y();
}

void frmVolume::Image1_MouseMove(int button, double y)
{
    dragButton_ = button;
    dragPosition_ = Image1->y() + y;
    applyVolume();
}

void frmVolume::Image1_MouseUp(int button, double)
{
    // The knob first catches up with the last move, so that it stops where
    // the mouse let it go and the value sent is the one it shows.
    if (Timer1->isActive())
        Timer1_Timer();
    Timer1->stop();
    dragButton_ = button;
    applyVolume();
}

void frmVolume::Timer1_Timer()
{
    if (dragButton_ == 1) {
        const int top = volume::dragKnobTop(dragPosition_, travel());
        if (top != Image1->y())
            Image1->move(Image1->x(), top);
    }
    showKnobValue();
}

bool frmVolume::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != Image1)
        return QWidget::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(e);
        const double y = m->position().y();
        if (e->type() == QEvent::MouseButtonPress)
            ctx_.slot(this, &frmVolume::Image1_MouseDown, int(m->button()), y)();
        else if (e->type() == QEvent::MouseMove)
            ctx_.slot(this, &frmVolume::Image1_MouseMove, m->buttons().toInt(), y)();
        else
            ctx_.slot(this, &frmVolume::Image1_MouseUp, int(m->button()), y)();
        return true;
    }
    default:
        return QWidget::eventFilter(watched, e);
    }
}

} // namespace zondari
