#pragma once

#include <QFutureWatcher>
#include <QWidget>
#include <memory>
#include <string>

#include "core/catalogue/findsubfolders.h"
#include "platform/cataloguestore.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace zondari {

class AppContext;
class CatalogueListBox;

// The catalogue window: scans a CD or folder into a catalogue file, shows
// the current catalogue (title and entries) and the list of the user's
// catalogues, and starts the commands on them.
class frmMP3print : public QWidget {
    Q_OBJECT
public:
    explicit frmMP3print(AppContext& ctx, QWidget* parent = nullptr);
    ~frmMP3print() override;

    // Sets the print defaults, makes the program folder current, shows the
    // logo and refreshes the catalogue list.
    void Load();

    // The toolbar's buttons are actions named by their keys: "leggi",
    // "html", "font", "vedi", "rebuild", "cerca", "anteprima".
    void Toolbar1_ButtonClick(const QString& key);

    // The scan: the user picks a folder; the walk runs off the window's
    // thread while the window shows how far it has got; its entries become
    // the current catalogue and the catalogue file is written. What the
    // walk passed over is told at the end.
    void Leggifile();
    bool scanning() const { return scanProgress_ || dataProgress_; }

    // Refills the catalogue list from the program folder.
    void RefreshList();

    void List1_Click();
    // Plays the selected entry (a double click, or "Riproduci" in the
    // list's menu).
    void List1_DblClick();
    void List3_Click(); // also a character key in List3
    void List3_DblClick();
    void Text2_LostFocus();
    void Command1_Click(); // the file types window
    void Command2_Click(); // show contents
    void Command3_Click(); // delete
    void Command4_Click(); // edit
    void Command5_Click(); // "Annulla": stops a scan, nothing written

    // The file name of the selected catalogue; empty when none is selected.
    std::string selectedName() const;

    // For the frame's menus.
    void DeleteSelected() { Command3_Click(); }
    void EditSelected() { Command4_Click(); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QToolBar* Toolbar1;
    QLabel* Label1;
    QLineEdit* Text1; // the catalogue title
    QGroupBox* Frame1;
    QRadioButton* Option1; // music files only
    QRadioButton* Option2; // all files
    QCheckBox* Check1; // the insert lists the folders too
    QLabel* Label2;
    QLineEdit* Text2; // columns of the printed listing
    QPushButton* Command1;
    QListWidget* List1; // the entries of the current catalogue
    QLabel* Label3;
    CatalogueListBox* List3; // the catalogue list
    QLabel* Label5; // count line
    QLabel* Label6; // title of the selected catalogue
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QLabel* Picture2;
    QLabel* Progress; // how far a running scan has got
    QCheckBox* Check2; // a scan takes the audio fingerprints too
    QLabel* Label7; // the current catalogue's totals, and its rows that match no entry
    QLabel* Label8; // the data of the selected entry
    QPushButton* Command5; // "Annulla", while a scan runs

    // Show the current catalogue, the column count and the print font as
    // they are now.
    void showEntries();
    void showTitle();
    void showColumns();
    void showPrintFont();

    void buildToolbar();
    void buildLayout();
    void connectControls();
    QAction* toolbarButton(const QString& key) const;
    void finishScan();
    void finishWrite();
    void showScanRunning(bool running);
    // What the side files of the current catalogue tell: its totals, and of
    // the entry in `row` of List1.
    void showData();
    void showEntryData(std::size_t row);
    // Runs the column check when the focus leaves Text2 for another of
    // this window's controls.
    void Text2_FocusOut();
    bool isOwnFrame(const QWidget* w) const;
    // The column count typed into Text2, held to 2..7 (the user is told
    // when it is not), into the print settings.
    void takeColumns();

    AppContext& ctx_;
    // The scan in progress: its walk runs on the thread pool, and the
    // watcher brings its progress and its outcome back to this thread.
    QFutureWatcher<catalogue::ScanOutcome> scanWatcher_;
    std::unique_ptr<catalogue::ScanProgress> scanProgress_; // while a scan runs
    // Then the files are read for their data and the catalogue written.
    QFutureWatcher<cataloguestore::SavedScan> writeWatcher_;
    std::unique_ptr<cataloguestore::DataProgress> dataProgress_;
    std::string leftOut_, leftOutDetails_;
    bool toldLeftOut_ = false;
    std::string scanRoot_;
    bool checkingColumns_ = false;
};

} // namespace zondari
