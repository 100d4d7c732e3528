#include "ui/catalogue/frmmp3print.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdio>

#include "core/catalogue/cataloguelist.h"
#include "core/catalogue/leftout.h"
#include "core/catalogue/pages.h"
#include "core/catalogue/scanrules.h"
#include "core/printing/fontchoice.h"
#include "platform/cataloguestore.h"
#include "platform/files.h"
#include "platform/volume.h"
#include "ui/appcontext.h"
#include "ui/catalogue/cataloguelistbox.h"
#include "ui/catalogue/entrylist.h"
#include "ui/catalogue/form2.h"
#include "ui/catalogue/pages.h"
#include "ui/catalogue/playentry.h"
#include "ui/catalogue/scanjob.h"
#include "ui/printing/printing.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

namespace cat = catalogue;

namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string s(const QString& q)
{
    return q.toStdString();
}

struct ToolbarButton {
    const char* key;
    const char* toolTip;
    QStyle::StandardPixmap icon;
};

constexpr ToolbarButton kToolbar[] = {
    {"leggi", "Legge un nuovo CD/cartella", QStyle::SP_DriveCDIcon},
    {"html", "Salva in HTML", QStyle::SP_DialogSaveButton},
    {"font", "Cambia font per la stampa", QStyle::SP_FileDialogInfoView},
    {"vedi", "Rinfresca lista cd registrati finora", QStyle::SP_BrowserReload},
    {"rebuild", "Ricostruisce tutto l'archivio", QStyle::SP_FileDialogListView},
    {"cerca", "Ricerca libera: canzone, autore o altro ...", QStyle::SP_FileDialogContentsView},
    {"anteprima", "Anteprima/Stampa etichetta CD", QStyle::SP_FileDialogDetailedView},
    {"doppioni", "Trova doppioni", QStyle::SP_FileLinkIcon},
};

} // namespace

frmMP3print::frmMP3print(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , Toolbar1(new QToolBar(this))
    , Label1(new QLabel("Titolo raccolta musicale CD di MP3", this))
    , Text1(new QLineEdit(this))
    , Frame1(new QGroupBox("Parametri", this))
    , Option1(new QRadioButton("Solo i files MP3 ...", Frame1))
    , Option2(new QRadioButton("Tutti i files", Frame1))
    , Check1(new QCheckBox("Stampa anche le directory", Frame1))
    , Label2(new QLabel("N. Colonne", Frame1))
    , Text2(new QLineEdit(Frame1))
    , Command1(new QPushButton("&Files", Frame1))
    , List1(new QListWidget(this))
    , Label3(new QLabel("Elenco dei CD letti", this))
    , List3(new CatalogueListBox(this))
    , Label5(new QLabel(this))
    , Label6(new QLabel(this))
    , Command2(new QPushButton(this))
    , Command3(new QPushButton(this))
    , Command4(new QPushButton(this))
    , Picture2(new QLabel(this))
    , Progress(new QLabel(this))
    , Check2(new QCheckBox("Impronte audio (più lento)", Frame1))
    , Label7(new QLabel(this))
    , Label8(new QLabel(this))
    , Command5(new QPushButton("Annulla", this))
    , ctx_(ctx)
{
    setObjectName("frmMP3print");
    setWindowTitle("Catalogo CD e cartelle MP3");
    const std::pair<QObject*, const char*> names[] = {
        {Toolbar1, "Toolbar1"},
        {Label1, "Label1"},
        {Text1, "Text1"},
        {Frame1, "Frame1"},
        {Option1, "Option1"},
        {Option2, "Option2"},
        {Check1, "Check1"},
        {Label2, "Label2"},
        {Text2, "Text2"},
        {Command1, "Command1"},
        {List1, "List1"},
        {Label3, "Label3"},
        {List3, "List3"},
        {Label5, "Label5"},
        {Label6, "Label6"},
        {Command2, "Command2"},
        {Command3, "Command3"},
        {Command4, "Command4"},
        {Picture2, "Picture2"},
        {Progress, "Progress"},
        {Check2, "Check2"},
        {Label7, "Label7"},
        {Label8, "Label8"},
        {Command5, "Command5"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    Option1->setChecked(true);
    Command1->setToolTip("Personalizza tipi di files da leggere");
    Command2->setToolTip("Mostra contenuto CD catalogato");
    Command3->setToolTip("Cancella il file del CD catalogato");
    Command4->setToolTip("Edita/Visualizza file di testo di archivio");
    Command2->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    Command3->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    Command4->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    // Show contents belongs to the pages of the catalogue; without them it
    // has nothing to show.
    Command2->setEnabled(bool(ctx_.openers.catalogueShowContents));
    List1->setUniformItemSizes(true);
    List3->setSortingEnabled(false); // filled in the sorted order already
    Label6->setWordWrap(true);
    Label6->setTextFormat(Qt::PlainText);
    Label5->setTextFormat(Qt::PlainText);
    for (QLabel* plain : {Progress, Label7, Label8})
        plain->setTextFormat(Qt::PlainText);
    Label8->setWordWrap(true);
    Command5->setVisible(false);
    Picture2->setAlignment(Qt::AlignCenter);
    Text2->setMaximumWidth(48);
    Text2->setText("3");

    // A new window starts with a new catalogue.
    ctx_.state.catalogue = CurrentCatalogue{};
    showTitle();
    Check1->setChecked(ctx_.state.catalogue.printFolders);

    buildToolbar();
    buildLayout();
    connectControls();
    connect(&scanWatcher_, &QFutureWatcherBase::progressTextChanged, Progress, &QLabel::setText);
    connect(&scanWatcher_, &QFutureWatcherBase::finished, this, ctx_.slot(this, &frmMP3print::finishScan));
    connect(&writeWatcher_, &QFutureWatcherBase::progressTextChanged, Progress, &QLabel::setText);
    connect(&writeWatcher_, &QFutureWatcherBase::finished, this, ctx_.slot(this, &frmMP3print::finishWrite));
}

frmMP3print::~frmMP3print()
{
    if (scanning()) {
        Command5_Click();
        scanWatcher_.waitForFinished();
        writeWatcher_.waitForFinished();
        QApplication::restoreOverrideCursor();
    }
    // The catalogue goes with the window that shows it.
    ctx_.state.catalogue = CurrentCatalogue{};
}

void frmMP3print::buildToolbar()
{
    Toolbar1->setIconSize(QSize(24, 24));
    for (const ToolbarButton& b : kToolbar) {
        QAction* a = Toolbar1->addAction(style()->standardIcon(b.icon), b.key);
        a->setObjectName(b.key);
        a->setData(QString(b.key));
        a->setToolTip(b.toolTip);
        const QString key = b.key;
        connect(a, &QAction::triggered, this, ctx_.slot(this, &frmMP3print::Toolbar1_ButtonClick, key));
    }
}

void frmMP3print::buildLayout()
{
    auto* frame = new QGridLayout(Frame1);
    frame->addWidget(Option1, 0, 0, 1, 2);
    frame->addWidget(Option2, 1, 0, 1, 2);
    frame->addWidget(Check1, 2, 0, 1, 2);
    frame->addWidget(Check2, 4, 0, 1, 2);
    auto* columns = new QHBoxLayout;
    columns->addWidget(Label2);
    columns->addWidget(Text2);
    columns->addStretch(1);
    frame->addLayout(columns, 3, 0);
    frame->addWidget(Command1, 3, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(Text1);
    left->addWidget(Frame1);
    left->addWidget(List1, 1);
    left->addWidget(Label7);
    left->addWidget(Label8);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);
    buttons->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(Picture2);
    right->addWidget(Label3);
    right->addWidget(List3, 1);
    right->addWidget(Label5);
    right->addWidget(Label6);
    right->addLayout(buttons);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addLayout(right, 2);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(4, 4, 4, 4);
    all->addWidget(Toolbar1);
    all->addLayout(body, 1);
    auto* progress = new QHBoxLayout;
    progress->addWidget(Progress, 1);
    progress->addWidget(Command5);
    all->addLayout(progress);
}

void frmMP3print::connectControls()
{
    connect(List1, &QListWidget::itemClicked, this, ctx_.slot(this, &frmMP3print::List1_Click));
    connect(List1, &QListWidget::itemDoubleClicked, this, ctx_.slot(this, &frmMP3print::List1_DblClick));
    auto* play = new QAction("Riproduci", List1);
    play->setObjectName("menuRiproduci");
    List1->addAction(play);
    List1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(play, &QAction::triggered, this, ctx_.slot(this, &frmMP3print::List1_DblClick));
    connect(List3, &QListWidget::itemClicked, this, ctx_.slot(this, &frmMP3print::List3_Click));
    connect(List3, &CatalogueListBox::characterKey, this, ctx_.slot(this, &frmMP3print::List3_Click));
    connect(List3, &QListWidget::itemDoubleClicked, this, ctx_.slot(this, &frmMP3print::List3_DblClick));
    connect(List3, &CatalogueListBox::rightButtonPressed, this, [this](const QPoint& at) {
        // The press also selects the item under the pointer: the menu's
        // commands act on it, so its title must be the one shown.
        ctx_.slot(this, &frmMP3print::List3_Click)();
        if (ctx_.frame)
            ctx_.frame->menun()->popup(at);
    });
    connect(Command1, &QPushButton::clicked, this, ctx_.slot(this, &frmMP3print::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, ctx_.slot(this, &frmMP3print::Command2_Click));
    connect(Command3, &QPushButton::clicked, this, ctx_.slot(this, &frmMP3print::Command3_Click));
    connect(Command4, &QPushButton::clicked, this, ctx_.slot(this, &frmMP3print::Command4_Click));
    connect(Command5, &QPushButton::clicked, this, ctx_.slot(this, &frmMP3print::Command5_Click));
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
    // What is typed as the title is the current catalogue's; what others
    // change in it, and in the column count, the window shows.
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& t) { ctx_.setCatalogueTitle(s(t)); });
    connect(Check1, &QCheckBox::toggled, this, [this](bool on) { ctx_.state.catalogue.printFolders = on; });
    connect(&ctx_.events, &AppEvents::catalogueEntriesChanged, this, &frmMP3print::showEntries);
    connect(&ctx_.events, &AppEvents::catalogueTitleChanged, this, &frmMP3print::showTitle);
    connect(&ctx_.events, &AppEvents::printColumnsChanged, this, &frmMP3print::showColumns);
    connect(&ctx_.events, &AppEvents::printFontChanged, this, &frmMP3print::showPrintFont);
}

void frmMP3print::showEntries()
{
    fillEntryList(List1, ctx_.state.catalogue.entries);
    showData();
}

// Only what differs: setting a box moves its cursor to the end.
void frmMP3print::showTitle()
{
    if (Text1->text() != q(ctx_.state.catalogue.title))
        Text1->setText(q(ctx_.state.catalogue.title));
}

void frmMP3print::showColumns()
{
    // A number typed another way ("4.0") stays while it means the count.
    const auto typed = printing::columnsAsTyped(s(Text2->text()));
    if (!typed || *typed != ctx_.state.PrintColumns)
        Text2->setText(QString::number(ctx_.state.PrintColumns));
}

void frmMP3print::showPrintFont()
{
    const AppState& st = ctx_.state;
    QFont f = font();
    f.setFamily(q(st.PrintFontName));
    f.setItalic(st.PrintFontItalic);
    f.setBold(st.PrintFontBold);
    setFont(f);
}

bool frmMP3print::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Text1 && e->type() == QEvent::KeyPress) {
        // The title filter. Shortcuts (copy, paste, select all) stay.
        const auto* key = static_cast<QKeyEvent*>(e);
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) && !key->text().isEmpty()) {
            for (char32_t c : key->text().toUcs4())
                if (!cat::acceptsTitleChar(c))
                    return true;
        }
    }
    if (watched == Text2 && e->type() == QEvent::FocusOut)
        Text2_FocusOut();
    return QWidget::eventFilter(watched, e);
}

bool frmMP3print::isOwnFrame(const QWidget* w) const
{
    return w && (w == this || w == parentWidget());
}

// The box is left only when the focus goes on to another of this window's
// controls. A click on the toolbar or on a bare part of the window puts the
// focus on the window's frame (the toolbar's keys take none): the box keeps
// it, so the preview key still reads the count as typed and the click is not
// lost to the column message. Another window (the preview the key opens, a
// message box) holds the focus only until this one is active again, which
// gives it back to the box.
void frmMP3print::Text2_FocusOut()
{
    QWidget* to = QApplication::focusWidget();
    if (to && isAncestorOf(to)) {
        ctx_.slot(this, &frmMP3print::Text2_LostFocus)();
        return;
    }
    if (to && !isOwnFrame(to))
        return;
    // On the frame, or nowhere while another window is being activated:
    // where it settles tells.
    QTimer::singleShot(0, Text2, [this] {
        QWidget* now = QApplication::focusWidget();
        if (isOwnFrame(now))
            Text2->setFocus(Qt::OtherFocusReason);
        else if (now && now != Text2 && isAncestorOf(now))
            ctx_.slot(this, &frmMP3print::Text2_LostFocus)();
    });
}

QAction* frmMP3print::toolbarButton(const QString& key) const
{
    for (QAction* a : Toolbar1->actions())
        if (a->data().toString() == key)
            return a;
    return nullptr;
}

void frmMP3print::Load()
{
    AppState& st = ctx_.state;
    if (st.PrintFontName.empty())
        st.PrintFontName = "Tahoma";
    // The root of the system's disk, as the root of its first drive was
    // where the original program started.
    if (st.scanFolder.empty())
        st.scanFolder = "/";
    ctx_.goToProgramFolder();
    // What a scan killed while writing left behind.
    files::removeStaleTemporaries(st.programFolder);
    if (const std::string logoFile = ctx_.programPath() + "zondlogo.jpg"; files::fileExists(logoFile)) {
        const QPixmap logo(q(logoFile));
        Picture2->setPixmap(logo.scaled(220, 90, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    if (st.PrintColumns < 2)
        ctx_.setPrintColumns(3);
    RefreshList();
}

void frmMP3print::Toolbar1_ButtonClick(const QString& key)
{
    if (key == "leggi")
        Leggifile();
    else if (key == "vedi")
        RefreshList();
    else if (key == "html")
        exportEntryList(ctx_);
    else if (key == "rebuild")
        rebuildnew(ctx_, cat::kWholeDatabase);
    else if (key == "cerca")
        cerca(ctx_);
    else if (key == "font")
        showFontChooser(ctx_);
    else if (key == "doppioni")
        findDuplicates(ctx_);
    else if (key == "anteprima") {
        // As typed: the preview's own choice holds the count to 2..7.
        const auto columns = printing::columnsAsTyped(s(Text2->text()));
        check(columns);
        ctx_.setPrintColumns(*columns);
        showPreview(ctx_);
    }
}

void frmMP3print::RefreshList()
{
    const AppState& st = ctx_.state;
    auto list = cataloguestore::catalogueListItems(st.programFolder, st.Utente);
    check(list);
    const std::vector<std::string>& items = list->items;
    if (items.empty()) {
        ctx_.dialogs().message(cat::kNoCatalogueMessage);
        // None is left: the list must not go on showing deleted catalogues.
        List3->clear();
        Label5->setText(q(cat::countLine(0)));
        Label6->clear();
        return;
    }
    QStringList texts;
    for (const std::string& item : items)
        texts << q(item);
    List3->clear();
    List3->addItems(texts);
    Label5->setText(q(cat::countLine(items.size())));
    List3->setCurrentRow(0);
    List3_Click();
}

std::string frmMP3print::selectedName() const
{
    const QListWidgetItem* item = List3->currentItem();
    if (!item || !item->isSelected())
        return {};
    return cat::itemFileName(s(item->text()));
}

void frmMP3print::List1_Click()
{
    if (const QListWidgetItem* item = List1->currentItem())
        List1->setToolTip(item->text());
    if (List1->currentRow() >= 0)
        showEntryData(static_cast<std::size_t>(List1->currentRow()));
}

void frmMP3print::List1_DblClick()
{
    const int row = List1->currentRow();
    const CurrentCatalogue& shown = ctx_.state.catalogue;
    if (row < 0 || static_cast<std::size_t>(row) >= shown.entries.size()
        || shown.entries[static_cast<std::size_t>(row)].empty())
        return; // an empty line names nothing to play
    if (shown.path.empty()) {
        ctx_.dialogs().message("Il catalogo non è ancora salvato: non si può riprodurre.");
        return;
    }
    playCatalogueEntry(ctx_, files::nameOf(shown.path), shown.entries[static_cast<std::size_t>(row)]);
}

void frmMP3print::List3_Click()
{
    const std::string name = selectedName();
    if (name.empty())
        return;
    const std::string full = ctx_.programPath() + name;
    if (!files::fileExists(full)) {
        ctx_.dialogs().message(cat::missingCatalogueMessage(full));
        return;
    }
    auto title = cataloguestore::readCatalogueTitle(full);
    check(title);
    Label6->setText(q(cat::shownTitle(*title)));
}

void frmMP3print::List3_DblClick()
{
    Command2_Click();
}

void frmMP3print::Text2_LostFocus()
{
    if (checkingColumns_)
        return; // the message box takes the focus too
    checkingColumns_ = true;
    takeColumns();
    checkingColumns_ = false;
}

void frmMP3print::takeColumns()
{
    const cat::Columns columns = cat::clampColumns(s(Text2->text()));
    if (columns.corrected)
        ctx_.dialogs().message(cat::kColumnsMessage);
    // The box shows the corrected count.
    ctx_.setPrintColumns(columns.value);
}

void frmMP3print::Command1_Click()
{
    Form2 form(ctx_, this);
    form.Load();
    form.exec();
}

void frmMP3print::Command2_Click()
{
    if (ctx_.openers.catalogueShowContents)
        ctx_.openers.catalogueShowContents();
}

void frmMP3print::Command3_Click()
{
    const std::string name = selectedName();
    if (name.empty()) {
        ctx_.dialogs().message(cat::kSelectBeforeDeleteMessage);
        return;
    }
    const std::string full = ctx_.programPath() + name;
    if (ctx_.dialogs().message(cat::deleteQuestion(full, s(Label6->text())), MsgButtons::YesNo) == MsgAnswer::Yes) {
        // Its data goes with it.
        if (const Status deleted = cataloguestore::deleteCatalogue(ctx_.state.programFolder, name); !deleted)
            ctx_.dialogs().runtimeError(deleted.error());
    }
    RefreshList();
}

void frmMP3print::Command4_Click()
{
    const std::string name = selectedName();
    if (name.empty()) {
        ctx_.dialogs().message(cat::kSelectBeforeEditMessage);
        return;
    }
    ctx_.openWithStart(ctx_.programPath() + name);
}

} // namespace zondari
