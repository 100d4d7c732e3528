#pragma once

#include "platform/dialogs.h"

namespace zondari {

// Message boxes with Italian buttons and the Qt file and folder dialogs,
// owned by the active window.
class QtDialogs : public Dialogs {
public:
    using Dialogs::message;
    MsgAnswer message(const Message& message) override;
    void runtimeError(const RuntimeError& error) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& startFolder) override;
    std::optional<std::string> openFile(
        const std::string& title, const std::string& filter, const std::string& startFolder) override;
};

// "Files MP3 (*.mp3)|*.mp3" as a Qt name filter: "Files MP3 (*.mp3)".
std::string qtNameFilters(const std::string& filter);

} // namespace zondari
