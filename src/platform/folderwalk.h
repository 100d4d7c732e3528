#pragma once

#include "core/catalogue/findsubfolders.h"

namespace zondari {

// The folders of the disk, listed for the catalogue walk. Names starting
// with "." are hidden and left out; a symbolic link to a folder is not a
// subfolder (a link loop cannot make a walk endless); a link to a file is a
// file; devices, pipes and sockets are neither. A subfolder on another file
// system (a mount point) is not a subfolder either, and /proc, /sys and /dev
// are never listed: a scan of "/" catalogues the system's disk. A folder
// listing fails when the record of any of its entries cannot be read: an
// entry is never left out unsaid.
class DiskFolders : public catalogue::FolderSource {
public:
    catalogue::FolderListing list(const std::string& path) override;
};

} // namespace zondari
