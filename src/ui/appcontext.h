#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/common/paths.h"
#include "core/state.h"
#include "platform/dialogs.h"
#include "platform/drives.h"
#include "platform/mediaplayer.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "ui/appevents.h"
#include "ui/player/playerport.h"

namespace zondari {

class MDIForm1;

// The platform services the windows use; tests hand in doubles for what a
// person does (answering a box, choosing a folder) and for what the machine
// lacks.
struct Services {
    Dialogs& dialogs;
    Shell& shell;
    Screen& screen;
    Drives& drives;
    CurrentFolder& folders;
    // The program's `End`: quits at once, nothing is saved.
    std::function<void()> end;
    // A new media player (the player window's, each mixer deck's).
    std::function<std::unique_ptr<MediaPlayer>()> makePlayer = {};
};

// A failure inside a handler that the runtime error report shows.
class RuntimeFailure : public std::exception {
public:
    explicit RuntimeFailure(RuntimeError error)
        : error_(std::move(error))
    {
    }
    const RuntimeError& error() const { return error_; }
    const char* what() const noexcept override { return error_.description.c_str(); }

private:
    RuntimeError error_;
};

// Fails the running handler when `status` is a failure.
inline void check(const Status& status)
{
    if (!status)
        throw RuntimeFailure(status.error());
}

// Fails the running handler when `result` holds no value.
template <class T> void check(const Result<T>& result)
{
    if (!result)
        throw RuntimeFailure(result.error());
}

// The windows and routines that subsystems add to the program. Each is set
// (in startup) when its subsystem is part of the program; a command that
// needs one that is not set is disabled or does nothing.
struct Openers {
    std::function<void()> showPlayer; // Form1, shown again after it was closed
    std::function<void()> showCatalogue; // frmMP3print, shown beside the player
    std::function<void()> showTagEditor; // frmMain, unloaded and shown again
    std::function<void()> showTrackDetails; // frmDATIMP3, unloaded and shown again
    std::function<void(const std::string&)> riempimp3; // the details routine for a track
    std::function<void()> showVolume; // frmVolume
    std::function<void()> showAbout; // Form3, modal
    std::function<void()> showMixer; // mp3MIXER
    std::function<void()> catalogueShowContents; // the frame's MenuHTM
    std::function<void()> catalogueEdit; // the frame's menutxt
    std::function<void()> catalogueDelete; // the frame's menuerase
    std::function<void()> pocketCatalogue; // the frame's "Catalogo tascabile" items
    std::function<void()> unloadForm2; // closes the file types window, if open

    // Sets each hook that is empty here from `other`.
    void fillEmptyFrom(const Openers& other);
};

// What every window is handed: the program-wide values, the services, and
// the one instance of each window (created on first use).
class AppContext {
public:
    AppContext(AppState& appState, Services appServices)
        : state(appState)
        , services(std::move(appServices))
    {
    }
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    AppState& state;
    Services services;

    MDIForm1* frame = nullptr;
    // The player window, while it exists.
    PlayerPort player;
    Openers openers;
    AppEvents events;

    // The current catalogue, the printed columns and the print font change
    // only through these, so that the windows that show them learn of it.
    void setCatalogue(std::string title, std::vector<std::string> entries, std::string path = {});
    void setCatalogueEntries(std::vector<std::string> entries, std::string path = {});
    void setCatalogueTitle(std::string title);
    void setPrintColumns(std::int16_t columns);
    void setPrintFont(std::string name, bool italic, bool bold);

    Dialogs& dialogs() { return services.dialogs; }

    // A new media player: the services' own, else one on GStreamer.
    std::unique_ptr<MediaPlayer> newPlayer() const;

    // Runs an event handler inside the guard: an unexpected failure becomes
    // the runtime error report and the program goes on.
    void handle(const std::function<void()>& handler);

    // The one way a window wires an event to its handler: a slot that runs
    // `handler` of `window`, with the values given after it, inside the
    // guard. Called at once (`slot(...)()`) it runs the handler there.
    template <class W, class... Params, class... Bound>
    auto slot(W* window, void (W::*handler)(Params...), Bound... bound)
    {
        return [this, window, handler, bound...] { handle([&] { (window->*handler)(bound...); }); };
    }

    // The program folder with its trailing "/".
    std::string programPath() const { return withSlash(state.programFolder); }

    // Opens a file or page with the system's opener through the program
    // folder's `start`, as the pages' links are opened.
    void openWithStart(const std::string& target)
    {
        check(services.shell.start(startLauncher(state.programFolder), {target}));
    }

    // Makes the program folder the current folder and its drive the current
    // drive.
    void goToProgramFolder();
};

} // namespace zondari
