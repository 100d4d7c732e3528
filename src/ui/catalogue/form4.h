#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zondari {

class AppContext;

// The search dialog: the text to look for in every catalogue and the two
// search options. OK (or Enter) stores them in the program-wide values;
// Annulla (or Escape, or closing the window) leaves every value as it was,
// which the dialog's result tells: exec() gives Accepted or Rejected.
class Form4 : public QDialog {
    Q_OBJECT
public:
    explicit Form4(AppContext& ctx, QWidget* parent = nullptr);

    void Command3d1_Click();
    void Command3d2_Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    // The window's controls, reached by tests through their object names.
    QLabel* Label1;
    QLineEdit* Text1;
    QCheckBox* Check1; // also search folder names
    QCheckBox* Check2; // compare letter case
    QPushButton* Command3d1; // OK
    QPushButton* Command3d2; // Annulla

    void centreOnScreen();

    AppContext& ctx_;
};

} // namespace zondari
