#pragma once

#include <string>

namespace zondari {

class AppContext;

// The object name of the question that asks for a disc.
inline constexpr const char* kDiscQuestionName = "InserireCD";

// Plays a catalogue entry from its disc wherever that is mounted now, the
// player window opened again if it was closed: a file's folder becomes the
// player's folder, its row is selected and the advance goes on from there; a
// folder plays from its first track; a file the player does not list goes to
// the system's opener. When no mounted volume is the disc, asks for it
// ("Annulla" gives up) without holding up the program, and plays as soon as
// the disc is mounted; a new request replaces the question. When nothing
// tells the disc apart, plays the recorded path if it is there and says the
// disc could not be checked. Refused entries (not a line of the catalogue)
// are told and nothing plays.
void playCatalogueEntry(AppContext& ctx, const std::string& catalogueName, const std::string& entry);

// What an address handed to the program asks: a "zondari:" catalogue entry,
// or a "file://" file or folder to play.
void openAddress(AppContext& ctx, const std::string& address);

// Whether a command-line argument is an address rather than a path.
bool isAddress(const std::string& argument);

} // namespace zondari
