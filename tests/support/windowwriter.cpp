// A writer that a test can kill: it runs the tag editor on the offscreen
// platform, and saves each time it is told to.
//
//   zondari-window-writer tag PROGRAMFOLDER FILE.mp3
//
// It prints "pronto" once the window is up; then each line read on standard
// input is one click on the window's save button, which alternates between
// two titles, "Primo" and "Secondo". After each click it prints any box the
// window showed ("messaggio: ..." or "errore N: ...") and then "fatto". It
// ends at the end of its input.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "support/qt/controls.h"
#include "support/qt/testapp.h"
#include "ui/tags/frmmain.h"

using namespace zondari;
using namespace zondari::test;

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

int saveTagOnEachLine(test::TestApp& app, const std::string& file)
{
    frmMain editor(app.ctx);
    txtNomefile(&editor)->setText(QString::fromStdString(file));
    editor.Caricafile();
    app.dialogs.messages.clear(); // "no tag" is no news here
    ready();
    for (std::string line; std::getline(std::cin, line);) {
        txtTitolo(&editor)->setText(txtTitolo(&editor)->text() == "Primo" ? "Secondo" : "Primo");
        Command3(&editor)->click();
        report(app.dialogs);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    if (argc != 4 || argv[1] != std::string("tag")) {
        std::fprintf(stderr, "Uso: zondari-window-writer tag CARTELLA FILE\n");
        return 2;
    }
    test::TestApp app;
    app.state.programFolder = argv[2];
    return saveTagOnEachLine(app, argv[3]);
}
