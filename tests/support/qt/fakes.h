#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/drives.h"
#include "platform/screen.h"
#include "platform/shell.h"

namespace zondari::test {

// Stands in for the person answering boxes and choosing folders and files:
// records every box and gives the answers queued for it (the first button
// when none is queued).
class FakeDialogs : public Dialogs {
public:
    using Dialogs::message;
    MsgAnswer message(const Message& m) override;
    void runtimeError(const RuntimeError& error) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& startFolder) override;
    std::optional<std::string> openFile(
        const std::string& title, const std::string& filter, const std::string& startFolder) override;

    std::vector<Message> messages;
    std::vector<RuntimeError> runtimeErrors;
    std::vector<std::string> folderTitles;
    std::vector<std::string> fileTitles;
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<std::string>> folders; // nullopt: cancel
    std::deque<std::optional<std::string>> files; // nullopt: cancel

    // Texts of the boxes shown so far.
    std::vector<std::string> texts() const;
};

// Records what the program asks the shell to start; starts nothing.
class RecordingShell : public Shell {
public:
    Status start(const std::string& program, const std::vector<std::string>& args) override;
    Status open(const std::string& target) override;

    struct Run {
        std::string program;
        std::vector<std::string> args;
        // Program and arguments joined by spaces, for checks that read them
        // as one text.
        std::string words() const;
    };
    std::vector<Run> runs;
    std::vector<std::string> opened;
    std::optional<RuntimeError> failWith; // every call fails with this when set
};

// A screen of a given size at 96 DPI (15 twips to the pixel).
class FakeScreen : public Screen {
public:
    int widthTwips() const override { return width; }
    int heightTwips() const override { return height; }
    double twipsPerPixel() const override { return 15.0; }

    int width = 1024 * 15;
    int height = 768 * 15;
};

// The real mounted drives plus any extra ones a test adds (a drive without
// a medium is one whose root cannot be listed).
class ExtraDrives : public Drives {
public:
    std::vector<DriveInfo> list() const override;
    std::vector<DriveInfo> extra;

private:
    MountedDrives real_;
};

} // namespace zondari::test
