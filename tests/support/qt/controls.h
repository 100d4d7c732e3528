#pragma once

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <vector>

#include "support/qt/fakes.h"
#include "support/qt/widgets.h"
#include "ui/catalogue/cataloguelistbox.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/printing/fonten.h"
#include "ui/printing/frmpreview.h"

// The controls of the catalogue window, the preview and the font chooser,
// reached as a person's test reaches them: by the names the windows give
// them. `Text1(w)` is the catalogue window's title box.
namespace zondari::test {

// The catalogue window.
inline QToolBar* Toolbar1(const frmMP3print* w)
{
    return control<QToolBar>(w, "Toolbar1");
}
inline QLineEdit* Text1(const frmMP3print* w)
{
    return control<QLineEdit>(w, "Text1");
}
inline QLineEdit* Text2(const frmMP3print* w)
{
    return control<QLineEdit>(w, "Text2");
}
inline QRadioButton* Option1(const frmMP3print* w)
{
    return control<QRadioButton>(w, "Option1");
}
inline QRadioButton* Option2(const frmMP3print* w)
{
    return control<QRadioButton>(w, "Option2");
}
inline QCheckBox* Check1(const frmMP3print* w)
{
    return control<QCheckBox>(w, "Check1");
}
inline QPushButton* Command1(const frmMP3print* w)
{
    return control<QPushButton>(w, "Command1");
}
inline QPushButton* Command2(const frmMP3print* w)
{
    return control<QPushButton>(w, "Command2");
}
inline QPushButton* Command3(const frmMP3print* w)
{
    return control<QPushButton>(w, "Command3");
}
inline QPushButton* Command4(const frmMP3print* w)
{
    return control<QPushButton>(w, "Command4");
}
inline QListWidget* List1(const frmMP3print* w)
{
    return control<QListWidget>(w, "List1");
}
inline CatalogueListBox* List3(const frmMP3print* w)
{
    return control<CatalogueListBox>(w, "List3");
}
inline QLabel* Label5(const frmMP3print* w)
{
    return control<QLabel>(w, "Label5");
}
inline QLabel* Label6(const frmMP3print* w)
{
    return control<QLabel>(w, "Label6");
}
inline QLabel* Picture2(const frmMP3print* w)
{
    return control<QLabel>(w, "Picture2");
}
inline QLabel* Progress(const frmMP3print* w)
{
    return control<QLabel>(w, "Progress");
}
// A key of its toolbar, by its name: "leggi", "html", "font", ...
inline QAction* Toolbar1Key(const frmMP3print* w, const char* key)
{
    return control<QAction>(w, key);
}

// A scan as a person makes it: the toolbar's "leggi", then `folder` picked
// in the browser. True once the scan has ended, its boxes answered from
// `dialogs`; false when it has not ended within 20 seconds.
inline bool scanInWindow(frmMP3print* w, FakeDialogs& dialogs, const std::string& folder)
{
    dialogs.folders.push_back(folder);
    Toolbar1Key(w, "leggi")->trigger();
    return QTest::qWaitFor([w] { return !w->scanning(); }, 20000);
}

// The preview.
inline PreviewPicture* Picture1(const FrmPreview* p)
{
    return control<PreviewPicture>(p, "Picture1");
}
// The column choices, 2 to 7.
inline std::vector<QRadioButton*> Option1(const FrmPreview* p)
{
    std::vector<QRadioButton*> out;
    for (int i = 0; i < 6; ++i)
        out.push_back(control<QRadioButton>(p, QString("Option1_%1").arg(i).toLatin1().constData()));
    return out;
}
inline QToolButton* Command1(const FrmPreview* p)
{
    return control<QToolButton>(p, "Command1");
}
inline QToolButton* Command3(const FrmPreview* p)
{
    return control<QToolButton>(p, "Command3");
}
inline QToolButton* Command4(const FrmPreview* p)
{
    return control<QToolButton>(p, "Command4");
}
inline QLabel* Label1(const FrmPreview* p)
{
    return control<QLabel>(p, "Label1");
}
inline QLabel* Label7(const FrmPreview* p)
{
    return control<QLabel>(p, "Label7");
}
inline QLabel* LeftOut(const FrmPreview* p)
{
    return control<QLabel>(p, "LeftOut");
}
inline QCheckBox* Fit(const FrmPreview* p)
{
    return control<QCheckBox>(p, "Fit");
}
inline QLabel* FontSize(const FrmPreview* p)
{
    return control<QLabel>(p, "FontSize");
}

// The font chooser.
inline QListWidget* LstFonts(const fONTEN* f)
{
    return control<QListWidget>(f, "LstFonts");
}
inline QLabel* Label1(const fONTEN* f)
{
    return control<QLabel>(f, "Label1");
}
inline QLineEdit* TxtFontPreview(const fONTEN* f)
{
    return control<QLineEdit>(f, "TxtFontPreview");
}
inline QCheckBox* Check3d1(const fONTEN* f)
{
    return control<QCheckBox>(f, "Check3d1");
}
inline QCheckBox* Check3d2(const fONTEN* f)
{
    return control<QCheckBox>(f, "Check3d2");
}
inline QLineEdit* Text1(const fONTEN* f)
{
    return control<QLineEdit>(f, "Text1");
}
inline QToolButton* cmdOK(const fONTEN* f)
{
    return control<QToolButton>(f, "cmdOK");
}
inline QToolButton* cmdCancel(const fONTEN* f)
{
    return control<QToolButton>(f, "cmdCancel");
}
inline QLabel* Label3(const fONTEN* f)
{
    return control<QLabel>(f, "Label3");
}
inline QLabel* Label4(const fONTEN* f)
{
    return control<QLabel>(f, "Label4");
}

} // namespace zondari::test
