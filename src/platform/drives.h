#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/common/result.h"

namespace zondari {

// A drive is the root of a mounted real file system.
struct DriveInfo {
    std::string root; // mount point, e.g. "/" or "/media/cd"
    std::string label; // volume label, may be empty
    std::string device; // the device or image it comes from
    std::string type; // file system type
};

// The mounted real file systems, each once, in mount-point order.
class Drives {
public:
    virtual ~Drives() = default;
    virtual std::vector<DriveInfo> list() const = 0;

    // The mount points alone (no labels to look up).
    virtual std::vector<std::string> roots() const;

    // The drive that holds `path` (the deepest mount point above it); "/"
    // when none of the listed drives does.
    std::string driveOf(const std::string& path) const;
};

// The drives of /proc/self/mountinfo, without the kernel's pseudo file
// systems.
class MountedDrives : public Drives {
public:
    std::vector<DriveInfo> list() const override;
    std::vector<std::string> roots() const override;
};

// One line of /proc/self/mountinfo, its \ooo escapes undone.
struct MountEntry {
    std::uint64_t device = 0; // major:minor as a device number
    std::string mountPoint, type, source;
    std::string id; // the mount's own number: a new mount gets a new one
    std::string root; // the folder of the file system mounted there: "/" unless bound from a folder
};

// Every well-formed line of the text of /proc/self/mountinfo, in order.
std::vector<MountEntry> parseMountEntries(const std::string& text);

// Parses the text of /proc/self/mountinfo into real-file-system drives.
std::vector<DriveInfo> parseMountInfo(const std::string& text);

// Whether the absolute `path` lies on the drive mounted at `root` (the root
// itself included).
bool isOnDrive(const std::string& path, const std::string& root);

// A name of udev's /dev/disk/by-* folders (a label, a UUID) as it was
// before udev wrote its unsafe characters as \xHH.
std::string decodeUdevName(const std::string& name);

// The process's current folder and drive, with the rule of the program's
// original platform: each drive keeps its own current folder (its root until
// a folder on it is made current); changing folder on another drive only
// records it, changing drive goes to that drive's current folder.
class CurrentFolder {
public:
    explicit CurrentFolder(const Drives& drives);

    Status changeFolder(const std::string& path); // ChDir
    Status changeDrive(const std::string& driveOrPath); // ChDrive

    std::string currentDrive() const { return drive_; }
    std::string folderOfDrive(const std::string& drive) const;

private:
    const Drives& drives_;
    std::string drive_;
    std::map<std::string, std::string> folders_;
};

} // namespace zondari
