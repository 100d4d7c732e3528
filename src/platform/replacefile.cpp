// The write-aside-then-rename routine of files.h, its temporary files and
// the removal of those that killed writers left.

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "core/common/encoding.h"
#include "core/common/paths.h"
#include "core/common/text.h"
#include "platform/files.h"
#include "platform/openfile.h"

namespace zondari::files {
namespace {

// ".zondari-<pid>-<n>.tmp": hidden from the directory search, short whatever
// the length of the name it stands for (a catalogue's name may already be
// near the longest a name may be), and telling which process writes it.
constexpr std::string_view kTemporaryPrefix = ".zondari-";
constexpr std::string_view kTemporarySuffix = ".tmp";
// What the catalogue writer of earlier versions called its own.
constexpr std::string_view kOldCatalogueInfix = "catalogo-";

std::atomic<unsigned long> temporaryCount{0};

bool allDigits(std::string_view s)
{
    return !s.empty() && s.size() <= 9 && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process that writes a temporary file of that name, if it is one.
std::optional<pid_t> writerOf(std::string_view name)
{
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return std::nullopt;
    name.remove_prefix(kTemporaryPrefix.size());
    name.remove_suffix(kTemporarySuffix.size());
    if (name.starts_with(kOldCatalogueInfix)) {
        name.remove_prefix(kOldCatalogueInfix.size());
    } else {
        const std::size_t dash = name.find('-');
        if (dash == std::string_view::npos || !allDigits(name.substr(dash + 1)))
            return std::nullopt;
        name = name.substr(0, dash);
    }
    if (!allDigits(name))
        return std::nullopt;
    return static_cast<pid_t>(std::stol(std::string(name)));
}

// A writer holds a lock on its temporary file for as long as it writes it,
// so a temporary whose lock can be taken was left by a writer that died. A
// process number alone cannot tell: a writer in another PID namespace (a
// container, a sandboxed copy of the program) has a number that means
// nothing here. The file stays locked here while it is removed, and only
// if the name still leads to it.
void removeIfStale(const std::string& path, std::string_view name)
{
    const OpenFile f(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    struct stat held {
    }, named{};
    if (!f.ok() || ::flock(f.fd(), LOCK_EX | LOCK_NB) != 0 || ::fstat(f.fd(), &held) != 0)
        return;
    // Earlier versions wrote ".zondari-catalogo-<pid>.tmp" without a lock:
    // theirs go only once that process has gone.
    if (name.substr(kTemporaryPrefix.size()).starts_with(kOldCatalogueInfix)) {
        const auto writer = writerOf(name);
        if (!writer || ::kill(*writer, 0) == 0 || errno != ESRCH)
            return;
    }
    if (::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
        ::unlink(path.c_str());
}

// The temporary file being written: the sink the producer fills.
class TemporaryFile : public ByteSink {
public:
    // Creates a new temporary file in `folder`, with `mode`, locked before
    // it has a name, so that no other writer's clean-up ever sees it
    // unlocked; where the file system makes no unnamed files, it is locked
    // right after it is made. Where it takes no locks, the file is written
    // unlocked, and no clean-up removes it (nor any other).
    Status create(const std::string& folder, mode_t mode)
    {
        const std::string p = withSlash(folder);
        int unnamed = ::open(p.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (unnamed >= 0)
            (void)::flock(unnamed, LOCK_EX | LOCK_NB);
        for (int attempt = 0; attempt < 1000; ++attempt) {
            path_ = p + std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-"
                + std::to_string(++temporaryCount) + std::string(kTemporarySuffix);
            if (unnamed >= 0) {
                const std::string self = "/proc/self/fd/" + std::to_string(unnamed);
                if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                    fd_ = unnamed;
                    return {};
                }
                if (errno == EEXIST)
                    continue; // left by an earlier process of this number: the next name
                // No /proc to name it through: a named file, as below.
                ::close(unnamed);
                unnamed = -1;
            }
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd_ >= 0) {
                (void)::flock(fd_, LOCK_EX | LOCK_NB);
                return {};
            }
            if (errno != EEXIST) { // else left by an earlier process of this number: the next name
                const RuntimeError failure = lastError();
                path_.clear();
                return failure;
            }
        }
        if (unnamed >= 0)
            ::close(unnamed);
        path_.clear();
        return runtimeErrorFromErrno(EEXIST);
    }

    ~TemporaryFile() override
    {
        // Unlinked while still locked: no clean-up takes it for another's.
        if (!path_.empty())
            ::unlink(path_.c_str());
        if (fd_ >= 0)
            ::close(fd_);
    }

    int fd() const { return fd_; }

    Status write(std::string_view bytes) override
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(size_ + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return runtimeErrorFromErrno(n == 0 ? ENOSPC : errno);
            done += static_cast<std::size_t>(n);
        }
        size_ += done;
        return {};
    }

    Status truncate(std::uint64_t size) override
    {
        if (size >= size_)
            return {};
        if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
            return lastError();
        size_ = size;
        return {};
    }

    std::uint64_t size() const override { return size_; }

    // Puts the file on the disk and gives it the name `path`. The lock is
    // held until the file has its new name: a clean-up in between would
    // take the unlocked temporary for a dead writer's.
    Status commit(const std::string& path)
    {
        if (::fsync(fd_) != 0)
            return lastError();
        if (::rename(path_.c_str(), path.c_str()) != 0)
            return lastError();
        path_.clear();
        const int fd = std::exchange(fd_, -1);
        // What a close could still report was reported by the fsync.
        ::close(fd);
        return {};
    }

private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The file a write to `path` replaces: the one a link names, when it names
// one.
std::string replacedPath(const std::string& path)
{
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

} // namespace

void removeStaleTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return; // the write that follows says why, when it matters
    const std::string p = withSlash(folder);
    while (const dirent* e = ::readdir(dir)) {
        if (writerOf(e->d_name))
            removeIfStale(p + e->d_name, e->d_name);
    }
    ::closedir(dir);
}

Status replaceFile(const std::string& path, const ByteProducer& produce, mode_t newFileMode)
{
    const std::string target = replacedPath(path);
    const std::string folder = folderOf(target);
    removeStaleTemporaries(folder);

    struct stat old { };
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    TemporaryFile temp;
    if (auto st = temp.create(folder, replacing ? old.st_mode & 07777 : newFileMode); !st)
        return st;
    if (replacing) {
        // Exactly the old file's permissions, whatever the umask; and its
        // owner, when root writes a user's file (refused otherwise: the
        // file is then the writer's own).
        if (::fchmod(temp.fd(), old.st_mode & 07777) != 0)
            return lastError();
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(temp.fd(), old.st_uid, old.st_gid);
    }
    if (auto st = produce(temp); !st)
        return st;
    if (auto st = temp.commit(target); !st)
        return st;
    // The rename itself reaches the disk with the folder's entry.
    const OpenFile dir(folder, O_RDONLY | O_DIRECTORY);
    if (dir.ok())
        ::fsync(dir.fd());
    return {};
}

Status replaceFile(const std::string& path, std::string_view bytes, mode_t newFileMode)
{
    return replaceFile(
        path, [bytes](ByteSink& sink) { return sink.write(bytes); }, newFileMode);
}

Status replaceTextFile(const std::string& path, const std::vector<std::string>& lines)
{
    return replaceFile(path, encoding::encodeText(text::joinLines(lines)));
}

} // namespace zondari::files
