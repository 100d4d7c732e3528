#pragma once

#include <optional>
#include <string>

#include "core/common/result.h"

namespace zondari {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

inline constexpr const char* kProgramTitle = "Zondari";

struct Message {
    std::string text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    std::string title = kProgramTitle;
    // When not empty, a "Dettagli" button beside the others shows it in a
    // window of its own, scrolled, however many lines it has; the box stays
    // up until one of its own buttons answers it.
    std::string details = {};
};

inline constexpr const char* kDetailsButton = "Dettagli";
inline constexpr const char* kDetailsTitle = "Zondari - Dettagli";

// What the program asks of the person in front of it: message boxes, the
// runtime error report, choosing a folder or a file.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MsgAnswer message(const Message& message) = 0;

    // A box titled "Zondari" with the given buttons and icon.
    MsgAnswer message(std::string text, MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None)
    {
        return message(Message{std::move(text), buttons, icon, kProgramTitle});
    }

    // "Errore di run-time 'N':", an empty line, the description. The program
    // goes on afterwards.
    virtual void runtimeError(const RuntimeError& error) = 0;

    // The chosen folder, or nothing when the person cancels.
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& startFolder) = 0;

    // The chosen file, or nothing when the person cancels. `filter` is as
    // the program writes it: "Files MP3 (*.mp3)|*.mp3".
    virtual std::optional<std::string> openFile(
        const std::string& title, const std::string& filter, const std::string& startFolder)
        = 0;
};

// The runtime error report's text.
inline std::string runtimeErrorText(const RuntimeError& error)
{
    return "Errore di run-time '" + std::to_string(error.number) + "':\n\n" + error.description;
}

} // namespace zondari
