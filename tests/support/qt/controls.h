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
#define ZONDARI_CONTROL(Type, name, Window)                                                                            \
    inline Type* name(const Window* w)                                                                                 \
    {                                                                                                                  \
        return control<Type>(w, #name);                                                                                \
    }

namespace zondari::test {

// The catalogue window.
ZONDARI_CONTROL(QToolBar, Toolbar1, frmMP3print)
ZONDARI_CONTROL(QLineEdit, Text1, frmMP3print)
ZONDARI_CONTROL(QLineEdit, Text2, frmMP3print)
ZONDARI_CONTROL(QRadioButton, Option1, frmMP3print)
ZONDARI_CONTROL(QCheckBox, Check1, frmMP3print)
ZONDARI_CONTROL(QPushButton, Command1, frmMP3print)
ZONDARI_CONTROL(QPushButton, Command2, frmMP3print)
ZONDARI_CONTROL(QPushButton, Command3, frmMP3print)
ZONDARI_CONTROL(QPushButton, Command4, frmMP3print)
ZONDARI_CONTROL(QListWidget, List1, frmMP3print)
ZONDARI_CONTROL(CatalogueListBox, List3, frmMP3print)
ZONDARI_CONTROL(QLabel, Label5, frmMP3print)
ZONDARI_CONTROL(QLabel, Label6, frmMP3print)
ZONDARI_CONTROL(QLabel, Progress, frmMP3print)
ZONDARI_CONTROL(QCheckBox, Check2, frmMP3print)
ZONDARI_CONTROL(QLabel, Label7, frmMP3print)
ZONDARI_CONTROL(QLabel, Label8, frmMP3print)
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
ZONDARI_CONTROL(PreviewPicture, Picture1, FrmPreview)
// The column choices, 2 to 7.
inline std::vector<QRadioButton*> Option1(const FrmPreview* p)
{
    std::vector<QRadioButton*> out;
    for (int i = 0; i < 6; ++i)
        out.push_back(control<QRadioButton>(p, QString("Option1_%1").arg(i).toLatin1().constData()));
    return out;
}
ZONDARI_CONTROL(QToolButton, Command1, FrmPreview)
ZONDARI_CONTROL(QToolButton, Command3, FrmPreview)
ZONDARI_CONTROL(QToolButton, Command4, FrmPreview)
ZONDARI_CONTROL(QLabel, Label1, FrmPreview)
ZONDARI_CONTROL(QLabel, Label7, FrmPreview)
ZONDARI_CONTROL(QLabel, LeftOut, FrmPreview)
ZONDARI_CONTROL(QCheckBox, Fit, FrmPreview)
ZONDARI_CONTROL(QLabel, FontSize, FrmPreview)

// The font chooser.
ZONDARI_CONTROL(QListWidget, LstFonts, fONTEN)
ZONDARI_CONTROL(QLabel, Label1, fONTEN)
ZONDARI_CONTROL(QLineEdit, TxtFontPreview, fONTEN)
ZONDARI_CONTROL(QCheckBox, Check3d1, fONTEN)
ZONDARI_CONTROL(QCheckBox, Check3d2, fONTEN)
ZONDARI_CONTROL(QLineEdit, Text1, fONTEN)
ZONDARI_CONTROL(QToolButton, cmdOK, fONTEN)
ZONDARI_CONTROL(QLabel, Label3, fONTEN)
ZONDARI_CONTROL(QLabel, Label4, fONTEN)

} // namespace zondari::test

#undef ZONDARI_CONTROL
