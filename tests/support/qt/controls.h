#pragma once

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <vector>

#include "support/qt/fakes.h"
#include "support/qt/widgets.h"
#include "ui/about/form3.h"
#include "ui/analysis/frmdatimp3.h"
#include "ui/catalogue/cataloguelistbox.h"
#include "ui/catalogue/form2.h"
#include "ui/catalogue/form4.h"
#include "ui/catalogue/frmmp3print.h"
#include "ui/mixer/filelistbox.h"
#include "ui/mixer/mp3mixer.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/drivelistbox.h"
#include "ui/player/form1.h"
#include "ui/player/frmvolume.h"
#include "ui/player/mediaplayercontrol.h"
#include "ui/player/trackgrid.h"
#include "ui/printing/fonten.h"
#include "ui/printing/frmpreview.h"
#include "ui/tags/frmmain.h"

// The windows' controls, reached as a person's test reaches them: by the
// names the windows give them, the windows keeping them private. `Text1(w)`
// is the catalogue window's title box, `Text1(m)` the mixer's deck box.
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

// The player.
ZONDARI_CONTROL(DirListBox, Dir1, Form1)
ZONDARI_CONTROL(DriveListBox, Drive1, Form1)
ZONDARI_CONTROL(TrackGrid, ExtGrid1, Form1)
ZONDARI_CONTROL(QTimer, Timer1, Form1)
ZONDARI_CONTROL(QLabel, lcd1, Form1)

// The mixer.
ZONDARI_CONTROL(MediaPlayerControl, ActiveMovie1, mp3MIXER)
ZONDARI_CONTROL(MediaPlayerControl, ActiveMovie2, mp3MIXER)
ZONDARI_CONTROL(QCheckBox, Check1, mp3MIXER)
ZONDARI_CONTROL(QPushButton, Command1, mp3MIXER)
ZONDARI_CONTROL(QPushButton, Command2, mp3MIXER)
ZONDARI_CONTROL(DirListBox, Dir2, mp3MIXER)
ZONDARI_CONTROL(DriveListBox, Drive1, mp3MIXER)
ZONDARI_CONTROL(DriveListBox, Drive2, mp3MIXER)
ZONDARI_CONTROL(FileListBox, File1, mp3MIXER)
ZONDARI_CONTROL(FileListBox, File2, mp3MIXER)
ZONDARI_CONTROL(QScrollBar, HScroll1, mp3MIXER)
ZONDARI_CONTROL(QLabel, Label1, mp3MIXER)
ZONDARI_CONTROL(QLabel, Label4, mp3MIXER)
ZONDARI_CONTROL(QSlider, Slider1, mp3MIXER)
ZONDARI_CONTROL(QSlider, Slider2, mp3MIXER)
ZONDARI_CONTROL(QLineEdit, Text1, mp3MIXER)

// The master volume.
ZONDARI_CONTROL(QPushButton, Command1, frmVolume)
ZONDARI_CONTROL(QLabel, Image1, frmVolume)
ZONDARI_CONTROL(QLineEdit, Text1, frmVolume)

// The tag editor.
ZONDARI_CONTROL(QPushButton, Command3, frmMain)
ZONDARI_CONTROL(QLineEdit, txtNomefile, frmMain)
ZONDARI_CONTROL(QLineEdit, txtTitolo, frmMain)

// The details window.
ZONDARI_CONTROL(QLabel, Label20, frmDATIMP3)
ZONDARI_CONTROL(QLabel, id3v2Caption, frmDATIMP3)

// The search dialog.
ZONDARI_CONTROL(QCheckBox, Check2, Form4)
ZONDARI_CONTROL(QPushButton, Command3d1, Form4)
ZONDARI_CONTROL(QPushButton, Command3d2, Form4)
ZONDARI_CONTROL(QLineEdit, Text1, Form4)

// The file types dialog.
ZONDARI_CONTROL(QPushButton, Command3d1, Form2)

// The about window.
ZONDARI_CONTROL(QPushButton, Command3d1, Form3)
ZONDARI_CONTROL(QLabel, Label3, Form3)
ZONDARI_CONTROL(QLabel, Label8, Form3)
ZONDARI_CONTROL(QLabel, Picture2, Form3)
ZONDARI_CONTROL(QLabel, Picture6, Form3)
ZONDARI_CONTROL(QLabel, Picture7, Form3)

} // namespace zondari::test

#undef ZONDARI_CONTROL
