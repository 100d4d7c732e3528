#include "platform/volume.h"

#include <array>
#include <blkid/blkid.h>
#include <cctype>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/common/encoding.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/openfile.h"

namespace zondari {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kCdSector = 2048;

class Device {
public:
    explicit Device(const std::string& path) : file_(path, O_RDONLY) {}
    bool ok() const { return file_.ok(); }
    int fd() const { return file_.fd(); }

    // `size` bytes at `offset`; empty when they are not all there.
    std::string read(std::uint64_t offset, std::size_t size) const
    {
        std::string buf(size, '\0');
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pread(fd(), buf.data() + done, size - done, static_cast<off_t>(offset + done));
            if (n <= 0)
                return {};
            done += static_cast<std::size_t>(n);
        }
        return buf;
    }
    std::string sector(std::uint64_t n) const { return read(n * kCdSector, kCdSector); }

    std::uint64_t size() const
    {
        const off_t end = ::lseek(fd(), 0, SEEK_END);
        return end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }

private:
    OpenFile file_;
};

std::uint32_t le32(const std::string& b, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]))
           | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8
           | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16
           | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t le16(const std::string& b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at])
                                      | static_cast<unsigned char>(b[at + 1]) << 8);
}

// The checksum Windows makes a CD's serial from: four one-byte running
// sums over the 2,048 bytes of a descriptor, byte i adding into sum i mod 4.
std::array<std::uint8_t, 4> byteSums(const std::string& sector)
{
    std::array<std::uint8_t, 4> s{};
    for (std::size_t i = 0; i < sector.size(); ++i)
        s[i % 4] = static_cast<std::uint8_t>(s[i % 4] + static_cast<unsigned char>(sector[i]));
    return s;
}

std::string trimTrailing(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

// ISO 9660 descriptors from sector 16 to the terminator (type 255). The
// serial and the label come from the one of the highest type, so a Joliet
// supplementary descriptor (2) wins over the primary (1).
std::optional<VolumeInfo> readIso9660(const Device& dev)
{
    std::string chosen;
    int chosenType = -1;
    for (std::uint64_t n = 16; n < 16 + 64; ++n) {
        const std::string d = dev.sector(n);
        if (d.empty() || d.compare(1, 5, "CD001") != 0)
            break;
        const int type = static_cast<unsigned char>(d[0]);
        if (type == 255)
            break;
        if (type > chosenType) {
            chosenType = type;
            chosen = d;
        }
    }
    if (chosenType < 0)
        return std::nullopt;
    const auto s = byteSums(chosen);
    VolumeInfo v;
    v.fileSystem = "iso9660";
    v.serial = static_cast<std::uint32_t>(s[0]) << 24 | static_cast<std::uint32_t>(s[1]) << 16
               | static_cast<std::uint32_t>(s[2]) << 8 | s[3];
    // The volume identifier: 32 bytes at offset 40; UCS-2 big-endian in a
    // Joliet descriptor (escape "%/@", "%/C" or "%/E" at offset 88).
    const bool joliet = chosenType == 2 && chosen[88] == '%' && chosen[89] == '/'
                        && (chosen[90] == '@' || chosen[90] == 'C' || chosen[90] == 'E');
    if (joliet) {
        std::string label;
        for (std::size_t i = 40; i + 1 < 72; i += 2) {
            const char32_t c = static_cast<char32_t>(static_cast<unsigned char>(chosen[i]) << 8
                                                     | static_cast<unsigned char>(chosen[i + 1]));
            if (c == 0)
                break;
            encoding::appendUtf8(label, c);
        }
        v.label = trimTrailing(label);
    } else {
        v.label = trimTrailing(chosen.substr(40, 32));
    }
    return v;
}

bool hasUdfRecognition(const Device& dev)
{
    for (std::uint64_t n = 16; n < 32; ++n) {
        const std::string d = dev.sector(n);
        if (d.empty())
            return false;
        if (d.compare(1, 5, "BEA01") == 0)
            return true;
    }
    return false;
}

// UDF: the anchor leads to the volume descriptors; the partition's start and
// the logical volume's File Set Descriptor address give the sector whose sums
// make the serial.
std::optional<std::uint32_t> udfSerial(const Device& dev)
{
    const std::uint64_t last = dev.size() / kCdSector;
    std::string anchor;
    for (std::uint64_t n : {std::uint64_t{256}, last - 1, last - 257, std::uint64_t{512}}) {
        if (n >= last)
            continue;
        anchor = dev.sector(n);
        if (!anchor.empty() && le16(anchor, 0) == 2)
            break;
        anchor.clear();
    }
    if (anchor.empty())
        return std::nullopt;
    const std::uint32_t length = le32(anchor, 16);
    const std::uint32_t location = le32(anchor, 20);
    std::optional<std::uint32_t> partitionStart;
    std::optional<std::uint32_t> fileSetBlock;
    for (std::uint32_t i = 0; i < length / kCdSector && i < 64; ++i) {
        const std::string d = dev.sector(std::uint64_t{location} + i);
        if (d.empty())
            break;
        const std::uint16_t tag = le16(d, 0);
        if (tag == 5 && !partitionStart)
            partitionStart = le32(d, 188);
        else if (tag == 6 && !fileSetBlock)
            fileSetBlock = le32(d, 252);
        else if (tag == 8)
            break;
    }
    if (!partitionStart || !fileSetBlock)
        return std::nullopt;
    const std::string fsd = dev.sector(std::uint64_t{*partitionStart} + *fileSetBlock);
    if (fsd.empty())
        return std::nullopt;
    const auto s = byteSums(fsd);
    return static_cast<std::uint32_t>(s[3]) << 24 | static_cast<std::uint32_t>(s[2]) << 16
           | static_cast<std::uint32_t>(s[1]) << 8 | s[0];
}

// FAT and NTFS keep the serial in the boot sector.
std::optional<std::uint32_t> bootSectorSerial(const Device& dev, const std::string& type)
{
    const std::string boot = dev.read(0, 512);
    if (boot.empty())
        return std::nullopt;
    if (boot.compare(3, 8, "NTFS    ") == 0)
        return le32(boot, 0x48);  // low 32 bits of the 64-bit serial
    if (type != "vfat" && type != "msdos")
        return std::nullopt;
    // FAT32 has no 16-bit FAT size; its extended boot record sits further on.
    if (le16(boot, 0x16) == 0 && boot[0x42] == 0x29)
        return le32(boot, 0x43);
    if (boot[0x26] == 0x29)
        return le32(boot, 0x27);
    return std::nullopt;
}

struct Probe {
    std::string type, label, uuid;
};

Probe probe(const Device& dev)
{
    Probe p;
    blkid_probe pr = blkid_new_probe();
    if (!pr)
        return p;
    if (blkid_probe_set_device(pr, dev.fd(), 0, 0) == 0) {
        blkid_probe_enable_superblocks(pr, 1);
        blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
        if (blkid_do_probe(pr) == 0) {
            auto value = [pr](const char* name) {
                const char* data = nullptr;
                std::size_t len = 0;
                if (blkid_probe_lookup_value(pr, name, &data, &len) != 0 || !data)
                    return std::string();
                return std::string(data);  // NUL-terminated; cut at the first NUL
            };
            p.type = value("TYPE");
            p.label = value("LABEL");
            p.uuid = value("UUID");
        }
    }
    blkid_free_probe(pr);
    return p;
}

// The mounted file system that holds `path` (the deepest mount point above
// it).
std::optional<DriveInfo> mountOf(const std::string& path)
{
    auto text = files::readBytes("/proc/self/mountinfo");
    if (!text)
        return std::nullopt;
    std::optional<DriveInfo> best;
    for (DriveInfo& d : parseMountInfo(*text)) {
        if (isOnDrive(path, d.root) && (!best || d.root.size() >= best->root.size()))
            best = std::move(d);
    }
    return best;
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

}  // namespace

std::uint32_t serialFromUuid(const std::string& uuid)
{
    std::uint32_t serial = 0;
    int digits = 0;
    for (char c : uuid) {
        if (digits == 8)
            break;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            continue;
        serial = serial << 4 | static_cast<std::uint32_t>(std::stoi(std::string(1, c), nullptr, 16));
        ++digits;
    }
    return digits == 0 ? 0 : serial;
}

std::optional<VolumeInfo> readVolumeDevice(const std::string& deviceOrImage)
{
    const Device dev(deviceOrImage);
    if (!dev.ok())
        return std::nullopt;
    const Probe p = probe(dev);
    VolumeInfo v{p.label, serialFromUuid(p.uuid), p.type};
    // UDF first: a bridge disc carries ISO 9660 descriptors too.
    if (hasUdfRecognition(dev)) {
        if (auto serial = udfSerial(dev)) {
            v.serial = *serial;
            v.fileSystem = "udf";
            return v;
        }
    }
    if (auto iso = readIso9660(dev))
        return iso;
    if (auto serial = bootSectorSerial(dev, p.type))
        v.serial = *serial;
    return v;
}

VolumeInfo SystemVolumeReader::volumeOf(const std::string& path) const
{
    const auto mount = mountOf(canonicalOr(path));
    if (!mount)
        return {};
    if (auto v = readVolumeDevice(mount->device)) {
        if (v->fileSystem.empty())
            v->fileSystem = mount->type;
        return *v;
    }
    // Without the right to read the device, udev's links still tell the
    // label and the UUID.
    return {udevName("/dev/disk/by-label", mount->device),
            serialFromUuid(udevName("/dev/disk/by-uuid", mount->device)), mount->type};
}

bool SystemVolumeReader::isVolumeRoot(const std::string& path) const
{
    const std::string p = canonicalOr(path);
    if (p == "/")
        return true;
    struct stat here {}, above {};
    if (::stat(p.c_str(), &here) == 0 && ::stat(files::folderOf(p).c_str(), &above) == 0
        && here.st_dev != above.st_dev)
        return true;
    const auto mount = mountOf(p);
    return mount && mount->root == p;
}

}  // namespace zondari
