#include "support/tempdir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace zondari::test {

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string templ = (fs::temp_directory_path() / "zondari-test-XXXXXX").string();
    if (!::mkdtemp(templ.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable first.
    for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& relative, const std::string& bytes) const
{
    const fs::path p = fs::path(path_) / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
}

std::string TempDir::mkdir(const std::string& relative) const
{
    const fs::path p = fs::path(path_) / relative;
    fs::create_directories(p);
    return p.string();
}

MountedImage::MountedImage(std::string at, const std::string& mountCommand)
    : at_(std::move(at))
{
    ok_ = ::geteuid() == 0 && run(mountCommand + " >/dev/null 2>&1") == 0;
}

void MountedImage::unmount()
{
    if (ok_)
        run("umount '" + at_ + "' 2>/dev/null || umount -l '" + at_ + "'");
    ok_ = false;
}

ReadOnly::ReadOnly(std::string path)
    : path_(std::move(path))
{
    if (run("chattr +i '" + path_ + "' 2>/dev/null") == 0)
        how_ = 1;
    else if (::geteuid() != 0 && run("chmod a-w '" + path_ + "'") == 0)
        how_ = 2;
}

ReadOnly::~ReadOnly()
{
    if (how_ == 1)
        run("chattr -i '" + path_ + "'");
    else if (how_ == 2)
        run("chmod u+w '" + path_ + "'");
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int run(const std::string& command)
{
    const int st = std::system(command.c_str());
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

std::string output(const std::string& command, int* status)
{
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int st = ::pclose(p);
    if (status)
        *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

std::string programBinary(const std::string& name)
{
    return std::string(ZONDARI_PROGRAM_DIR) + "/" + name;
}

} // namespace zondari::test
