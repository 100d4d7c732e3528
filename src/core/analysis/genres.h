#pragma once

#include <string>

namespace zondari {

// The name the details window shows for an ID3v1 genre byte: 148 names
// (0-147); "" for 255 (no genre) and for any number without a name.
std::string GenreName(int genre);

} // namespace zondari
