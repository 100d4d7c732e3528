#pragma once

#include <QProcess>
#include <QStringList>
#include <QTest>
#include <cstdlib>
#include <string>

#include "support/qt/sound.h"

namespace zondari::test {

// Runs one of the programs a desktop drives the player with (playerctl, as
// the media keys do, or dbus-send) and waits for it while this process goes
// on answering the bus; what it printed, its white space simplified.
inline std::string busRun(const QStringList& argv)
{
    QProcess p;
    p.start(argv.front(), argv.mid(1));
    if (!p.waitForStarted(10000))
        return "<" + argv.front().toStdString() + " non parte>";
    (void)QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 10000);
    return p.readAllStandardOutput().simplified().toStdString();
}

inline std::string playerctl(const QStringList& args)
{
    return busRun(QStringList{"playerctl", "-p", "zondari"} + args);
}

// A method of the player's object, called with dbus-send; its reply.
inline std::string busCall(const QString& method, const QStringList& args = {})
{
    return busRun(QStringList{"dbus-send", "--session", "--print-reply=literal",
                      "--dest=org.mpris.MediaPlayer2.zondari", "/org/mpris/MediaPlayer2", method}
        + args);
}

} // namespace zondari::test

// Skips a test that plays on a session bus of its own, saying why.
#define REQUIRE_BUS()                                                                                                  \
    do {                                                                                                               \
        REQUIRE_PLAYBACK();                                                                                            \
        if (!std::getenv("DBUS_SESSION_BUS_ADDRESS") || std::system("command -v playerctl >/dev/null") != 0)           \
            GTEST_SKIP() << "needs a session bus (ctest starts one with dbus-run-session) and playerctl "              \
                            "(scripts/setup installs it)";                                                             \
    } while (0)
