#include "ui/about/form3.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "core/about/version.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "ui/about/aboutpictures.h"
#include "ui/appcontext.h"

namespace zondari {
namespace {

constexpr const char* kNoSystemInformation = "Informazioni di sistema non disponibili in questo momento";
constexpr int kAnimationMs = 300;
constexpr int kLogoWidth = 320;

} // namespace

Form3::Form3(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , Picture2(new QLabel(this))
    , Label3(new QLabel(this))
    , Label5(new QLabel("per sistemi a 32 bit", this))
    , Picture6(new QLabel(this))
    , Timer1(new QTimer(this))
    , Picture7(new QLabel(this))
    , Label8(new QLabel(kEmail, this))
    , Command1(new QToolButton(this))
    , Label10(new QLabel("System info", this))
    , Command3d1(new QPushButton("OK", this))
    , ctx_(ctx)
{
    setObjectName("Form3");
    setWindowTitle("Zondari - Informazioni");
    setModal(true);

    Picture2->setObjectName("Picture2");
    Picture2->setAlignment(Qt::AlignCenter);
    Label3->setObjectName("Label3");
    Label3->setAlignment(Qt::AlignCenter);
    QFont big = Label3->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    Label3->setFont(big);
    Label5->setObjectName("Label5");
    Label5->setAlignment(Qt::AlignCenter);

    const auto frames = animationFrames();
    for (std::size_t i = 0; i < Image3.size(); ++i) {
        Image3[i] = new QLabel(this);
        Image3[i]->setObjectName(QString("Image3_%1").arg(i));
        Image3[i]->setPixmap(frames[i]);
        Image3[i]->hide();
    }
    Picture6->setObjectName("Picture6");
    Picture6->setFixedSize(frames[0].size());
    Picture6->setCursor(Qt::PointingHandCursor);
    Picture6->installEventFilter(this);

    Picture7->setObjectName("Picture7");
    Picture7->setPixmap(webSitePicture());
    Picture7->setToolTip("Visita la pagina dell'autore");
    Picture7->setCursor(Qt::PointingHandCursor);
    Picture7->installEventFilter(this);

    Label8->setObjectName("Label8");
    Label8->setStyleSheet("QLabel { color: #2f5fb3; text-decoration: underline; }");
    Label8->setCursor(Qt::PointingHandCursor);
    Label8->installEventFilter(this);

    Command1->setObjectName("Command1");
    Command1->setIcon(QIcon(systemInfoPicture()));
    Command1->setIconSize(QSize(32, 32));
    Command1->setToolTip("Informazioni generali sul sistema");
    Label10->setObjectName("Label10");
    Command3d1->setObjectName("Command3d1");
    Command3d1->setToolTip("OK, fatto!");
    Command3d1->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(Picture2, 0, 0, 1, 3);
    grid->addWidget(Label3, 1, 0, 1, 3);
    grid->addWidget(Label5, 2, 0, 1, 3);
    grid->addWidget(Picture6, 3, 0, Qt::AlignCenter);
    grid->addWidget(Picture7, 3, 2, Qt::AlignCenter);
    grid->addWidget(Label8, 4, 0, 1, 3, Qt::AlignCenter);
    auto* sysInfo = new QHBoxLayout;
    sysInfo->addWidget(Command1);
    sysInfo->addWidget(Label10);
    grid->addLayout(sysInfo, 5, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(Command3d1, 5, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    connect(Command1, &QToolButton::clicked, this, ctx_.slot(this, &Form3::Command1_Click));
    connect(Command3d1, &QPushButton::clicked, this, ctx_.slot(this, &Form3::Command3d1_Click));
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kAnimationMs);
    connect(Timer1, &QTimer::timeout, this, ctx_.slot(this, &Form3::Timer1_Timer));
    Timer1->start();
}

void Form3::Load()
{
    const std::string folder = ctx_.programPath();
    const auto logo = files::dirSearch(folder, "zondlogo.jpg");
    if (logo && !logo->empty()) {
        const QPixmap pm(QString::fromStdString(folder + logo->front()));
        if (!pm.isNull())
            Picture2->setPixmap(pm.width() > kLogoWidth ? pm.scaledToWidth(kLogoWidth, Qt::SmoothTransformation) : pm);
    }
    // Centred with the logo in.
    adjustSize();
    const Screen& screen = ctx_.services.screen;
    move((screen.toPixels(screen.widthTwips()) - width()) / 2, (screen.toPixels(screen.heightTwips()) - height()) / 2);
}

void Form3::Activate()
{
    Label3->setText(QString::fromStdString(programVersionLine()));
    Command3d1->setFocus();
    showFrame(0);
}

void Form3::showFrame(int i)
{
    Picture6->setPixmap(Image3[static_cast<std::size_t>(i)]->pixmap());
}

void Form3::Timer1_Timer()
{
    counter_ = counter_ + 1;
    if (counter_ > 2)
        counter_ = 0;
    showFrame(counter_);
}

void Form3::Picture6_Click()
{
    check(ctx_.services.shell.start("start", {ctx_.programPath() + "zondari.txt"}));
}

void Form3::Picture7_Click()
{
    (void)ctx_.services.shell.open(kHomePage); // the result is not looked at
}

void Form3::Label8_Click()
{
    QApplication::restoreOverrideCursor();
    (void)ctx_.services.shell.open(std::string("mailto:") + kEmail); // the result is not looked at
    QApplication::restoreOverrideCursor();
}

void Form3::Command1_Click()
{
    StartSysInfo();
}

void Form3::Command3d1_Click()
{
    accept();
}

void Form3::StartSysInfo()
{
    // A tool that cannot be started (gone since it was found, broken) is as
    // good as none.
    const std::string program = systemInformationProgram();
    if (!program.empty() && ctx_.services.shell.start(program, {}))
        return;
    ctx_.dialogs().message(kNoSystemInformation);
}

void Form3::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!activated_) {
        activated_ = true;
        ctx_.slot(this, &Form3::Activate)();
    }
}

bool Form3::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (watched == Picture6) {
            ctx_.slot(this, &Form3::Picture6_Click)();
            return true;
        }
        if (watched == Picture7) {
            ctx_.slot(this, &Form3::Picture7_Click)();
            return true;
        }
        if (watched == Label8) {
            ctx_.slot(this, &Form3::Label8_Click)();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

} // namespace zondari
