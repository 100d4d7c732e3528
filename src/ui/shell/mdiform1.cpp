#include "ui/shell/mdiform1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <cerrno>

#include "core/about/version.h"
#include "platform/shell.h"
#include "ui/appcontext.h"
#include "ui/shell/module1.h"
#include "ui/shell/shortdate.h"

namespace zondari {

namespace {

constexpr const char* kNarrowScreenWarning
    = "Attenzione: Si sta usando una risoluzione video molto probabilmente inferiore a 800x600 pixel, per un "
      "corretto utilizzo di Zondari occorre aumentare la risoluzione video almeno a 800x600 pixel. (Consigliato "
      "1024x768). Per cambiare l'impostazione sui sistemi Windows cliccare uscire dal programma quindi col "
      "pulsante destro sull'icona della traybar a destra scegliere la risoluzione video desiderata.";

constexpr int kNarrowScreenTwips = 8000;

} // namespace

MDIForm1::MDIForm1(AppContext& ctx)
    : ctx_(ctx)
    , area_(new QMdiArea(this))
{
    setObjectName("MDIForm1");
    setWindowTitle("Zondari");
    area_->setObjectName("mdiArea");
    area_->setBackground(QColor(0x80, 0x80, 0x80));
    setCentralWidget(area_);
    buildMenus();
    buildStatusBar();
    ctx_.frame = this;
    qApp->installEventFilter(this);
}

MDIForm1::~MDIForm1()
{
    ctx_.frame = nullptr;
}

QAction* MDIForm1::addItem(QMenu* menu, const char* name, const QString& caption, void (MDIForm1::*slot)())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, ctx_.slot(this, slot));
    return a;
}

void MDIForm1::buildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("MenuFile");
    // The way back to the catalogue window once it has been closed.
    addItem(file, "menuCatalogo", "&Catalogo CD e cartelle MP3", &MDIForm1::menuCatalogo_Click)
        ->setEnabled(bool(ctx_.openers.showCatalogue));
    addItem(file, "menuTascabile", "Catalogo &tascabile", &MDIForm1::menuTascabile_Click);
    addItem(file, "menump3r", "&vortafon ...", &MDIForm1::menump3r_Click);
    file->addSeparator()->setObjectName("menuiai");
    addItem(file, "MenuEsci", "&Esci", &MDIForm1::MenuEsci_Click)->setShortcut(QKeySequence("Ctrl+F4"));

    QMenu* help = bar->addMenu("?");
    help->setObjectName("mENUhLP");
    addItem(help, "MenuHelp", "&Help", &MDIForm1::MenuHelp_Click)->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator()->setObjectName("alal");
    addItem(help, "menuHP", "&Visita la home page di Zondari ...", &MDIForm1::menuHP_Click);
    help->addSeparator()->setObjectName("Meno0");
    QAction* about = addItem(help, "MenuInfo", "&About", &MDIForm1::MenuInfo_Click);
    about->setShortcut(QKeySequence(Qt::Key_F4));
    about->setEnabled(bool(ctx_.openers.showAbout));

    // Never in the menu bar: the catalogue list pops it up.
    menun_ = new QMenu("menun", this);
    menun_->setObjectName("menun");
    addItem(menun_, "MenuHTM", "&Rilegge file corrente ed esporta in HTML", &MDIForm1::MenuHTM_Click);
    addItem(menun_, "menutxt", "&Edita/Visualizza file TXT corrente di CD/Cartella", &MDIForm1::menutxt_Click);
    addItem(menun_, "menuerase", "&Cancella file CD/Cartella selezionato", &MDIForm1::menuerase_Click);
    addItem(menun_, "menunTascabile", "Catalogo &tascabile", &MDIForm1::menuTascabile_Click);
    // Its shortcuts-free items still need a parent that receives events.
    addActions(menun_->actions());
}

void MDIForm1::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(true);
    auto panel = [bar](const char* name, const QString& text, int stretch) {
        auto* l = new QLabel(text);
        l->setObjectName(name);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setContentsMargins(4, 0, 4, 0);
        bar->addPermanentWidget(l, stretch);
        return l;
    };
    panel("Panel1", "Zondari", 1);
    datePanel_ = panel("Panel2", {}, 0);
    timePanel_ = panel("Panel3", {}, 0);
    insPanel_ = panel("Panel4", "INS", 0);
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &MDIForm1::updateStatusBar);
    clock->start(1000);
    updateStatusBar();
}

void MDIForm1::updateStatusBar()
{
    const QDateTime now = QDateTime::currentDateTime();
    datePanel_->setText(shortDate(now.date()));
    timePanel_->setText(uiLocale().toString(now.time(), QLocale::ShortFormat));
    insPanel_->setEnabled(insertMode_);
}

bool MDIForm1::eventFilter(QObject* watched, QEvent* e)
{
    // The Insert key switches between insert and overwrite everywhere in
    // the program; the panel follows it.
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Insert
        && !static_cast<QKeyEvent*>(e)->isAutoRepeat() && watched == QApplication::focusWidget()) {
        insertMode_ = !insertMode_;
        updateStatusBar();
    }
    return QMainWindow::eventFilter(watched, e);
}

QMdiSubWindow* MDIForm1::addChild(QWidget* window)
{
    QMdiSubWindow* sub = area_->addSubWindow(window);
    sub->setObjectName(window->objectName() + "Window");
    sub->setWindowTitle(window->windowTitle());
    sub->setWindowIcon(windowIcon());
    return sub;
}

void MDIForm1::Load()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    ctx_.state.searchFolders = 1;
    // The settings are read whatever happens to the current folder.
    ctx_.slot(&ctx_, &AppContext::goToProgramFolder)();
    readSettings(ctx_);
}

bool MDIForm1::event(QEvent* e)
{
    const bool r = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate) {
        if (ownActivation_)
            ownActivation_ = false; // back from our own warning: not a new activation
        else if (!warning_)
            ctx_.slot(this, &MDIForm1::Activate)();
    }
    return r;
}

void MDIForm1::closeEvent(QCloseEvent* e)
{
    // The frame closed by its button ends the program: the music's place is
    // kept first, when asked for.
    ctx_.player.rememberPlace();
    QMainWindow::closeEvent(e);
}

void MDIForm1::Activate()
{
    if (ctx_.services.screen.widthTwips() >= kNarrowScreenTwips)
        return;
    warning_ = true;
    ctx_.dialogs().message(kNarrowScreenWarning);
    warning_ = false;
    // Closing the box gives the frame back its activation; that one is ours.
    ownActivation_ = !isActiveWindow();
}

void startVortafon(AppContext& ctx)
{
    // The launcher returns at once, whether or not it finds the program:
    // whether there is one to start is asked first, where the launcher
    // would look, so that a missing one is reported before the end.
    Status st = runtimeErrorFromErrno(ENOENT);
    if (!findProgram("vortafon", {ctx.state.programFolder}).empty())
        st = ctx.services.shell.start("start", {"vortafon"});
    if (!st)
        ctx.dialogs().runtimeError(st.error());
    ctx.services.end();
}

void MDIForm1::menuCatalogo_Click()
{
    if (ctx_.openers.showCatalogue)
        ctx_.openers.showCatalogue();
}

void MDIForm1::menuTascabile_Click()
{
    if (ctx_.openers.pocketCatalogue)
        ctx_.openers.pocketCatalogue();
}

void MDIForm1::menump3r_Click()
{
    startVortafon(ctx_);
}

void MDIForm1::MenuEsci_Click()
{
    ctx_.player.rememberPlace();
    ctx_.services.end();
}

void MDIForm1::MenuHelp_Click()
{
    ctx_.openWithStart(ctx_.programPath() + "zondari.htm");
}

void MDIForm1::menuHP_Click()
{
    QApplication::restoreOverrideCursor();
    (void)ctx_.services.shell.open(kHomePage); // the result is not looked at
    QApplication::restoreOverrideCursor();
}

void MDIForm1::MenuInfo_Click()
{
    if (ctx_.openers.showAbout)
        ctx_.openers.showAbout();
}

// The three items of `menun` act on the catalogue window's list; they do
// nothing while the catalogue window is not part of the program.
void MDIForm1::MenuHTM_Click()
{
    if (ctx_.openers.catalogueShowContents)
        ctx_.openers.catalogueShowContents();
}

void MDIForm1::menutxt_Click()
{
    if (ctx_.openers.catalogueEdit)
        ctx_.openers.catalogueEdit();
}

void MDIForm1::menuerase_Click()
{
    if (ctx_.openers.catalogueDelete)
        ctx_.openers.catalogueDelete();
}

} // namespace zondari
