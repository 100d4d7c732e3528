#pragma once

#include <string>

namespace zondari {

class AppContext;

// Plays a catalogue entry in the player, from its disc wherever that is
// mounted now: the file's folder becomes the player's folder, its row is
// selected and the advance goes on from there. When no mounted volume is the
// disc, says which disc to insert; when nothing tells the disc apart, plays
// the recorded path if it is there and says the disc could not be checked.
// Refused entries (not a line of the catalogue) are told and nothing plays.
void playCatalogueEntry(AppContext& ctx, const std::string& catalogueName, const std::string& entry);

// What an address handed to the program asks: a "zondari:" catalogue entry,
// or a "file://" file or folder to play.
void openAddress(AppContext& ctx, const std::string& address);

// Whether a command-line argument is an address rather than a path.
bool isAddress(const std::string& argument);

} // namespace zondari
