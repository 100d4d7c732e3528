#pragma once

#include <memory>
#include <string>

#include "core/state.h"
#include "support/qt/fakes.h"
#include "support/tempdir.h"
#include "ui/appcontext.h"

namespace zondari {
class Form1;
class MDIForm1;
} // namespace zondari

namespace zondari::test {

// The program's context with a temporary program folder and doubles for the
// person and the screen. The shell records; `End` is recorded, not obeyed.
struct TestApp {
    TestApp();
    ~TestApp();

    // Starts the windows as the program does; the frame is owned here.
    MDIForm1* start();
    // Starts them, forgets the catalogue window's hint that no CD is
    // catalogued, and moves the player to `folder`; the player.
    Form1* startIn(const std::string& folder);
    // The player window, while it is open.
    Form1* player() const;

    TempDir programFolder;
    AppState state;
    FakeDialogs dialogs;
    RecordingShell shell;
    FakeScreen screen;
    ExtraDrives drives;
    CurrentFolder folders{drives};
    int ended = 0;
    AppContext ctx;
    std::unique_ptr<MDIForm1> frame;

    // Under a real X server (ZONDARI_SCREENSHOT=name), the frame maximised
    // and a picture of the screen, name-suffix.png, for a person to look at.
    void screenshot(const std::string& suffix);
};

} // namespace zondari::test
