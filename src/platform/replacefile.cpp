// The write-aside-then-rename routine of files.h, its temporary files and
// the removal of those that killed writers left.

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

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

// The temporary files this process is writing now (full paths). One of this
// process's number that is not among them was left by an earlier process
// that had the same number.
std::mutex liveMutex;
std::set<std::string> liveTemporaries;
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

bool isStale(const std::string& path, pid_t writer)
{
    if (writer == ::getpid()) {
        const std::lock_guard lock(liveMutex);
        return liveTemporaries.count(path) == 0;
    }
    // A process of another user answers EPERM: it is running.
    return ::kill(writer, 0) != 0 && errno == ESRCH;
}

// The temporary file being written: the sink the producer fills.
class TemporaryFile : public ByteSink {
public:
    // Creates a new temporary file in `folder`, with `mode`.
    Status create(const std::string& folder, mode_t mode)
    {
        const std::string p = withSlash(folder);
        for (int attempt = 0; attempt < 1000; ++attempt) {
            path_ = p + std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-"
                + std::to_string(++temporaryCount) + std::string(kTemporarySuffix);
            {
                const std::lock_guard lock(liveMutex);
                liveTemporaries.insert(path_);
            }
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd_ >= 0)
                return {};
            const int err = errno;
            forget();
            if (err != EEXIST) // else left by an earlier process of this number: the next name
                return runtimeErrorFromErrno(err);
        }
        return runtimeErrorFromErrno(EEXIST);
    }

    ~TemporaryFile() override
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty()) {
            ::unlink(path_.c_str());
            forget();
        }
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

    // Puts the file on the disk and gives it the name `path`.
    Status commit(const std::string& path)
    {
        if (::fsync(fd_) != 0)
            return lastError();
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            return lastError();
        if (::rename(path_.c_str(), path.c_str()) != 0)
            return lastError();
        forget();
        path_.clear();
        return {};
    }

private:
    void forget()
    {
        const std::lock_guard lock(liveMutex);
        liveTemporaries.erase(path_);
    }

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

bool isTemporaryName(std::string_view name)
{
    return writerOf(name).has_value();
}

void removeStaleTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return; // the write that follows says why, when it matters
    const std::string p = withSlash(folder);
    while (const dirent* e = ::readdir(dir)) {
        const auto writer = writerOf(e->d_name);
        if (writer && isStale(p + e->d_name, *writer))
            ::unlink((p + e->d_name).c_str());
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
