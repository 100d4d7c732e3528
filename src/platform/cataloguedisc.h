#pragma once

#include <string>

#include "core/catalogue/finddisc.h"
#include "core/common/result.h"
#include "platform/mounttable.h"

// A catalogue entry found on the disc that holds it, for whoever plays it
// (the player, zondari-cli).
namespace zondari {

// An entry of a catalogue in the program folder, checked: the catalogue
// exists there and holds the entry as one of its lines.
struct CatalogueEntry {
    std::string catalogueName, cataloguePath;
    std::string title;
    std::string entry; // as the line holds it
    catalogue::DiscIdentity disc;
};

// The entry `entry` of the catalogue file `catalogueName` of `folder`, or why
// it is refused (in Italian).
Result<CatalogueEntry, std::string> checkCatalogueEntry(
    const std::string& folder, const std::string& user, const std::string& catalogueName, const std::string& entry);

// The identity of the catalogue at `cataloguePath`: its volume file's, or
// its name's.
catalogue::DiscIdentity discOf(const std::string& cataloguePath, const std::string& user);

// Where the entry's file or folder is now, among the volumes of `mounts`.
// An entry whose disc cannot be identified is its recorded path.
catalogue::Located findOnDisc(const std::string& entry, const catalogue::DiscIdentity& disc, MountTable& mounts);

// What a person is told of a found entry: "in /media/cd/a.mp3", "disco non
// inserito: Inserire il CD «...» (...)", or that the disc could not be
// checked.
std::string whereaboutsText(
    const catalogue::Located& at, const std::string& title, const catalogue::DiscIdentity& disc);

} // namespace zondari
