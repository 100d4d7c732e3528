#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "core/tags/id3v1.h"
#include "core/tags/id3v2.h"
#include "core/tags/tageditor.h"
#include "platform/mp3file.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zondari {

class AppContext;

// The tag editor: the ID3v1 tag of one MP3 file in six fields, loaded,
// changed and saved back.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(AppContext& ctx, QWidget* parent = nullptr);

    // Goes to the player's folder and loads the player's current track.
    void Load();

    // Fills the fields from the file named in txtNomefile.
    void Caricafile();

    void Command1_Click(); // choose a file
    void Command2_Click(); // load
    void Command3_Click(); // save
    void Command4_Click(); // close
    // "Copia da ID3v2": fills the fields from the loaded file's ID3v2 tag,
    // as ID3v1 can hold them; nothing is written until a save.
    void copyFromId3v2_Click();

    // The record between loading and saving.
    const TagRecord& tag() const { return tag_; }

private:
    // The window's controls, reached by tests through their object names.
    QGroupBox* Frame1;
    QLineEdit* txtNomefile;
    QPushButton* Command1;
    QGroupBox* Frame2;
    QLineEdit* txtTitolo;
    QLineEdit* txtAutore;
    QLineEdit* txtAlbum;
    QLineEdit* txtAnno;
    QLineEdit* txtCommento;
    QComboBox* comboGenere;
    QGroupBox* Frame3;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* copyFromId3v2; // enabled while the loaded file has an ID3v2 tag

    void showFields(const tageditor::Fields& fields);
    tageditor::Fields shownFields() const;
    std::string fileName() const;

    AppContext& ctx_;
    TagRecord tag_;
    // The file as the last load found it, so that a save refuses a file
    // another program has changed since.
    std::string loadedName_;
    std::optional<FileState> loaded_;
};

} // namespace zondari
