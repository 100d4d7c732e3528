#include "platform/volume.h"

#include <blkid/blkid.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "core/catalogue/volumeserial.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/openfile.h"

namespace zondari {
namespace {

namespace fs = std::filesystem;

// Exactly `size` bytes at `offset` of an open device or image.
std::optional<std::string> readExactly(int fd, std::uint64_t offset, std::size_t size)
{
    int error = 0;
    std::string bytes = readAt(fd, offset, size, error);
    if (error != 0 || bytes.size() != size)
        return std::nullopt;
    return bytes;
}

std::uint64_t deviceSize(int fd)
{
    const off_t end = ::lseek(fd, 0, SEEK_END);
    return end > 0 ? static_cast<std::uint64_t>(end) : 0;
}

struct Probe {
    std::string type, label, uuid;
};

Probe probe(int fd)
{
    Probe p;
    blkid_probe pr = blkid_new_probe();
    if (!pr)
        return p;
    if (blkid_probe_set_device(pr, fd, 0, 0) == 0) {
        blkid_probe_enable_superblocks(pr, 1);
        blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
        if (blkid_do_probe(pr) == 0) {
            auto value = [pr](const char* name) {
                const char* data = nullptr;
                std::size_t len = 0;
                if (blkid_probe_lookup_value(pr, name, &data, &len) != 0 || !data)
                    return std::string();
                return std::string(data); // NUL-terminated; cut at the first NUL
            };
            p.type = value("TYPE");
            p.label = value("LABEL");
            p.uuid = value("UUID");
        }
    }
    blkid_free_probe(pr);
    return p;
}

// A mount of /proc/self/mountinfo, pseudo file systems included: a tmpfs is a
// volume of its own, not a folder of the disk below it.
struct Mount {
    std::string root, source, type;
    dev_t device = 0;
};

// The mount that holds `path`: the deepest mount point above it, among those
// of the path's own device when the path can be looked at.
std::optional<Mount> mountOf(const std::string& path)
{
    const auto text = files::readBytes("/proc/self/mountinfo");
    if (!text)
        return std::nullopt;
    struct stat st { };
    const bool known = ::stat(path.c_str(), &st) == 0;
    std::optional<Mount> best, bestOfDevice;
    for (MountEntry& e : parseMountEntries(*text)) {
        const Mount m{std::move(e.mountPoint), std::move(e.source), std::move(e.type), static_cast<dev_t>(e.device)};
        if (!isOnDrive(path, m.root))
            continue;
        // Mounted later over the same point: the later one is what is seen.
        if (!best || m.root.size() >= best->root.size())
            best = m;
        if (known && m.device == st.st_dev && (!bestOfDevice || m.root.size() >= bestOfDevice->root.size()))
            bestOfDevice = m;
    }
    return bestOfDevice ? bestOfDevice : best;
}

// udev's name for a device in one of the /dev/disk/by-* folders.
std::string udevName(const std::string& folder, const std::string& device)
{
    std::error_code ec;
    const fs::path dev = fs::canonical(device, ec);
    if (ec)
        return {};
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (fs::canonical(it->path(), ec2) == dev && !ec2)
            return decodeUdevName(it->path().filename().string());
    }
    return {};
}

std::string canonicalOr(const std::string& path)
{
    std::error_code ec;
    const fs::path p = fs::canonical(path, ec);
    return ec ? files::absolutePath(path) : p.string();
}

// A volume whose serial cannot be read (a tmpfs, a network share, a stick
// whose device is closed to this user) still needs a name of its own: the
// UUID when there is one, else its source, type and device number, which
// stay the same while it is mounted.
std::uint32_t standIn(const Mount& m, const std::string& uuid)
{
    if (!uuid.empty())
        return volumeserial::standInSerial(uuid);
    return volumeserial::standInSerial(
        m.source + "|" + m.type + "|" + std::to_string(major(m.device)) + ":" + std::to_string(minor(m.device)));
}

} // namespace

std::uint32_t serialFromUuid(const std::string& uuid)
{
    return volumeserial::serialFromUuid(uuid);
}

namespace {

// What a device tells: the volume, and whether its serial came from its own
// sectors (a FAT volume may really have the serial 0).
struct DeviceVolume {
    VolumeInfo info;
    bool serialRead = false;
    std::string uuid;
};

std::optional<DeviceVolume> readDevice(const std::string& deviceOrImage)
{
    const OpenFile dev(deviceOrImage, O_RDONLY | O_NONBLOCK);
    if (!dev.ok())
        return std::nullopt;
    struct stat st { };
    if (::fstat(dev.fd(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)))
        return std::nullopt;
    const Probe p = probe(dev.fd());
    DeviceVolume v{{p.label, serialFromUuid(p.uuid), p.type, p.uuid}, false, p.uuid};
    const int fd = dev.fd();
    const auto found = volumeserial::windowsSerial(
        [fd](std::uint64_t offset, std::size_t size) { return readExactly(fd, offset, size); }, deviceSize(fd),
        p.type == "vfat" || p.type == "msdos");
    if (found) {
        v.info.serial = found->serial;
        v.info.fileSystem = found->fileSystem;
        v.serialRead = true;
        if (found->label)
            v.info.label = *found->label;
    }
    return v;
}

} // namespace

std::optional<VolumeInfo> readVolumeDevice(const std::string& deviceOrImage)
{
    auto v = readDevice(deviceOrImage);
    // Bytes in which neither libblkid nor the serial readers find a file
    // system (a track, an empty file) are no volume.
    if (!v || v->info.fileSystem.empty())
        return std::nullopt;
    return v->info;
}

namespace {

VolumeInfo volumeOfMount(const Mount& mount)
{
    // A source that is no path ("tmpfs", "server:/share") is no device to read.
    const bool device = !mount.source.empty() && mount.source.front() == '/';
    DeviceVolume v;
    if (auto read = device ? readDevice(mount.source) : std::nullopt) {
        v = std::move(*read);
    } else {
        // Without the right to read the device, udev's links still tell the
        // label and the UUID.
        v.info.label = udevName("/dev/disk/by-label", mount.source);
        v.uuid = udevName("/dev/disk/by-uuid", mount.source);
        v.info.serial = serialFromUuid(v.uuid);
    }
    if (v.info.fileSystem.empty())
        v.info.fileSystem = mount.type;
    v.info.uuid = v.uuid;
    if (v.info.serial == 0 && !v.serialRead)
        v.info.serial = standIn(mount, v.uuid);
    return v.info;
}

} // namespace

VolumeInfo volumeOfMount(const MountEntry& mount)
{
    return volumeOfMount(Mount{mount.mountPoint, mount.source, mount.type, static_cast<dev_t>(mount.device)});
}

VolumeInfo SystemVolumeReader::volumeOf(const std::string& path) const
{
    const auto mount = mountOf(canonicalOr(path));
    if (!mount)
        return {};
    return volumeOfMount(*mount);
}

bool SystemVolumeReader::isVolumeRoot(const std::string& path) const
{
    const std::string p = canonicalOr(path);
    if (p == "/")
        return true;
    struct stat here {
    }, above{};
    if (::stat(p.c_str(), &here) == 0 && ::stat(files::folderOf(p).c_str(), &above) == 0 && here.st_dev != above.st_dev)
        return true;
    const auto mount = mountOf(p);
    return mount && mount->root == p;
}

} // namespace zondari
