#include "core/printing/fontchoice.h"

#include <algorithm>

#include "core/common/text.h"

namespace zondari::printing {

std::vector<std::string> listedFamilies(const std::vector<std::string>& reported)
{
    std::vector<std::string> out;
    std::vector<std::string> seen; // upper-cased, in step with `out`
    for (std::string name : reported) {
        // "Family [Foundry]": the foundry is not part of the family's name.
        if (!name.empty() && name.back() == ']') {
            const auto open = name.rfind(" [");
            if (open != std::string::npos && open > 0)
                name.erase(open);
        }
        if (name.empty())
            continue;
        std::string key = text::toUpper(name);
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            continue;
        seen.push_back(std::move(key));
        out.push_back(std::move(name));
    }
    return out;
}

bool isInstalled(std::string_view name, const std::vector<std::string>& families)
{
    if (name.empty())
        return false;
    const std::string key = text::toUpper(name);
    return std::any_of(families.begin(), families.end(), [&](const std::string& f) { return text::toUpper(f) == key; });
}

std::string fallbackFamily(const std::vector<std::string>& families, const std::string& closestToArial)
{
    if (isInstalled(kFallbackFamily, families))
        return kFallbackFamily;
    if (isInstalled(closestToArial, families))
        return closestToArial;
    return families.empty() ? std::string(kFallbackFamily) : families.front();
}

std::string fontCountCaption(std::size_t families)
{
    return "N. " + std::to_string(families) + " Fonts installati";
}

std::string sampleText(std::string_view family)
{
    return std::string(family) + " - aAbB 123 zZ";
}

SizeChoice chooseFontSize(std::string_view typed)
{
    SizeChoice choice;
    double v = text::val(typed);
    if (v > kLargestFontSize) {
        choice.capped = true;
        v = kLargestFontSize;
    }
    choice.size = static_cast<float>(v < kSmallestFontSize ? kSmallestFontSize : v);
    return choice;
}

Result<std::int16_t> columnsAsTyped(std::string_view typed)
{
    const double v = text::val(typed);
    // Judged before rounding, so that no value outside the range is ever
    // converted; -32768.5 still rounds (to even) into it.
    if (!(v >= -32768.5 && v < 32767.5))
        return runtimeError(ErrorCode::Overflow);
    return static_cast<std::int16_t>(text::roundHalfEven(v));
}

} // namespace zondari::printing
