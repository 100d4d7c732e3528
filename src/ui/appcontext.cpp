#include "ui/appcontext.h"

#include <cerrno>
#include <new>

#include "platform/qt/gstmediaplayer.h"

namespace zondari {

void Openers::fillEmptyFrom(const Openers& other)
{
    auto fill = [](auto& mine, const auto& theirs) {
        if (!mine)
            mine = theirs;
    };
    fill(showPlayer, other.showPlayer);
    fill(showCatalogue, other.showCatalogue);
    fill(showTagEditor, other.showTagEditor);
    fill(showTrackDetails, other.showTrackDetails);
    fill(riempimp3, other.riempimp3);
    fill(showVolume, other.showVolume);
    fill(showAbout, other.showAbout);
    fill(showMixer, other.showMixer);
    fill(catalogueShowContents, other.catalogueShowContents);
    fill(catalogueEdit, other.catalogueEdit);
    fill(catalogueDelete, other.catalogueDelete);
    fill(pocketCatalogue, other.pocketCatalogue);
    fill(unloadForm2, other.unloadForm2);
}

std::unique_ptr<MediaPlayer> AppContext::newPlayer() const
{
    return services.makePlayer ? services.makePlayer() : std::make_unique<GstMediaPlayer>();
}

void AppContext::handle(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const RuntimeFailure& f) {
        dialogs().runtimeError(f.error());
    } catch (const std::bad_alloc&) {
        dialogs().runtimeError(runtimeErrorFromErrno(ENOMEM));
    } catch (const std::exception& e) {
        dialogs().runtimeError({51, std::string("Errore interno (") + e.what() + ")"});
    }
}

void AppContext::setCatalogue(std::string title, std::vector<std::string> entries, std::string path)
{
    setCatalogueEntries(std::move(entries), std::move(path));
    setCatalogueTitle(std::move(title));
}

void AppContext::setCatalogueEntries(std::vector<std::string> entries, std::string path)
{
    state.catalogue.entries = std::move(entries);
    state.catalogue.path = std::move(path);
    emit events.catalogueEntriesChanged();
}

void AppContext::setCatalogueTitle(std::string title)
{
    if (title == state.catalogue.title)
        return;
    state.catalogue.title = std::move(title);
    emit events.catalogueTitleChanged();
}

void AppContext::setPrintColumns(std::int16_t columns)
{
    // Told even when the count stays: a box that shows another number as
    // typed shows the count again.
    state.PrintColumns = columns;
    emit events.printColumnsChanged();
}

void AppContext::setPrintFont(std::string name, bool italic, bool bold)
{
    state.PrintFontName = std::move(name);
    state.PrintFontItalic = italic;
    state.PrintFontBold = bold;
    emit events.printFontChanged();
}

void AppContext::goToProgramFolder()
{
    check(services.folders.changeFolder(state.programFolder));
    check(services.folders.changeDrive(state.programFolder));
}

} // namespace zondari
