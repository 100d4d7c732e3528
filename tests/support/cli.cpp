#include "support/cli.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zondari::test {
namespace {

// Reads both pipes until they close or `until` passes; false when the time
// ran out. Each pipe that closed is closed here and set to -1.
bool drain(int (&pipes)[2], CliRun& r, std::chrono::steady_clock::time_point until)
{
    pollfd fds[2] = {{pipes[0], POLLIN, 0}, {pipes[1], POLLIN, 0}};
    std::string* into[2] = {&r.out, &r.err};
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return false;
        if (::poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR)
            return false;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buf[65536];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                into[i]->append(buf, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = pipes[i] = -1;
            }
        }
    }
    return true;
}

} // namespace

CliRun runCli(
    const std::string& args, const std::string& programFolder, const std::vector<std::string>& extraEnv, double limit)
{
    // The settings go to zondari-cli through env, not to the shell, which
    // must not load what they preload. exec: the child measured is the
    // command line itself.
    std::string command = "exec env";
    if (!programFolder.empty())
        command += " " + shellQuoted("ZONDARI_PROGRAM_FOLDER=" + programFolder);
    for (const std::string& setting : extraEnv)
        command += " " + shellQuoted(setting);
    command += " " + shellQuoted(programBinary("zondari-cli")) + " " + args;
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};

    CliRun r;
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return r;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0); // a group of its own, killed whole at the limit
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::execve(argv[0], const_cast<char**>(argv), environ);
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    int pipes[2] = {out[0], err[0]};
    const auto until
        = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(limit));
    const bool inTime = pid > 0 && drain(pipes, r, until);
    if (!inTime && pid > 0)
        ::kill(-pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (pid > 0 && ::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) { }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peakKib = usage.ru_maxrss;
    r.status = !inTime ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    for (int fd : pipes)
        if (fd >= 0)
            ::close(fd);
    return r;
}

} // namespace zondari::test
