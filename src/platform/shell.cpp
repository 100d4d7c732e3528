#include "platform/shell.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/common/paths.h"
#include "platform/files.h"

namespace zondari {
namespace {

// The runtime's report of a call it cannot make sense of.
const RuntimeError kBadCall = runtimeError(ErrorCode::InvalidCall);

bool isExecutableFile(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string findProgram(const std::string& name, const std::vector<std::string>& programFolders)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return isExecutableFile(name) ? files::absolutePath(name) : std::string();
    std::vector<std::string> folders = programFolders;
    if (const char* path = std::getenv("PATH")) {
        std::string p = path;
        std::size_t start = 0;
        for (;;) {
            const auto colon = p.find(':', start);
            const std::string dir = p.substr(start, colon - start);
            if (!dir.empty() && dir != ".") // an empty entry would mean the current folder
                folders.push_back(dir);
            if (colon == std::string::npos)
                break;
            start = colon + 1;
        }
    }
    for (const auto& dir : folders) {
        const std::string candidate = withSlash(dir) + name;
        if (isExecutableFile(candidate))
            return files::absolutePath(candidate);
    }
    return {};
}

Status spawnDetached(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return kBadCall;
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // The exec's failure comes back through a pipe that a successful exec
    // closes; a double fork leaves no child for us to wait for.
    int pipefd[2];
    if (::pipe2(pipefd, O_CLOEXEC) != 0)
        return runtimeErrorFromErrno(errno);
    const pid_t child = ::fork();
    if (child < 0) {
        const int err = errno;
        ::close(pipefd[0]);
        ::close(pipefd[1]);
        return runtimeErrorFromErrno(err);
    }
    if (child == 0) {
        ::close(pipefd[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::signal(SIGPIPE, SIG_DFL);
            const int devnull = ::open("/dev/null", O_RDWR);
            if (devnull >= 0) {
                ::dup2(devnull, STDIN_FILENO);
                ::close(devnull);
            }
            ::execv(args[0], args.data());
            const int err = errno;
            [[maybe_unused]] auto n = ::write(pipefd[1], &err, sizeof err);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(pipefd[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    int err = 0;
    ssize_t n;
    while ((n = ::read(pipefd[0], &err, sizeof err)) < 0 && errno == EINTR) { }
    ::close(pipefd[0]);
    if (n == static_cast<ssize_t>(sizeof err))
        return runtimeErrorFromErrno(err);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return kBadCall;
    return {};
}

PosixShell::PosixShell(std::vector<std::string> programFolders)
    : programFolders_(std::move(programFolders))
{
}

Status PosixShell::start(const std::string& program, const std::vector<std::string>& args)
{
    if (program.empty())
        return kBadCall;
    const std::string found = findProgram(program, programFolders_);
    if (found.empty())
        return runtimeErrorFromErrno(ENOENT);
    std::vector<std::string> argv{found};
    argv.insert(argv.end(), args.begin(), args.end());
    return spawnDetached(argv);
}

Status PosixShell::open(const std::string& target)
{
    const std::string opener = findProgram("xdg-open");
    if (opener.empty())
        return runtimeErrorFromErrno(ENOENT);
    return spawnDetached({opener, target});
}

std::string startLauncher(const std::string& programFolder)
{
    return withSlash(programFolder) + "start";
}

} // namespace zondari
