#pragma once

#include <QDialog>

#include "platform/dialogs.h"

class QPlainTextEdit;

namespace zondari {

// The window of a message box's "Dettagli" button: the text, read-only and
// scrolled, and "Chiudi".
class DetailsWindow : public QDialog {
    Q_OBJECT
public:
    DetailsWindow(const std::string& text, QWidget* owner);
    QPlainTextEdit* text() const { return text_; }

private:
    QPlainTextEdit* text_;
};

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
