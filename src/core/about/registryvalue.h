#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Registry values as the about window reads them.
namespace zondari::registry {

// Value types, numbered as the registry numbers them.
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_DWORD = 4;

// A stored value: its type and its bytes (a string's bytes may end in NULs;
// a 32-bit number is 4 bytes, least significant first).
struct Value {
    std::uint32_t type = 0;
    std::string bytes;
};

// The text a value is read as: a string up to its first NUL; a 32-bit
// number as "&h" and all its hexadecimal digits in capitals ("&h120034"
// for 0x00120034). Nothing for a type that is not read as text.
std::optional<std::string> valueText(const Value& value);

// A 32-bit number stored as the registry stores it.
Value dwordValue(std::uint32_t number);

} // namespace zondari::registry
