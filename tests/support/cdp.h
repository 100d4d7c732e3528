#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <string>
#include <sys/types.h>
#include <vector>

#include "support/tempdir.h"

namespace zondari::test {

// A headless Chromium driven through its DevTools protocol over a pipe
// (--remote-debugging-pipe: JSON messages ended by a NUL byte, written to
// the browser's fd 3 and read from its fd 4), with one page attached. No
// network and no other program is needed.
class Browser {
public:
    Browser();
    ~Browser();
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    // Whether the browser started and a page is attached.
    bool ok() const { return !session_.isEmpty(); }

    // Sends a command to the page and waits for its answer: the result, or
    // an object holding "error" on failure or after two minutes.
    QJsonObject call(const QString& method, const QJsonObject& params = {}, bool toPage = true);
    // Opens `url` in the page and waits for its load event; false on failure.
    bool open(const std::string& url);
    // The value of a JavaScript expression in the page (a promise is
    // awaited); an undefined value on failure.
    QJsonValue eval(const std::string& expression);
    // Types `utf8` one character at a time, as a person at the keyboard.
    void type(const std::string& utf8);

private:
    // Reads messages until one satisfies `wanted`, keeping the events read
    // meanwhile; false on time-out or a closed pipe.
    template <class Pred> bool readUntil(Pred wanted, QJsonObject& message);

    TempDir profile_;
    pid_t pid_ = -1;
    int toBrowser_ = -1, fromBrowser_ = -1;
    std::string pending_;
    std::vector<QJsonObject> events_;
    int nextId_ = 1;
    QString session_;
};

} // namespace zondari::test

// Skips a test whose browser did not start, saying why.
#define SKIP_WITHOUT_BROWSER(browser)                                                                                  \
    if (!(browser).ok())                                                                                               \
    GTEST_SKIP() << "Chromium cannot start here; the page was not looked at in a browser"
