#include "ui/tags/frmmain.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/common/paths.h"
#include "core/common/text.h"
#include "platform/files.h"
#include "platform/id3v2file.h"
#include "platform/mp3file.h"
#include "ui/appcontext.h"
#include "ui/player/dirlistbox.h"
#include "ui/shell/childwindow.h"

namespace zondari {
namespace {

constexpr const char* kNoFile = "Non è stato specificato nessun file!";

QLineEdit* lineEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QLabel* label(const char* name, const QString& caption, QWidget* parent)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}
std::string ss(const QString& s)
{
    return s.toStdString();
}

} // namespace

frmMain::frmMain(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , Frame1(new QGroupBox("Tag ID3 Editor", this))
    , txtNomefile(lineEdit("txtNomefile", Frame1))
    , Command1(button("Command1", "...", Frame1))
    , Frame2(new QGroupBox("Informazioni", this))
    , txtTitolo(lineEdit("txtTitolo", Frame2))
    , txtAutore(lineEdit("txtAutore", Frame2))
    , txtAlbum(lineEdit("txtAlbum", Frame2))
    , txtAnno(lineEdit("txtAnno", Frame2))
    , txtCommento(lineEdit("txtCommento", Frame2))
    , comboGenere(new QComboBox(Frame2))
    , Frame3(new QGroupBox("Comandi", this))
    , Command2(button("Command2", "Carica ID3", Frame3))
    , Command3(button("Command3", "Salva ID3", Frame3))
    , Command4(button("Command4", "Chiudi", Frame3))
    , copyFromId3v2(button("copyFromId3v2", "Copia da ID3v2", Frame3))
    , ctx_(ctx)
{
    setObjectName("frmMain");
    setWindowTitle("ID3 Editor");
    Frame1->setObjectName("Frame1");
    Frame2->setObjectName("Frame2");
    Frame3->setObjectName("Frame3");
    comboGenere->setObjectName("comboGenere");
    Command1->setToolTip("Carica un file MP3 da editare");
    for (std::string_view name : tageditor::genres())
        comboGenere->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    comboGenere->setCurrentIndex(-1);

    auto* fileRow = new QHBoxLayout(Frame1);
    fileRow->addWidget(txtNomefile, 1);
    fileRow->addWidget(Command1);

    auto* form = new QFormLayout(Frame2);
    const auto& captions = tageditor::kFieldCaptions;
    const char* labelNames[] = {"Label1", "Label2", "Label3", "Label5", "Label4", "Label6"};
    QWidget* fields[] = {txtTitolo, txtAutore, txtAlbum, txtAnno, txtCommento, comboGenere};
    for (std::size_t i = 0; i < captions.size(); ++i)
        form->addRow(
            label(labelNames[i], QString::fromUtf8(captions[i].data(), int(captions[i].size())), Frame2), fields[i]);

    auto* commands = new QHBoxLayout(Frame3);
    auto* loadColumn = new QVBoxLayout;
    loadColumn->addWidget(Command2);
    loadColumn->addWidget(label("Label9", "Carica ID3", Frame3), 0, Qt::AlignHCenter);
    auto* saveColumn = new QVBoxLayout;
    saveColumn->addWidget(Command3);
    saveColumn->addWidget(label("Label8", "Salva ID3", Frame3), 0, Qt::AlignHCenter);
    commands->addLayout(loadColumn);
    commands->addLayout(saveColumn);
    commands->addWidget(copyFromId3v2, 0, Qt::AlignTop);
    commands->addWidget(Command4, 0, Qt::AlignTop);
    copyFromId3v2->setToolTip("Riempie i campi con il tag ID3v2 del file; si salva con \"Salva ID3\"");
    copyFromId3v2->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    layout->addWidget(Frame3);
    layout->addStretch(1);

    const auto on = [this](QPushButton* b, void (frmMain::*handler)()) {
        connect(b, &QPushButton::clicked, this, ctx_.slot(this, handler));
    };
    on(Command1, &frmMain::Command1_Click);
    on(Command2, &frmMain::Command2_Click);
    on(Command3, &frmMain::Command3_Click);
    on(Command4, &frmMain::Command4_Click);
    on(copyFromId3v2, &frmMain::copyFromId3v2_Click);
}

void frmMain::Load()
{
    std::string folder = files::currentFolder();
    if (ctx_.player.present()) {
        folder = ctx_.player.musicFolder();
        ctx_.player.goToMusicFolder();
    }
    const std::string track = text::trimLeftSpaces(ctx_.state.BranoCorrente);
    if (!track.empty()) {
        txtNomefile->setText(qs(withSlash(folder) + track));
        Caricafile();
    }
}

std::string frmMain::fileName() const
{
    return ss(txtNomefile->text());
}

void frmMain::showFields(const tageditor::Fields& f)
{
    txtTitolo->setText(qs(f.title));
    txtAutore->setText(qs(f.artist));
    txtAlbum->setText(qs(f.album));
    txtAnno->setText(qs(f.year));
    txtCommento->setText(qs(f.comment));
    comboGenere->setCurrentIndex(f.genre);
}

tageditor::Fields frmMain::shownFields() const
{
    return {ss(txtTitolo->text()), ss(txtAutore->text()), ss(txtAlbum->text()), ss(txtAnno->text()),
        ss(txtCommento->text()), comboGenere->currentIndex()};
}

void frmMain::Caricafile()
{
    const std::string name = fileName();
    if (name.empty()) {
        ctx_.dialogs().message(kNoFile);
        return;
    }
    const auto read = ReadTag(name);
    loaded_ = read ? std::optional(read->state) : std::nullopt;
    loadedName_ = name;
    if (read && read->tag) {
        tag_ = *read->tag;
        showFields(tageditor::fromTag(tag_));
    } else {
        ctx_.dialogs().message(tageditor::kNoTagText, MsgButtons::Ok, MsgIcon::Information);
        tag_ = TagRecord{};
        showFields(tageditor::forUntagged(name));
    }
    copyFromId3v2->setEnabled(readId3v2(name).present());
    txtTitolo->setFocus();
}

void frmMain::Command1_Click()
{
    const std::string current = fileName();
    const std::string start = current.empty() ? files::currentFolder() : files::folderOf(current);
    if (auto chosen = ctx_.dialogs().openFile("Selezionare un file MP3", "Files MP3 (*.mp3)|*.mp3", start))
        txtNomefile->setText(qs(*chosen));
    if (!txtNomefile->text().isEmpty())
        Caricafile();
}

void frmMain::Command2_Click()
{
    Caricafile();
}

void frmMain::Command3_Click()
{
    const std::string name = fileName();
    if (name.empty()) {
        ctx_.dialogs().message(kNoFile);
        return;
    }
    // The track and genre bytes come from the tag the file holds now, so a
    // save never wipes them, whatever file was loaded before.
    const auto inFile = ReadTag(name);
    tag_ = tageditor::toSave(shownFields(), inFile ? inFile->tag : std::nullopt);
    // The file loaded must still be the file saved; a name typed without a
    // load is saved as it is found.
    FileState* known = name == loadedName_ && loaded_ ? &*loaded_ : nullptr;
    const auto written = WriteTag(name, tag_, known);
    if (written && *written == TagWrite::Changed) {
        ctx_.dialogs().message(tageditor::kChangedText, MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    if (written && *written == TagWrite::NotMp3) {
        ctx_.dialogs().message(tageditor::kNotMp3Text, MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    if (written && *written == TagWrite::ChangedWhileWriting) {
        // A box's sentence starts with a capital.
        const std::string text = tageditor::kChangedWhileWritingText;
        ctx_.dialogs().message("I" + text.substr(1) + ".", MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    if (written)
        return;
    if (tageditor::isBusy(written.error()))
        ctx_.dialogs().message(tageditor::kBusyText);
    else
        ctx_.dialogs().message(
            Message{tageditor::writeErrorText(written.error()), MsgButtons::Ok, MsgIcon::Critical, ""});
}

void frmMain::Command4_Click()
{
    unloadWindow(this);
}

void frmMain::copyFromId3v2_Click()
{
    // The tag as it is now: another program may have changed it since the load.
    const Id3v2Tag tag = readId3v2(loadedName_);
    copyFromId3v2->setEnabled(tag.present());
    if (tag.present())
        showFields(id3v2::toEditorFields(tag));
}

} // namespace zondari
