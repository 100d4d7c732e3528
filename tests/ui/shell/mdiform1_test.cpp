// The frame: what the program does at its start, its menus' commands and
// the narrow screen's warning.

#include <filesystem>
#include <gtest/gtest.h>

#include "core/about/version.h"
#include "core/catalogue/scanrules.h"
#include "platform/files.h"
#include "support/qt/controls.h"
#include "support/qt/testapp.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"

using namespace zondari;
using namespace zondari::test;

TEST(Frame, WithoutSettingsFileStartsOnTheDefaultsWritesNothingAndAMissingVortafonIsReportedBeforeTheEnd)
{
    TestApp app;
    MDIForm1* frame = app.start();
    const auto action = [frame](const char* name) { return control<QAction>(frame, name); };
    EXPECT_EQ(app.state.Utente, "DEFAULT");
    EXPECT_EQ(app.state.FilesMusicali, ".WAV.MP3.M3U.WMA");
    EXPECT_EQ(files::currentFolder(), app.programFolder.path());
    // Only the catalogue window's hint that no CD is catalogued yet.
    EXPECT_EQ(app.dialogs.texts(), std::vector<std::string>{catalogue::kNoCatalogueMessage});
    EXPECT_TRUE(app.dialogs.runtimeErrors.empty());
    EXPECT_EQ(Dir1(app.player())->path(), app.programFolder.path());
    action("menuHP")->trigger();
    EXPECT_EQ(app.shell.opened, std::vector<std::string>{kHomePage});

    // Help opens its page through the launcher; the launcher's failure is
    // the runtime's error.
    action("MenuHelp")->trigger();
    const std::string p = app.programFolder.path() + "/";
    EXPECT_EQ(app.shell.runs.at(0).words(), p + "start " + p + "zondari.htm");
    app.shell.failWith = RuntimeError{53, "File non trovato"};
    action("MenuHelp")->trigger();
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 1u);
    EXPECT_EQ(app.dialogs.runtimeErrors[0].number, 53);
    EXPECT_EQ(app.ended, 0);

    // No vortafon beside the program nor on PATH: the launcher would return
    // without a word, so the runtime reports it before the end.
    app.shell.failWith.reset();
    action("menump3r")->trigger();
    EXPECT_EQ(app.shell.runs.size(), 2u); // the two help pages only
    ASSERT_EQ(app.dialogs.runtimeErrors.size(), 2u);
    EXPECT_EQ(app.dialogs.runtimeErrors[1].description, "File non trovato");
    EXPECT_EQ(app.ended, 1);
    // "Esci": nothing was written.
    action("MenuEsci")->trigger();
    EXPECT_EQ(app.ended, 2);
    EXPECT_FALSE(std::filesystem::exists(app.programFolder / "zondari.ini"));
}
