#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The name of a catalogue file:
//   "ZOND_" + user + "_" + volume label + "_" + volume serial + folder part + ".txt"
namespace zondari::catalogue {

inline constexpr const char* kPrefix = "ZOND_";
inline constexpr const char* kExtension = ".txt";

// The name sanitiser: every "/", "\", "." and ":" of `text` becomes "-", in
// place; returns the changed text.
std::string& sanitiseName(std::string& text);

// Empty when the chosen folder is the root of its volume (a CD's or a disk's
// mount point, or "/"), else the sanitised path: /media/cd/Rock gives
// -media-cd-Rock.
std::string folderPart(std::string_view path, bool isVolumeRoot);

// The serial as the name writes it: the 32 bits as a signed decimal number.
std::string serialText(std::uint32_t serial);

// The user's part of every catalogue name, "ZOND_" + user + "_". A "/" in the
// user or the label would put the file into another folder; it is written
// "-".
std::string userPrefix(std::string_view user);

// The whole name. A name longer than a file name may be (255 bytes) keeps
// the start of its folder part and ends it with "~" and 8 hex digits of a
// hash of the whole folder part, so deep folders still get a name of their
// own, the same on every scan.
std::string catalogueFileName(
    std::string_view user, std::string_view label, std::uint32_t serial, std::string_view folderPart);

// Whether `fileName` is a catalogue of `user` ("ZOND_" + user + "_...txt",
// letter case aside, as the directory search matches): the catalogues of a
// user "Anna" are not those of a user "Annalisa".
bool isCatalogueOf(std::string_view fileName, std::string_view user);

} // namespace zondari::catalogue
