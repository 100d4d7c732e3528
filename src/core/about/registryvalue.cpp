#include "core/about/registryvalue.h"

#include <cstdio>

namespace zondari::registry {

std::optional<std::string> valueText(const Value& value)
{
    switch (value.type) {
    case REG_SZ:
        return value.bytes.substr(0, value.bytes.find('\0'));
    case REG_DWORD: {
        // Every byte counts, zero bytes too: a number is never cut short.
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < 4 && i < value.bytes.size(); ++i)
            number |= static_cast<std::uint32_t>(static_cast<unsigned char>(value.bytes[i])) << (8 * i);
        char digits[9];
        std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(number));
        return std::string("&h") + digits;
    }
    default:
        return std::nullopt;
    }
}

Value dwordValue(std::uint32_t number)
{
    Value v{REG_DWORD, std::string(4, '\0')};
    for (std::size_t i = 0; i < 4; ++i)
        v.bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    return v;
}

} // namespace zondari::registry
