#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/about/registryvalue.h"

// A read-only registry that answers the keys which locate the system
// information tool, from the system information tools found on PATH. Every
// other key is absent.
namespace zondari {

inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;

namespace registry {

// The key whose "PATH" value names the tool itself, and the key whose
// "MSINFO" value names the folder that holds it.
inline constexpr const char* kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kToolsLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

// The system information tools, the preferred first.
const std::vector<std::string>& systemInformationTools();

// The values of a key by name (in capitals; value names are matched without
// regard to letter case, as are key names); nothing when the key is absent.
std::optional<std::map<std::string, Value>> openKey(std::uint32_t root, const std::string& keyName);

} // namespace registry

// Reads the value `SubKeyRef` of the key `KeyName` under `KeyRoot` into
// `KeyVal` as text (see registry::valueText). False, with `KeyVal` empty,
// when the key is absent; true when the key is there, with `KeyVal` left as
// it was when the value is missing or of a type not read as text.
bool GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);

// GetKeyValue's signature, so that a stand-in registry can be handed in.
using KeyLookup = std::function<bool(std::uint32_t, const std::string&, const std::string&, std::string&)>;

// The program the about window's "System info" starts: the MSINFO key's
// PATH when the key is there, else the first system information tool that
// a directory search finds in the shared tools location; empty when
// neither is there.
std::string systemInformationProgram(const KeyLookup& lookup = GetKeyValue);

} // namespace zondari
