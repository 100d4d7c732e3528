#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <deque>
#include <string>
#include <sys/types.h>

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
    // an object holding "error" on failure or after `timeoutMs`.
    QJsonObject call(const QString& method, const QJsonObject& params = {}, int timeoutMs = 120000);

    // Opens `url` in the page and waits for its load event; false on
    // failure.
    bool open(const std::string& url, int timeoutMs = 120000);

    // The value of a JavaScript expression in the page (a promise is
    // awaited); an undefined value on failure.
    QJsonValue eval(const std::string& expression, int timeoutMs = 120000);

    // Presses and releases a key that types `ch` (one character, UTF-8),
    // as a person at the keyboard does.
    void typeChar(const std::string& ch);
    // Presses and releases a key without text: "Backspace", "Enter".
    void pressKey(const std::string& key);

private:
    bool send(const QJsonObject& message);
    // Reads one message; false on time-out or a closed pipe.
    bool receive(QJsonObject& message, int timeoutMs);
    QJsonObject callOn(const QString& session, const QString& method, const QJsonObject& params, int timeoutMs);
    bool waitForEvent(const QString& method, int timeoutMs);

    TempDir profile_;
    pid_t pid_ = -1;
    int toBrowser_ = -1, fromBrowser_ = -1;
    std::string pending_;
    std::deque<QJsonObject> events_;
    int nextId_ = 1;
    QString session_;
};

} // namespace zondari::test
