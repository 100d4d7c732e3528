#include "support/qt/fakes.h"

namespace zondari::test {

namespace {

// The next answer queued, or `otherwise` when none is.
template <class T> T next(std::deque<T>& queue, T otherwise)
{
    if (queue.empty())
        return otherwise;
    T a = std::move(queue.front());
    queue.pop_front();
    return a;
}

} // namespace

MsgAnswer FakeDialogs::message(const Message& m)
{
    messages.push_back(m);
    return next(answers, m.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok);
}

void FakeDialogs::runtimeError(const RuntimeError& error)
{
    runtimeErrors.push_back(error);
}

std::optional<std::string> FakeDialogs::chooseFolder(const std::string& title, const std::string&)
{
    folderTitles.push_back(title);
    return next(folders, std::optional<std::string>());
}

std::optional<std::string> FakeDialogs::openFile(const std::string& title, const std::string&, const std::string&)
{
    fileTitles.push_back(title);
    return next(files, std::optional<std::string>());
}

std::vector<std::string> FakeDialogs::texts() const
{
    std::vector<std::string> t;
    for (const auto& m : messages)
        t.push_back(m.text);
    return t;
}

std::string RecordingShell::Run::words() const
{
    std::string s = program;
    for (const std::string& a : args)
        s += " " + a;
    return s;
}

Status RecordingShell::start(const std::string& program, const std::vector<std::string>& args)
{
    runs.push_back({program, args});
    return failWith ? Status(*failWith) : Status();
}

Status RecordingShell::open(const std::string& target)
{
    opened.push_back(target);
    return failWith ? Status(*failWith) : Status();
}

std::vector<DriveInfo> ExtraDrives::list() const
{
    auto all = real_.list();
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

} // namespace zondari::test
