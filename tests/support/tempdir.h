#pragma once

#include <string>

namespace zondari::test {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + relative
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

    // Writes `bytes` to `relative`, making the folders on the way; returns
    // the full path.
    std::string write(const std::string& relative, const std::string& bytes = {}) const;
    std::string mkdir(const std::string& relative) const;

private:
    std::string path_;
};

std::string readFile(const std::string& path);

// Makes a folder (or file) unchangeable for as long as the object lives,
// even for root (chattr +i), or by its mode when the tests do not run as
// root. `ok()` is false when neither works here.
class ReadOnly {
public:
    explicit ReadOnly(std::string path);
    ~ReadOnly();
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;
    bool ok() const { return how_ != 0; }

private:
    std::string path_;
    int how_ = 0; // 1 immutable, 2 mode
};

// A file system image mounted on the folder `at` by the shell line
// `mountCommand` ("mount -o loop img dir", "ntfs-3g img dir") until
// `unmount()` or the object goes, whatever the test did in between. `ok()`
// is false when the mount failed (not root, no loop devices or FUSE).
class MountedImage {
public:
    MountedImage(std::string at, const std::string& mountCommand);
    ~MountedImage() { unmount(); }
    MountedImage(const MountedImage&) = delete;
    MountedImage& operator=(const MountedImage&) = delete;
    bool ok() const { return ok_; }
    void unmount();

private:
    std::string at_;
    bool ok_ = false;
};

// A small file system of its own (tmpfs of `size`, "1m") mounted on the
// folder `at` for as long as the object lives. `ok()` is false where
// mounting is not allowed (not root, or in a container that forbids it).
class MountedTmpfs : public MountedImage {
public:
    explicit MountedTmpfs(const std::string& at, const std::string& size = "1m")
        : MountedImage(at, "mount -t tmpfs -o size=" + size + " tmpfs '" + at + "'")
    {
    }
};

// Runs a shell command; its exit status.
int run(const std::string& command);

// Runs a command and gives what it printed on standard output.
std::string output(const std::string& command, int* status = nullptr);

// The program's executables in the build tree.
std::string programBinary(const std::string& name);

} // namespace zondari::test
