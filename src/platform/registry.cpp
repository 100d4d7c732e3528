#include "platform/registry.h"

#include "core/common/paths.h"
#include "core/common/text.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace zondari {
namespace registry {
namespace {

Value stringValue(const std::string& s)
{
    return {REG_SZ, s + '\0'};
}

// The first system information tool on PATH, as a full path; empty when
// there is none.
std::string firstTool()
{
    for (const std::string& name : systemInformationTools()) {
        if (std::string path = findProgram(name); !path.empty())
            return path;
    }
    return {};
}

} // namespace

const std::vector<std::string>& systemInformationTools()
{
    // Graphical tools that show the machine's hardware and system, as
    // Windows' "System Information" does; a desktop's own first.
    static const std::vector<std::string> tools = {
        "hardinfo2",
        "hardinfo",
        "kinfocenter",
        "cpu-x",
        "lshw-gtk",
        "gnome-system-monitor",
    };
    return tools;
}

std::optional<std::map<std::string, Value>> openKey(std::uint32_t root, const std::string& keyName)
{
    if (root != HKEY_LOCAL_MACHINE)
        return std::nullopt;
    const std::string key = text::toUpperAscii(keyName);
    const bool msinfo = key == text::toUpperAscii(kMsinfoKey);
    const bool location = key == text::toUpperAscii(kToolsLocationKey);
    if (!msinfo && !location)
        return std::nullopt;
    const std::string tool = firstTool();
    if (tool.empty())
        return std::nullopt;
    if (msinfo)
        return std::map<std::string, Value>{{"PATH", stringValue(tool)}};
    return std::map<std::string, Value>{{"MSINFO", stringValue(files::folderOf(tool))}};
}

} // namespace registry

bool GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal)
{
    const auto key = registry::openKey(KeyRoot, KeyName);
    if (!key) {
        KeyVal.clear();
        return false;
    }
    const auto value = key->find(text::toUpperAscii(SubKeyRef));
    if (value != key->end()) {
        if (auto t = registry::valueText(value->second))
            KeyVal = std::move(*t);
    }
    return true;
}

std::string systemInformationProgram(const KeyLookup& lookup)
{
    std::string path;
    if (lookup(HKEY_LOCAL_MACHINE, registry::kMsinfoKey, "PATH", path))
        return path;
    if (!lookup(HKEY_LOCAL_MACHINE, registry::kToolsLocationKey, "MSINFO", path))
        return {};
    for (const std::string& name : registry::systemInformationTools()) {
        const auto found = files::dirSearch(path, name);
        if (found && !found->empty())
            return withSlash(path) + found->front();
    }
    return {};
}

} // namespace zondari
