#include "platform/files.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/common/encoding.h"
#include "core/common/text.h"
#include "platform/openfile.h"

namespace zondari::files {
namespace {

bool matchFrom(const std::u32string& n, std::size_t i, const std::u32string& p, std::size_t j)
{
    while (j < p.size()) {
        if (p[j] == U'*') {
            while (j < p.size() && p[j] == U'*')
                ++j;
            if (j == p.size())
                return true;
            for (std::size_t k = i; k <= n.size(); ++k)
                if (matchFrom(n, k, p, j))
                    return true;
            return false;
        }
        if (i >= n.size())
            return false;
        if (p[j] != U'?' && p[j] != n[i])
            return false;
        ++i, ++j;
    }
    return i == n.size();
}

// Reads the file in chunks, handing each to `take` until it returns false.
template <class Take> Status readChunks(const std::string& path, std::size_t chunk, Take take)
{
    // Never a FIFO or a device: a playlist or catalogue name that leads to
    // one must not hold the program.
    OpenFile f(path, O_RDONLY, OpenFile::RegularOnly{});
    if (!f.ok())
        return lastError();
    std::string buf(chunk, '\0');
    for (;;) {
        const ssize_t n = ::read(f.fd(), buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (n == 0 || !take(std::string_view(buf.data(), static_cast<std::size_t>(n))))
            return {};
    }
}

} // namespace

Result<std::string> readBytes(const std::string& path, std::size_t most)
{
    std::string bytes;
    const Status st = readChunks(path, 1 << 16, [&](std::string_view c) {
        bytes.append(c.substr(0, most - bytes.size()));
        return bytes.size() < most;
    });
    if (!st)
        return st.error();
    return bytes;
}

namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path)
        : file_(path, O_RDONLY, OpenFile::RegularOnly{})
    {
    }
    bool ok() const { return file_.ok(); }
    Result<std::size_t> read(char* to, std::size_t most) override
    {
        for (;;) {
            const ssize_t n = ::read(file_.fd(), to, most);
            if (n >= 0)
                return static_cast<std::size_t>(n);
            if (errno != EINTR)
                return lastError();
        }
    }
    Status rewind() override
    {
        if (::lseek(file_.fd(), 0, SEEK_SET) < 0)
            return lastError();
        return {};
    }

private:
    OpenFile file_;
};

} // namespace

Result<std::unique_ptr<ByteSource>> openSource(const std::string& path)
{
    auto source = std::make_unique<FileSource>(path);
    if (!source->ok())
        return lastError();
    return std::unique_ptr<ByteSource>(std::move(source));
}

Result<std::vector<std::string>> readTextLines(const std::string& path, std::size_t most)
{
    auto bytes = readBytes(path, most == std::string::npos ? most : most + 1);
    if (!bytes)
        return bytes.error();
    if (bytes->size() > most) {
        // The line the limit cuts is not whole: not taken.
        bytes->resize(most);
        bytes->resize(bytes->rfind('\n') + 1); // none: npos + 1, nothing
    }
    return text::splitLines(encoding::decodeText(*bytes));
}

bool matchesPattern(const std::string& name, const std::string& pattern)
{
    return matchFrom(encoding::toUtf32(text::toUpper(name)), 0, encoding::toUtf32(text::toUpper(pattern)), 0);
}

namespace {

enum class Kind { File, Folder };

// Names of the normal files or the folders of `folder` (no names starting
// with "."; links count as what they point to), sorted without regard to
// letter case.
Result<std::vector<std::string>> listFolder(
    const std::string& folder, Kind kind, const std::string& pattern, BrokenLinks broken = BrokenLinks::PassOver)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return lastError();
    const bool all = pattern == "*" || pattern == "*.*";
    const int dfd = ::dirfd(dir);
    const unsigned char wanted = kind == Kind::File ? DT_REG : DT_DIR;
    std::vector<std::string> names;
    // Cleared before each entry: only readdir's own failure may be left in
    // errno at the end, not that of the stat of a broken link.
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(dir);
        if (!e)
            break;
        if (e->d_name[0] == '.')
            continue;
        bool match = e->d_type == wanted;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st { };
            if (::fstatat(dfd, e->d_name, &st, 0) == 0)
                match = kind == Kind::File ? S_ISREG(st.st_mode) : S_ISDIR(st.st_mode);
            else
                match = broken == BrokenLinks::List && kind == Kind::File
                    && ::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
        }
        if (!match)
            continue;
        std::string name = e->d_name;
        if (!all && !matchesPattern(name, pattern))
            continue;
        names.push_back(std::move(name));
    }
    const int err = errno;
    ::closedir(dir);
    if (err != 0)
        return runtimeErrorFromErrno(err);
    text::sortNoCase(names);
    return names;
}

} // namespace

Result<std::vector<std::string>> dirSearch(const std::string& folder, const std::string& pattern, BrokenLinks broken)
{
    return listFolder(folder, Kind::File, pattern, broken);
}

Result<std::vector<std::string>> subfolders(const std::string& folder)
{
    return listFolder(folder, Kind::Folder, "*");
}

bool fileExists(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<FileStat> statFile(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileStat{static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtime),
        static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string currentFolder()
{
    std::error_code ec;
    auto p = std::filesystem::current_path(ec);
    return ec ? std::string("/") : p.string();
}

std::string absolutePath(const std::string& path)
{
    std::filesystem::path p(path);
    if (p.is_relative())
        p = std::filesystem::path(currentFolder()) / p;
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

} // namespace zondari::files
