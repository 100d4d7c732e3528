#include "support/cdp.h"

#include <QJsonDocument>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zondari::test {

Browser::Browser()
{
    int in[2], out[2]; // in: we write, the browser reads; out: the other way
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        return;
    const std::string dataDir = "--user-data-dir=" + profile_.path();
    pid_ = fork();
    if (pid_ == 0) {
        // The browser finds its pipe on fds 3 and 4.
        const int r = fcntl(in[0], F_DUPFD, 10), w = fcntl(out[1], F_DUPFD, 10), null = ::open("/dev/null", O_RDWR);
        for (const auto& [from, to] : {std::pair{r, 3}, {w, 4}, {null, 0}, {null, 1}, {null, 2}})
            dup2(from, to);
        const char* argv[] = {"chromium", "--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-pipe",
            "--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--disable-extensions", "--mute-audio", dataDir.c_str(), "about:blank", nullptr};
        execv("/usr/bin/chromium", const_cast<char**>(argv));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toBrowser_ = in[1];
    fromBrowser_ = out[0];
    signal(SIGPIPE, SIG_IGN); // a browser that died is told by a failed write
    const QString target = call("Target.createTarget", {{"url", "about:blank"}}, false)["targetId"].toString();
    session_ = call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}}, false)["sessionId"].toString();
    call("Page.enable");
}

Browser::~Browser()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    close(toBrowser_);
    close(fromBrowser_);
}

template <class Pred> bool Browser::readUntil(Pred wanted, QJsonObject& message)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    for (;;) {
        for (std::size_t end; (end = pending_.find('\0')) != std::string::npos;) {
            message = QJsonDocument::fromJson(QByteArray(pending_.data(), static_cast<qsizetype>(end))).object();
            pending_.erase(0, end + 1);
            if (wanted(message))
                return true;
            if (message.contains("method"))
                events_.push_back(message);
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        pollfd p{fromBrowser_, POLLIN, 0};
        if (left.count() <= 0 || (poll(&p, 1, static_cast<int>(left.count())) <= 0 && errno != EINTR))
            return false;
        char buffer[65536];
        const ssize_t n = read(fromBrowser_, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR))
            return false;
        pending_.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
}

QJsonObject Browser::call(const QString& method, const QJsonObject& params, bool toPage)
{
    const int id = nextId_++;
    QJsonObject message{{"id", id}, {"method", method}, {"params", params}};
    if (toPage)
        message["sessionId"] = session_;
    const QByteArray bytes = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\0';
    QJsonObject answer;
    if (pid_ <= 0 || write(toBrowser_, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size()
        || !readUntil([id](const QJsonObject& m) { return m["id"].toInt() == id; }, answer))
        return {{"error", "no answer to " + method}};
    return answer.contains("error") ? QJsonObject{{"error", answer["error"]}} : answer["result"].toObject();
}

bool Browser::open(const std::string& url)
{
    events_.clear();
    const QJsonObject r = call("Page.navigate", {{"url", QString::fromStdString(url)}});
    if (r.contains("error") || r.contains("errorText"))
        return false;
    const auto loaded = [](const QJsonObject& m) { return m["method"].toString() == "Page.loadEventFired"; };
    QJsonObject message;
    return std::any_of(events_.begin(), events_.end(), loaded) || readUntil(loaded, message);
}

QJsonValue Browser::eval(const std::string& expression)
{
    const QJsonObject r = call("Runtime.evaluate",
        {{"expression", QString::fromStdString(expression)}, {"awaitPromise", true}, {"returnByValue", true}});
    if (r.contains("error") || r.contains("exceptionDetails"))
        return QJsonValue::Undefined;
    return r["result"].toObject()["value"];
}

void Browser::type(const std::string& utf8)
{
    for (const char32_t c : QString::fromStdString(utf8).toUcs4()) {
        const QString text = QString::fromUcs4(&c, 1);
        call("Input.dispatchKeyEvent", {{"type", "keyDown"}, {"text", text}, {"key", text}, {"unmodifiedText", text}});
        call("Input.dispatchKeyEvent", {{"type", "keyUp"}, {"key", text}});
    }
}

} // namespace zondari::test
