#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/catalogue/finddisc.h"

// The volumes mounted now, as the disc finder takes them, and a watch on
// the mount table.
namespace zondari {

// Watches the mount table: the kernel marks /proc/self/mountinfo with
// POLLPRI and POLLERR when a file system is mounted or unmounted. A window
// polls `fd()` (a QSocketNotifier of type Exception) and calls `consume()`
// when it fires.
class MountWatch {
public:
    MountWatch();
    ~MountWatch();
    MountWatch(const MountWatch&) = delete;
    MountWatch& operator=(const MountWatch&) = delete;

    int fd() const { return fd_; } // -1 when the table cannot be opened
    // Takes the change, so that the next poll waits for the next one.
    void consume();
    // Waits up to `milliseconds` for a change; true when one came.
    bool wait(int milliseconds);

private:
    int fd_ = -1;
};

// Reads /proc/self/mountinfo and tells each mounted device's identity. A
// device is read once while nothing is mounted or unmounted: a disc put in
// again, even in the same drive at the same point, is read anew.
class MountTable {
public:
    // Every mount, in mount order, told as a scan tells the volume it reads
    // (a device or image by its own bytes, an ntfs-3g mount by its source,
    // a tmpfs by its stand-in serial); a folder bound elsewhere is left
    // out, as its paths are not the volume's.
    std::vector<catalogue::MountedVolume> volumes();

private:
    MountWatch changes_;
    std::map<std::string, catalogue::MountedVolume> known_; // by mount number
};

} // namespace zondari
