#include "core/catalogue/finddisc.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "core/catalogue/filename.h"
#include "core/catalogue/volumeserial.h"

namespace zondari::catalogue {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The name writes a "/" of a label as "-"; a label compares as written there.
std::string namedLabel(std::string_view label)
{
    std::string s(label);
    std::replace(s.begin(), s.end(), '/', '-');
    return s;
}

// "-?digits" at the start of `text`: how many characters it takes, 0 when none.
std::size_t serialLength(std::string_view text)
{
    std::size_t n = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t digits = n;
    while (n < text.size() && std::isdigit(static_cast<unsigned char>(text[n])))
        ++n;
    return n > digits ? n : 0;
}

bool looksLikeFolderPart(std::string_view part)
{
    // A sanitised Linux path starts with "-" (its "/"), a Windows one with
    // its drive ("C--").
    return part.empty() || part[0] == '-'
        || (part.size() >= 2 && std::isalpha(static_cast<unsigned char>(part[0])) && part[1] == '-');
}

bool isWindowsPath(std::string_view path)
{
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':'
        && (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

// `path` below `root` (both with "/"), without the root; nothing when it is
// not below it.
std::optional<std::string> below(std::string_view path, std::string_view root)
{
    while (root.size() > 1 && root.back() == '/')
        root.remove_suffix(1);
    if (root == "/")
        return std::string(path.substr(1));
    if (path.substr(0, root.size()) != root || (path.size() > root.size() && path[root.size()] != '/'))
        return std::nullopt;
    return std::string(path.substr(std::min(path.size(), root.size() + 1)));
}

std::string joined(const std::string& mountPoint, const std::string& rest)
{
    if (rest.empty())
        return mountPoint;
    return mountPoint + (mountPoint.ends_with('/') ? "" : "/") + rest;
}

// The folders at and above `folder`, nearest first, "/" last.
std::vector<std::string> foldersAbove(std::string folder)
{
    std::vector<std::string> out;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    while (!folder.empty() && folder != "/") {
        out.push_back(folder);
        folder.resize(folder.rfind('/'));
    }
    out.emplace_back("/");
    return out;
}

} // namespace

std::optional<std::uint32_t> parseSerial(std::string_view text)
{
    std::uint32_t serial = 0;
    if (text.size() == 9 && text[4] == '-') {
        const std::string hex = std::string(text.substr(0, 4)) + std::string(text.substr(5));
        const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), serial, 16);
        if (ec != std::errc() || end != hex.data() + hex.size())
            return std::nullopt;
    } else {
        std::int64_t n = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (ec != std::errc() || end != text.data() + text.size() || n < INT32_MIN || n > UINT32_MAX)
            return std::nullopt;
        serial = static_cast<std::uint32_t>(n);
    }
    if (serial == 0) // what Windows writes when it could not read the volume
        return std::nullopt;
    return serial;
}

std::optional<NamedVolume> parseCatalogueName(std::string_view fileName, std::string_view user)
{
    const std::string prefix = userPrefix(user);
    const std::string_view ext = kExtension;
    if (fileName.size() < prefix.size() + ext.size() || !equalsIgnoringCase(fileName.substr(0, prefix.size()), prefix)
        || !equalsIgnoringCase(fileName.substr(fileName.size() - ext.size()), ext))
        return std::nullopt;
    const std::string_view rest = fileName.substr(prefix.size(), fileName.size() - prefix.size() - ext.size());
    // The last "_" followed by a serial and a folder part: the label may
    // hold "_", the serial never does.
    for (std::size_t p = rest.rfind('_'); p != std::string_view::npos; p = p ? rest.rfind('_', p - 1) : rest.npos) {
        const std::string_view tail = rest.substr(p + 1);
        const std::size_t n = serialLength(tail);
        if (n == 0 || !looksLikeFolderPart(tail.substr(n)))
            continue;
        NamedVolume v;
        v.label = std::string(rest.substr(0, p));
        std::from_chars(tail.data(), tail.data() + n, v.serial);
        v.folderPart = std::string(tail.substr(n));
        return v;
    }
    return std::nullopt;
}

DiscIdentity discIdentity(std::string_view fileName, std::string_view user, const std::optional<VolumeData>& volume)
{
    DiscIdentity disc;
    const auto named = parseCatalogueName(fileName, user);
    // A volume file that names nothing (damaged, cut short) is no volume file.
    if (volume
        && !(
            volume->label.empty() && volume->serial.empty() && volume->windowsSerial.empty() && volume->uuid.empty())) {
        disc.label = volume->label;
        for (const std::string* text : {&volume->serial, &volume->windowsSerial})
            if (const auto s = parseSerial(*text);
                s && std::find(disc.serials.begin(), disc.serials.end(), *s) == disc.serials.end())
                disc.serials.push_back(*s);
        disc.uuid = volume->uuid;
        disc.folderScanned = volume->folder;
        disc.recordedRoot = volume->root;
        // A catalogue of a volume's root has no folder part: its folder is the root.
        if (disc.recordedRoot.empty() && named && named->folderPart.empty())
            disc.recordedRoot = volume->folder;
        return disc;
    }
    if (!named)
        return disc;
    disc.label = named->label;
    if (const auto s = parseSerial(std::to_string(named->serial)))
        disc.serials.push_back(*s);
    return disc;
}

bool isTheDisc(const MountedVolume& volume, const DiscIdentity& disc)
{
    if (!disc.uuid.empty() && equalsIgnoringCase(disc.uuid, volume.uuid))
        return true;
    if (namedLabel(volume.label) != namedLabel(disc.label))
        return false;
    if (disc.serials.empty())
        return disc.uuid.empty() && !disc.label.empty();
    return std::any_of(disc.serials.begin(), disc.serials.end(), [&](std::uint32_t s) {
        return std::find(volume.serials.begin(), volume.serials.end(), s) != volume.serials.end();
    });
}

Located locate(std::string_view recordedPath, const DiscIdentity& disc, const std::vector<MountedVolume>& mounts,
    const std::function<bool(const std::string&)>& exists)
{
    if (!disc.known())
        return {Whereabouts::Unidentified, std::string(recordedPath), {}};
    const MountedVolume* found = nullptr;
    for (std::size_t i = 0; i < mounts.size() && !found; ++i) {
        // Mounted over later at the same point: hidden.
        const bool hidden = std::any_of(mounts.begin() + static_cast<std::ptrdiff_t>(i) + 1, mounts.end(),
            [&](const MountedVolume& m) { return m.mountPoint == mounts[i].mountPoint; });
        if (!hidden && isTheDisc(mounts[i], disc))
            found = &mounts[i];
    }
    if (!found)
        return {Whereabouts::NotMounted, {}, {}};
    Located at{Whereabouts::Mounted, {}, found->mountPoint};
    if (isWindowsPath(recordedPath)) {
        std::string rest(recordedPath.substr(std::min<std::size_t>(3, recordedPath.size())));
        std::replace(rest.begin(), rest.end(), '\\', '/');
        at.path = joined(found->mountPoint, rest);
        return at;
    }
    if (const auto rest = disc.recordedRoot.empty() ? std::nullopt : below(recordedPath, disc.recordedRoot)) {
        at.path = joined(found->mountPoint, *rest);
        return at;
    }
    // Mounted where it was when the path was recorded.
    if (below(recordedPath, found->mountPoint)) {
        at.path = std::string(recordedPath);
        return at;
    }
    // The root is somewhere above the folder scanned (or the file): the
    // nearest whose mapping is there.
    const std::string from = disc.folderScanned.empty() ? std::string(recordedPath) : disc.folderScanned;
    std::optional<std::string> first;
    for (const std::string& root : foldersAbove(from)) {
        const auto rest = below(recordedPath, root);
        if (!rest || rest->empty())
            continue;
        const std::string path = joined(found->mountPoint, *rest);
        if (!first)
            first = path;
        if (exists && exists(path)) {
            at.path = path;
            return at;
        }
    }
    at.path = first.value_or(found->mountPoint);
    return at;
}

std::string insertDiscMessage(std::string_view title, const DiscIdentity& disc)
{
    const std::string serial = disc.serials.empty() ? "sconosciuto" : volumeserial::signedText(disc.serials.front());
    return "Inserire il CD «" + std::string(title) + "» (etichetta " + disc.label + ", numero di serie " + serial + ")";
}

} // namespace zondari::catalogue
