// A writer that a test can kill: it runs one of the program's windows that
// write (the file types window saving the settings, the tag editor saving a
// tag) on the offscreen platform, and saves each time it is told to.
//
//   zondari-window-writer settings PROGRAMFOLDER
//   zondari-window-writer tag PROGRAMFOLDER FILE.mp3
//
// It prints "pronto" once the window is up; then each line read on standard
// input is one click on the window's save button, which alternates between
// two contents: the settings list with WAV or with MID ticked, the title
// "Primo" or "Secondo". After each click it prints any box the window showed
// ("messaggio: ..." or "errore N: ...") and then "fatto". It ends at the
// end of its input.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "support/qt/testapp.h"
#include "ui/catalogue/form2.h"
#include "ui/shell/module1.h"
#include "ui/tags/frmmain.h"

using namespace zondari;

namespace {

// What the boxes said since the last call, then "fatto".
void report(test::FakeDialogs& dialogs)
{
    for (const Message& m : dialogs.messages)
        std::printf("messaggio: %s\n", m.text.c_str());
    for (const RuntimeError& e : dialogs.runtimeErrors)
        std::printf("errore %d: %s\n", e.number, e.description.c_str());
    dialogs.messages.clear();
    dialogs.runtimeErrors.clear();
    std::printf("fatto\n");
    std::fflush(stdout);
}

void ready()
{
    std::printf("pronto\n");
    std::fflush(stdout);
}

int saveSettingsOnEachLine(test::TestApp& app)
{
    readSettings(app.ctx);
    ready();
    for (std::string line; std::getline(std::cin, line);) {
        Form2 form(app.ctx);
        form.Load();
        // WAV (box 2) or MID (box 3), the other way round from now.
        const bool wav = form.value(2) != kBoxOff;
        form.setValue(2, wav ? kBoxOff : kBoxOn);
        form.setValue(3, wav ? kBoxOn : kBoxOff);
        form.Command3d1->click();
        report(app.dialogs);
    }
    return 0;
}

int saveTagOnEachLine(test::TestApp& app, const std::string& file)
{
    frmMain editor(app.ctx);
    editor.txtNomefile->setText(QString::fromStdString(file));
    editor.Caricafile();
    app.dialogs.messages.clear(); // "no tag" is no news here
    ready();
    for (std::string line; std::getline(std::cin, line);) {
        editor.txtTitolo->setText(editor.txtTitolo->text() == "Primo" ? "Secondo" : "Primo");
        editor.Command3->click();
        report(app.dialogs);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    const std::string mode = argc > 2 ? argv[1] : "";
    if (!(mode == "settings" && argc == 3) && !(mode == "tag" && argc == 4)) {
        std::fprintf(stderr, "Uso: zondari-window-writer settings CARTELLA | tag CARTELLA FILE\n");
        return 2;
    }
    test::TestApp app;
    app.state.programFolder = argv[2];
    return mode == "settings" ? saveSettingsOnEachLine(app) : saveTagOnEachLine(app, argv[3]);
}
