#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"

// The rules of the font chooser and of the print settings the catalogue
// window hands to the preview.
namespace zondari::printing {

inline constexpr const char* kFontUnavailableMessage
    = "Font scelto non disponibile, verrà scelto l'Arial a video ed in stampa.";
inline constexpr const char* kFallbackFamily = "Arial";
inline constexpr double kLargestFontSize = 25;
inline constexpr double kSmallestFontSize = 2;

// The families to list, each once: a family that the system reports once
// per foundry ("Sans [Foundry]") is listed by its plain name, and a name
// that comes again, in any letter case, is left out. The order is kept.
std::vector<std::string> listedFamilies(const std::vector<std::string>& reported);

// Whether `name` is one of `families`, letter case aside, as font names are
// matched.
bool isInstalled(std::string_view name, const std::vector<std::string>& families);

// The family that takes the place of a font that is not installed: Arial
// when it is there, else `closestToArial` (the family the system uses for
// Arial) when that is installed, else the first one listed.
std::string fallbackFamily(const std::vector<std::string>& families, const std::string& closestToArial);

// "N. 12 Fonts installati".
std::string fontCountCaption(std::size_t families);

// The sample shown for a family.
std::string sampleText(std::string_view family);

// The size typed into the chooser: above 25 it is written back as "25";
// below 2, or not a number, it is stored as 2.
struct SizeChoice {
    float size = 8;
    bool capped = false; // the box is to show "25"
};
SizeChoice chooseFontSize(std::string_view typed);

// The column count as the preview key takes it from "N. Colonne": the
// nearest whole number, without the 2..7 check. A number that a 16-bit
// count cannot hold is the runtime's overflow.
Result<std::int16_t> columnsAsTyped(std::string_view typed);

} // namespace zondari::printing
