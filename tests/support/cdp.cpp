#include "support/cdp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zondari::test {
namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point until)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

} // namespace

Browser::Browser()
{
    int in[2], out[2]; // in: we write, the browser reads; out: the other way
    if (pipe2(in, O_CLOEXEC) != 0)
        return;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    const std::string dataDir = "--user-data-dir=" + profile_.path();
    pid_ = fork();
    if (pid_ == 0) {
        // The browser finds its pipe on fds 3 and 4.
        const int r = fcntl(in[0], F_DUPFD, 10), w = fcntl(out[1], F_DUPFD, 10);
        dup2(r, 3);
        dup2(w, 4);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        const char* argv[] = {"chromium", "--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-pipe",
            "--no-first-run", "--no-default-browser-check", "--disable-background-networking",
            "--disable-component-update", "--disable-sync", "--disable-extensions", "--mute-audio",
            "--window-size=1280,1024", dataDir.c_str(), "about:blank", nullptr};
        execv("/usr/bin/chromium", const_cast<char**>(argv));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toBrowser_ = in[1];
    fromBrowser_ = out[0];
    if (pid_ < 0)
        return;
    signal(SIGPIPE, SIG_IGN); // a browser that died is told by a failed write

    // The page the browser opened, attached as a session of its own.
    const QJsonObject targets = callOn({}, "Target.getTargets", {}, 60000);
    QString target;
    for (const QJsonValue t : targets["targetInfos"].toArray())
        if (t["type"].toString() == "page")
            target = t["targetId"].toString();
    if (target.isEmpty())
        target = callOn({}, "Target.createTarget", {{"url", "about:blank"}}, 60000)["targetId"].toString();
    if (target.isEmpty())
        return;
    const QJsonObject attached = callOn({}, "Target.attachToTarget", {{"targetId", target}, {"flatten", true}}, 60000);
    session_ = attached["sessionId"].toString();
    if (session_.isEmpty())
        return;
    call("Page.enable");
    call("Runtime.enable");
}

Browser::~Browser()
{
    if (pid_ > 0) {
        if (!session_.isEmpty() || toBrowser_ >= 0)
            callOn({}, "Browser.close", {}, 5000);
        for (int i = 0; i < 50; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            usleep(100000);
        }
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    if (toBrowser_ >= 0)
        close(toBrowser_);
    if (fromBrowser_ >= 0)
        close(fromBrowser_);
}

bool Browser::send(const QJsonObject& message)
{
    QByteArray bytes = QJsonDocument(message).toJson(QJsonDocument::Compact);
    bytes.append('\0');
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = write(toBrowser_, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

bool Browser::receive(QJsonObject& message, int timeoutMs)
{
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (const std::size_t end = pending_.find('\0'); end != std::string::npos) {
            message = QJsonDocument::fromJson(QByteArray(pending_.data(), static_cast<qsizetype>(end))).object();
            pending_.erase(0, end + 1);
            return true;
        }
        pollfd p{fromBrowser_, POLLIN, 0};
        const int ready = poll(&p, 1, msLeft(until));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char buffer[65536];
        const ssize_t n = read(fromBrowser_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

QJsonObject Browser::callOn(const QString& session, const QString& method, const QJsonObject& params, int timeoutMs)
{
    if (fromBrowser_ < 0 || pid_ <= 0)
        return {{"error", "no browser"}};
    const int id = nextId_++;
    QJsonObject message{{"id", id}, {"method", method}, {"params", params}};
    if (!session.isEmpty())
        message["sessionId"] = session;
    if (!send(message))
        return {{"error", "cannot write to the browser"}};
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        QJsonObject answer;
        if (!receive(answer, msLeft(until)))
            return {{"error", "no answer to " + method}};
        if (answer.contains("id") && answer["id"].toInt() == id) {
            if (answer.contains("error"))
                return {{"error", answer["error"]}};
            return answer["result"].toObject();
        }
        if (answer.contains("method"))
            events_.push_back(answer);
    }
}

QJsonObject Browser::call(const QString& method, const QJsonObject& params, int timeoutMs)
{
    return callOn(session_, method, params, timeoutMs);
}

bool Browser::waitForEvent(const QString& method, int timeoutMs)
{
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        while (!events_.empty()) {
            const QJsonObject e = events_.front();
            events_.pop_front();
            if (e["method"].toString() == method)
                return true;
        }
        QJsonObject message;
        if (!receive(message, msLeft(until)))
            return false;
        if (message.contains("method"))
            events_.push_back(message);
    }
}

bool Browser::open(const std::string& url, int timeoutMs)
{
    events_.clear();
    const QJsonObject r = call("Page.navigate", {{"url", QString::fromStdString(url)}}, timeoutMs);
    if (r.contains("error") || r.contains("errorText"))
        return false;
    return waitForEvent("Page.loadEventFired", timeoutMs);
}

QJsonValue Browser::eval(const std::string& expression, int timeoutMs)
{
    const QJsonObject r = call("Runtime.evaluate",
        {{"expression", QString::fromStdString(expression)}, {"awaitPromise", true}, {"returnByValue", true}},
        timeoutMs);
    if (r.contains("error") || r.contains("exceptionDetails"))
        return QJsonValue::Undefined;
    return r["result"].toObject()["value"];
}

void Browser::typeChar(const std::string& ch)
{
    const QString text = QString::fromStdString(ch);
    call("Input.dispatchKeyEvent", {{"type", "keyDown"}, {"text", text}, {"key", text}, {"unmodifiedText", text}});
    call("Input.dispatchKeyEvent", {{"type", "keyUp"}, {"key", text}});
}

void Browser::pressKey(const std::string& key)
{
    const QString k = QString::fromStdString(key);
    const int code = key == "Backspace" ? 8 : key == "Enter" ? 13 : 0;
    QJsonObject down{{"type", "rawKeyDown"}, {"key", k}, {"code", k}, {"windowsVirtualKeyCode", code}};
    if (key == "Enter")
        down["text"] = "\r";
    call("Input.dispatchKeyEvent", down);
    call("Input.dispatchKeyEvent", {{"type", "keyUp"}, {"key", k}, {"code", k}, {"windowsVirtualKeyCode", code}});
}

} // namespace zondari::test
