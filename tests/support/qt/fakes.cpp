#include "support/qt/fakes.h"

namespace zondari::test {

MsgAnswer FakeDialogs::message(const Message& m)
{
    messages.push_back(m);
    if (!answers.empty()) {
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (m.buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::Yes;
    }
    return MsgAnswer::Ok;
}

void FakeDialogs::runtimeError(const RuntimeError& error)
{
    runtimeErrors.push_back(error);
}

std::optional<std::string> FakeDialogs::chooseFolder(const std::string& title, const std::string&)
{
    folderTitles.push_back(title);
    if (folders.empty())
        return std::nullopt;
    auto f = folders.front();
    folders.pop_front();
    return f;
}

std::optional<std::string> FakeDialogs::openFile(const std::string& title, const std::string&, const std::string&)
{
    fileTitles.push_back(title);
    if (files.empty())
        return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

std::vector<std::string> FakeDialogs::texts() const
{
    std::vector<std::string> t;
    for (const auto& m : messages)
        t.push_back(m.text);
    return t;
}

Status RecordingShell::run(const std::string& commandLine, int windowStyle)
{
    runs.push_back({commandLine, windowStyle});
    if (failWith)
        return *failWith;
    return {};
}

Status RecordingShell::open(const std::string& target)
{
    opened.push_back(target);
    if (failWith)
        return *failWith;
    return {};
}

std::vector<DriveInfo> ExtraDrives::list() const
{
    auto all = real_.list();
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

}  // namespace zondari::test
