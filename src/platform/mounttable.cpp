#include "platform/mounttable.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/drives.h"
#include "platform/files.h"
#include "platform/volume.h"

namespace zondari {

std::vector<catalogue::MountedVolume> MountTable::volumes()
{
    // Mount numbers are used again once free: what was read before a
    // change is not trusted after it. (A change while the table is read is
    // seen by the next call.)
    if (changes_.fd() < 0 || changes_.wait(0))
        known_.clear();
    const auto text = files::readBytes("/proc/self/mountinfo");
    if (!text)
        return {};
    std::vector<catalogue::MountedVolume> out;
    std::map<std::string, catalogue::MountedVolume> seen;
    for (const MountEntry& m : parseMountEntries(*text)) {
        // A folder bound elsewhere is not its volume's root.
        if (m.root != "/")
            continue;
        auto known = known_.find(m.id);
        if (known == known_.end()) {
            const VolumeInfo info = volumeOfMount(m);
            catalogue::MountedVolume v{m.mountPoint, info.label, {info.serial}, info.uuid};
            if (const std::uint32_t fromUuid = serialFromUuid(info.uuid); fromUuid != 0 && fromUuid != info.serial)
                v.serials.push_back(fromUuid);
            known = known_.emplace(m.id, std::move(v)).first;
        }
        seen.insert(*known);
        out.push_back(known->second);
    }
    known_ = std::move(seen); // the mounts gone are forgotten
    return out;
}

MountWatch::MountWatch()
    : fd_(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC))
{
}

MountWatch::~MountWatch()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void MountWatch::consume()
{
    // The mark stays until the table is read again from its start.
    char buffer[4096];
    if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        return;
    while (::read(fd_, buffer, sizeof buffer) > 0) { }
}

bool MountWatch::wait(int milliseconds)
{
    if (fd_ < 0)
        return false;
    pollfd p{fd_, POLLPRI, 0};
    const bool changed = ::poll(&p, 1, milliseconds) > 0 && (p.revents & (POLLPRI | POLLERR));
    if (changed)
        consume();
    return changed;
}

} // namespace zondari
