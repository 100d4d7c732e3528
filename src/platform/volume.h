#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zondari {

// What the catalogue names a volume by.
struct VolumeInfo {
    std::string label;
    std::uint32_t serial = 0; // the 32-bit volume serial number
    std::string fileSystem; // "vfat", "iso9660", "udf", "ntfs", "ext4"...
    std::string uuid; // as libblkid or udev gives it; empty when neither knows it
};

// The volume that holds a path.
class VolumeReader {
public:
    virtual ~VolumeReader() = default;

    // Label, serial and file system of the volume that holds `path` (any
    // folder on it, not only its root). Nothing known gives an empty label
    // and the serial 0.
    virtual VolumeInfo volumeOf(const std::string& path) const = 0;

    // Whether `path` is the root of its volume: a mount point, or "/".
    virtual bool isVolumeRoot(const std::string& path) const = 0;
};

// The mounted volumes of this system, found through /proc/self/mountinfo.
// The serial is the one Windows gives the same medium when the device can
// be read (FAT and NTFS boot sectors, the ISO 9660 and UDF descriptors);
// otherwise the first 8 hex digits of its UUID (from libblkid or udev's
// /dev/disk/by-uuid). A volume with neither (a tmpfs, a network share, a
// device this user cannot read and udev does not name) gets a stand-in
// made from what tells it apart (its UUID, or its source, type and device
// number), never 0, so that two such volumes never share a catalogue name.
class SystemVolumeReader : public VolumeReader {
public:
    VolumeInfo volumeOf(const std::string& path) const override;
    bool isVolumeRoot(const std::string& path) const override;
};

struct MountEntry;

// What SystemVolumeReader tells of the volumes mounted as `mount` is.
VolumeInfo volumeOfMount(const MountEntry& mount);

// Reads a device or an image file of a volume; nothing when it cannot be
// opened, is neither a normal file nor a block device, or holds no file
// system that is known.
std::optional<VolumeInfo> readVolumeDevice(const std::string& deviceOrImage);

// The serial a UUID stands for: its first 8 hex digits ("1A2B-3C4D" gives
// 0x1A2B3C4D); 0 when it has none.
std::uint32_t serialFromUuid(const std::string& uuid);

} // namespace zondari
