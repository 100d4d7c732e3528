#include "core/catalogue/scanrules.h"

#include <cmath>

#include "core/common/encoding.h"
#include "core/common/text.h"
#include "core/shell/filetypes.h"

namespace zondari::catalogue {

bool includesFile(std::string_view fileName, bool allFiles)
{
    return allFiles || matchesFileTypes(fileName, kScanFileTypes);
}

Columns clampColumns(std::string_view typed)
{
    // Judged before rounding (halves to even: 1.5 is 2, 7.5 is 8), so that
    // "1e300" cannot overflow.
    const double v = text::val(typed);
    if (!(v >= 1.5))
        return {2, true};
    if (v >= 7.5)
        return {7, true};
    return {static_cast<std::int16_t>(text::roundHalfEven(v)), false};
}

float normalisedFontSize(float size)
{
    if (size == 0)
        size = 8;
    return size < 2 ? 2 : size;
}

bool acceptsTitleChar(char32_t c)
{
    if (c < 7 || c > 127)
        return false;
    return std::string_view("\\/:.,()$").find(static_cast<char>(c)) == std::string_view::npos;
}

std::string filterTitle(std::string_view title)
{
    std::string out;
    for (char32_t c : encoding::toUtf32(title))
        if (acceptsTitleChar(c))
            out += static_cast<char>(c);
    return out;
}

std::string overwriteQuestion(std::string_view fileName, std::string_view storedTitle)
{
    return "Attenzione: il CD/Cartella : " + std::string(fileName) + " (" + std::string(storedTitle)
        + ") è gia stato catalogato, si vuole sovrascrivere?";
}

std::string rescanQuestion(std::string_view changes, std::string_view fileName, std::string_view storedTitle)
{
    return std::string(changes) + "\n\n" + overwriteQuestion(fileName, storedTitle);
}

std::string missingCatalogueMessage(std::string_view fullPath)
{
    return "Errore: file " + std::string(fullPath) + " di catalogo MP3 non trovato.";
}

std::string deleteQuestion(std::string_view fullPath, std::string_view title)
{
    return "Vuoi veramente cancellare il file di archivio " + std::string(fullPath) + " (" + std::string(title) + ")?";
}

} // namespace zondari::catalogue
