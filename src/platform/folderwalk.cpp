#include "platform/folderwalk.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace zondari {

using catalogue::FolderListing;

namespace {

// The kernel's views of processes, devices and itself: endless, changing
// under the walk, and no music in them.
constexpr std::string_view kSystemFolders[] = {"/proc", "/sys", "/dev"};

bool isSystemFolder(std::string_view path)
{
    for (std::string_view f : kSystemFolders)
        if (path == f || (path.starts_with(f) && path[f.size()] == '/'))
            return true;
    return false;
}

} // namespace

// One readdir pass per folder: the type comes with each name, so only
// folders, links (and the entries of file systems that do not tell types)
// cost a look at the entry. A
// std::filesystem iterator builds and parses a path object for every name,
// which made a scan of 100,000 files take twice as long.
FolderListing DiskFolders::list(const std::string& path)
{
    FolderListing out;
    auto fail = [&out](int err) {
        using Outcome = FolderListing::Outcome;
        out.outcome = err == EACCES           ? Outcome::Denied
            : err == ENOENT || err == ENOTDIR ? Outcome::Gone
                                              : Outcome::Failed;
        out.error = runtimeErrorFromErrno(err);
        out.folders.clear();
        out.files.clear();
        return out;
    };
    if (isSystemFolder(path))
        return out;
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return fail(errno);
    const int dfd = ::dirfd(dir);
    // The walk stays on the file system it starts on, as find -xdev does: a
    // subfolder on another device is another file system mounted there.
    struct stat here { };
    struct statfs kind { };
    if (::fstat(dfd, &here) != 0 || ::fstatfs(dfd, &kind) != 0) {
        const int err = errno;
        ::closedir(dir);
        return fail(err);
    }
    if (kind.f_type == PROC_SUPER_MAGIC || kind.f_type == SYSFS_MAGIC) {
        ::closedir(dir); // reached by another name than its own
        return out;
    }
    const bool root = path == "/";
    int failure = 0; // a look at an entry that failed for the folder's sake
    errno = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue; // hidden, and "." and ".."
        unsigned char type = e->d_type;
        struct stat st { };
        // The entry's own record: its type where the folder does not tell it
        // (a CD's does not), the device of a folder. Without waking an
        // automounter: what it would mount is elsewhere.
        if (type == DT_UNKNOWN || type == DT_DIR) {
            if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT) != 0) {
                // A name gone meanwhile is passed over. Any other failure (no
                // permission to look inside the folder, a record the disk
                // cannot read) is the folder's: nothing is left out unsaid.
                if (errno != ENOENT && errno != ENOTDIR) {
                    failure = errno;
                    break;
                }
                errno = 0;
                continue;
            }
            type = S_ISLNK(st.st_mode) ? DT_LNK : S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : 0;
        }
        // A link to a folder is not followed: it is neither folder nor file.
        // A link that leads nowhere (or round in a loop) is no file either.
        if (type == DT_LNK)
            type = ::fstatat(dfd, e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode) ? DT_REG : 0;
        if (type == DT_DIR) {
            if (st.st_dev == here.st_dev && !(root && isSystemFolder(std::string("/") + e->d_name)))
                out.folders.emplace_back(e->d_name);
        } else if (type == DT_REG) {
            out.files.emplace_back(e->d_name);
        }
        errno = 0;
    }
    if (failure != 0) {
        ::closedir(dir);
        return fail(failure);
    }
    const int err = errno;
    ::closedir(dir);
    if (err != 0)
        return fail(err);
    return out;
}

} // namespace zondari
