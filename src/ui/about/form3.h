#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
class QTimer;
class QToolButton;

namespace zondari {

class AppContext;

// The about window: the logo, the version, a small looping animation, the
// maker's web site and e-mail address, and a button that starts the
// system information tool. Shown modally.
class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(AppContext& ctx, QWidget* parent = nullptr);

    // Centres the window on the screen and loads the logo.
    void Load();
    // The version line, the focus on the close button, the first frame.
    void Activate();

    void Timer1_Timer();
    void Picture6_Click();
    void Picture7_Click();
    void Label8_Click();
    void Command1_Click();
    void Command3d1_Click();

    // Starts the system information tool, or says that there is none.
    void StartSysInfo();

    // The maker's e-mail address.
    static constexpr const char* kEmail = "info@zondari.it";

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    // The window's controls, reached by tests through their object names.
    QLabel* Picture2; // the logo
    QLabel* Label3; // the version line
    QLabel* Label5;
    QLabel* Picture6; // the animation; opens the program's text file
    QTimer* Timer1;
    QLabel* Picture7; // the maker's web site
    QLabel* Label8; // the maker's e-mail address
    QToolButton* Command1;
    QLabel* Label10;
    QPushButton* Command3d1;
    std::array<QLabel*, 3> Image3{}; // the animation's frames

    void showFrame(int i);

    AppContext& ctx_;
    int counter_ = 0; // the first tick shows frame 1
    bool activated_ = false;
};

} // namespace zondari
