#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

namespace zondari {

class AppContext;

// The font chooser: the family, size, bold and italic of the printed
// insert. OK and Annulla both hide it; it is never unloaded.
class fONTEN : public QDialog {
    Q_OBJECT
public:
    explicit fONTEN(AppContext& ctx, QWidget* parent = nullptr);

    // Centres the window and lists the installed families.
    void Form_Load();

    // Selects the current print font in the list, when it is there.
    void Form_Paint();
    void LstFonts_Click();
    void Check3d1_Click();
    void Check3d2_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    // Escape and the window's close button: as Annulla.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QListWidget* LstFonts;
    QLabel* Label1; // how many families are installed
    QLineEdit* TxtFontPreview;
    QCheckBox* Check3d1; // italic
    QCheckBox* Check3d2; // bold
    QLabel* Label2;
    QLineEdit* Text1; // size in points
    QToolButton* cmdOK;
    QLabel* Label3;
    QToolButton* cmdCancel;
    QLabel* Label4;

    // Widens the sample box to show the sample of any listed family whole.
    void fitSample();

    AppContext& ctx_;
    std::vector<std::string> families_;
    // What the boxes held when the window was shown: Annulla puts it back.
    bool shownItalic_ = false;
    bool shownBold_ = false;
    QString shownSize_;
};

} // namespace zondari
