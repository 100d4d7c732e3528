#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;

namespace zondari {

class AppContext;

// Starts the sibling program "vortafon", which takes this one's place: the
// program ends even when it cannot be started (after the runtime error
// report).
void startVortafon(AppContext& ctx);

// The frame: the one top-level window, holding every other window as a
// child, with the menu bar, the status bar and the hidden menu `menun`
// that the catalogue window pops up on its list.
class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIForm1(AppContext& ctx);
    ~MDIForm1() override;

    // Maximises the frame, sets the search option, makes the program folder
    // current and reads the settings.
    void Load();

    QMdiArea* mdiArea() const { return area_; }
    QMdiSubWindow* addChild(QWidget* window);
    QMenu* menun() const { return menun_; }

    void menuCatalogo_Click(); // shows the catalogue window, made anew when closed
    void menuTascabile_Click(); // the pocket catalogue, written and opened
    void menump3r_Click();
    void MenuEsci_Click();
    void MenuHelp_Click();
    void menuHP_Click();
    void MenuInfo_Click();
    void MenuHTM_Click();
    void menutxt_Click();
    void menuerase_Click();

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Activate();
    void buildMenus();
    void buildStatusBar();
    void updateStatusBar();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, void (MDIForm1::*slot)());

    AppContext& ctx_;
    QMdiArea* area_;
    QMenu* menun_ = nullptr;
    QLabel* datePanel_ = nullptr;
    QLabel* timePanel_ = nullptr;
    QLabel* insPanel_ = nullptr;
    bool insertMode_ = true;
    bool warning_ = false; // the narrow-screen box is open
    bool ownActivation_ = false; // the activation that its closing causes
};

} // namespace zondari
