#include "support/qt/testapp.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/qt/gstmediaplayer.h"
#include "support/qt/controls.h"
#include "ui/player/dirlistbox.h"
#include "ui/player/form1.h"
#include "ui/shell/mdiform1.h"
#include "ui/shell/startup.h"

namespace zondari::test {

TestApp::TestApp()
    : ctx(state,
        Services{dialogs, shell, screen, drives, folders, [this] { ++ended; },
            [] { return std::make_unique<GstMediaPlayer>(); }})
{
    state.programFolder = programFolder.path();
}

TestApp::~TestApp()
{
    frame.reset();
    // Leave the process in a folder that outlives the temporary one.
    std::error_code ec;
    std::filesystem::current_path("/", ec);
}

MDIForm1* TestApp::start()
{
    frame.reset(startZondari(ctx));
    QApplication::processEvents();
    return frame.get();
}

Form1* TestApp::startIn(const std::string& folder)
{
    start();
    dialogs.messages.clear();
    EXPECT_TRUE(Dir1(player())->setPath(folder).ok()) << folder;
    return player();
}

Form1* TestApp::player() const
{
    return frame ? frame->findChild<Form1*>() : nullptr;
}

void TestApp::screenshot(const std::string& suffix)
{
    const char* name = std::getenv("ZONDARI_SCREENSHOT");
    if (!name)
        return;
    frame->showMaximized();
    QTest::qWait(500); // a person's picture, not a check: the window settles
    (void)std::system((std::string("import -window root ") + name + "-" + suffix + ".png").c_str());
}

} // namespace zondari::test
