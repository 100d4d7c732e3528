#pragma once

#include <array>
#include <string>
#include <string_view>

// The 22 boxes of the music file types window and the list they stand for.
namespace zondari {

inline constexpr std::size_t kFileTypeBoxes = 22;

// Each box's caption: an extension of exactly three characters (two-letter
// ones end in a space).
inline constexpr std::array<const char*, kFileTypeBoxes> kFileTypeCaptions = {
    "MP3",
    "WMA",
    "WAV",
    "MID",
    "MP2",
    "MP1",
    "VOC",
    "PLS",
    "CDA",
    "IT ",
    "XM ",
    "S3M",
    "STM",
    "MOD",
    "DSM",
    "FAR",
    "ULT",
    "MTM",
    "669",
    "AS ",
    "MJF",
    "M3U",
};

// A box's value: 0 off, 1 on, 2 grey (on, and the user cannot switch it off).
enum BoxValue : int { kBoxOff = 0, kBoxOn = 1, kBoxGrey = 2 };

using FileTypeBoxes = std::array<int, kFileTypeBoxes>;

// MP3, WMA and M3U are always music: shown grey when in the list.
bool isFixedFileType(std::size_t index);

// The boxes for a stored list: each entry is read four characters at a
// time, the three after its point in capitals; a fixed type is grey.
FileTypeBoxes boxesFromList(std::string_view list);

// The list the boxes stand for, in box order: "." + caption for every box
// that is not off.
std::string listFromBoxes(const FileTypeBoxes& boxes);

} // namespace zondari
