#include "platform/drives.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/files.h"

namespace zondari {
namespace {

namespace fs = std::filesystem;

// mountinfo writes space, tab, newline and backslash as \ooo.
// mountinfo writes space, tab, newline and backslash as \ooo.
std::string unescapeOctal(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3' && s[i + 2] >= '0' && s[i + 2] <= '7'
            && s[i + 3] >= '0' && s[i + 3] <= '7') {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += s[i];
    }
    return out;
}

} // namespace

std::string decodeUdevName(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && std::isxdigit(static_cast<unsigned char>(s[i + 2]))
            && std::isxdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
            continue;
        }
        out += s[i];
    }
    return out;
}

bool isOnDrive(const std::string& path, const std::string& root)
{
    return path == root || root == "/" || path.rfind(root + "/", 0) == 0;
}

namespace {

bool isPseudo(const std::string& type, const std::string& root)
{
    static const std::set<std::string> pseudo = {
        "proc",
        "sysfs",
        "devtmpfs",
        "devpts",
        "tmpfs",
        "ramfs",
        "cgroup",
        "cgroup2",
        "mqueue",
        "debugfs",
        "tracefs",
        "securityfs",
        "pstore",
        "bpf",
        "autofs",
        "fusectl",
        "configfs",
        "hugetlbfs",
        "binfmt_misc",
        "nsfs",
        "efivarfs",
        "rpc_pipefs",
        "nfsd",
        "selinuxfs",
        "fuse.gvfsd-fuse",
        "fuse.portal",
    };
    if (pseudo.count(type))
        return true;
    for (const std::string sys : {"/proc", "/sys", "/dev", "/snap", "/boot/efi"})
        if (root == sys || root.rfind(sys + "/", 0) == 0)
            return true;
    // /run holds the system's runtime mounts, but removable media appear
    // under /run/media.
    return root.rfind("/run/", 0) == 0 && root.rfind("/run/media/", 0) != 0;
}

std::map<std::string, std::string> labelsByDevice()
{
    std::map<std::string, std::string> labels;
    std::error_code ec;
    for (fs::directory_iterator it("/dev/disk/by-label", ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path dev = fs::canonical(it->path(), ec);
        if (!ec)
            labels[dev.string()] = decodeUdevName(it->path().filename().string());
        ec.clear();
    }
    return labels;
}

} // namespace

std::vector<MountEntry> parseMountEntries(const std::string& text)
{
    // Each line: id parent major:minor root mount-point options [optional...] - type source super-options
    std::vector<MountEntry> entries;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        std::string id, parent, devno, root, mountPoint, options, field;
        if (!(f >> id >> parent >> devno >> root >> mountPoint >> options))
            continue;
        while (f >> field && field != "-") { }
        MountEntry m;
        if (!(f >> m.type >> m.source))
            continue;
        unsigned major = 0, minor = 0;
        if (std::sscanf(devno.c_str(), "%u:%u", &major, &minor) == 2)
            m.device = makedev(major, minor);
        m.mountPoint = unescapeOctal(mountPoint);
        m.source = unescapeOctal(m.source);
        m.id = id;
        m.root = unescapeOctal(root);
        entries.push_back(std::move(m));
    }
    return entries;
}

std::vector<DriveInfo> parseMountInfo(const std::string& text)
{
    std::vector<DriveInfo> drives;
    std::set<std::string> seen;
    for (MountEntry& m : parseMountEntries(text)) {
        if (isPseudo(m.type, m.mountPoint) || !seen.insert(m.mountPoint).second)
            continue;
        drives.push_back({m.mountPoint, {}, std::move(m.source), std::move(m.type)});
    }
    std::sort(drives.begin(), drives.end(), [](const DriveInfo& a, const DriveInfo& b) { return a.root < b.root; });
    return drives;
}

namespace {

std::vector<DriveInfo> mountedFolders()
{
    auto text = files::readBytes("/proc/self/mountinfo");
    std::vector<DriveInfo> drives = text ? parseMountInfo(*text) : std::vector<DriveInfo>{{"/", {}, {}, {}}};
    // A bind-mounted file (a container's /etc/hosts) is no drive.
    std::erase_if(drives, [](const DriveInfo& d) { return !files::folderExists(d.root); });
    return drives;
}

} // namespace

std::vector<std::string> Drives::roots() const
{
    std::vector<std::string> r;
    for (const auto& d : list())
        r.push_back(d.root);
    return r;
}

std::vector<std::string> MountedDrives::roots() const
{
    std::vector<std::string> r;
    for (const auto& d : mountedFolders())
        r.push_back(d.root);
    return r;
}

std::vector<DriveInfo> MountedDrives::list() const
{
    std::vector<DriveInfo> drives = mountedFolders();
    const auto labels = labelsByDevice();
    for (auto& d : drives) {
        std::error_code ec;
        const auto dev = fs::canonical(d.device, ec);
        if (!ec)
            if (auto it = labels.find(dev.string()); it != labels.end())
                d.label = it->second;
    }
    return drives;
}

std::string Drives::driveOf(const std::string& path) const
{
    const std::string abs = files::absolutePath(path);
    std::string best = "/";
    for (const std::string& r : roots()) {
        if (isOnDrive(abs, r) && r.size() >= best.size())
            best = r;
    }
    return best;
}

CurrentFolder::CurrentFolder(const Drives& drives)
    : drives_(drives)
{
    const std::string cwd = files::currentFolder();
    drive_ = drives_.driveOf(cwd);
    folders_[drive_] = cwd;
}

std::string CurrentFolder::folderOfDrive(const std::string& drive) const
{
    const auto it = folders_.find(drive);
    return it == folders_.end() ? drive : it->second;
}

Status CurrentFolder::changeFolder(const std::string& path)
{
    const std::string abs = files::absolutePath(path);
    const std::string drive = drives_.driveOf(abs);
    if (drive == drive_) {
        if (::chdir(abs.c_str()) != 0)
            return runtimeErrorFromErrno(errno);
    } else if (!files::folderExists(abs)) {
        return runtimeErrorFromErrno(ENOTDIR);
    }
    folders_[drive] = abs;
    return {};
}

Status CurrentFolder::changeDrive(const std::string& driveOrPath)
{
    const std::string drive = drives_.driveOf(driveOrPath);
    const std::string folder = folderOfDrive(drive);
    if (::chdir(folder.c_str()) != 0) {
        // The drive's remembered folder may be gone; its root may still be there.
        if (folder == drive || ::chdir(drive.c_str()) != 0)
            return runtimeError(ErrorCode::DeviceUnavailable);
        folders_[drive] = drive;
    }
    drive_ = drive;
    return {};
}

} // namespace zondari
