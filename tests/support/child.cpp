#include "support/child.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zondari::test {

Child::Child(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool errorsApart)
{
    // Everything the child needs is made before the fork: after it, in a
    // process that may have threads, only exec is safe. env(1) adds the
    // settings and runs the program in the same process.
    std::vector<std::string> words = {"/usr/bin/env"};
    words.insert(words.end(), env.begin(), env.end());
    words.insert(words.end(), argv.begin(), argv.end());
    std::vector<char*> args;
    for (std::string& s : words)
        args.push_back(s.data());
    args.push_back(nullptr);
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setpgid(0, 0);
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(errorsApart ? err[1] : out[1], 2);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::setpgid(pid_, pid_); // as the child does: a kill may come before it has
    for (const int fd : {in[0], out[1], err[1]})
        ::close(fd);
    in_ = in[1];
    pipes_[0] = out[0];
    pipes_[1] = err[0];
}

Child::~Child()
{
    if (started() && !ended_) {
        kill();
        wait();
    }
    for (const int fd : {in_, pipes_[0], pipes_[1]})
        if (fd >= 0)
            ::close(fd);
}

void Child::send(const std::string& text)
{
    for (std::size_t done = 0; in_ >= 0 && done < text.size();) {
        const ssize_t n = ::write(in_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // it ended: what it printed tells why
        done += static_cast<std::size_t>(n);
    }
}

void Child::closeInput()
{
    if (in_ >= 0)
        ::close(in_);
    in_ = -1;
}

bool Child::readSome(std::chrono::steady_clock::time_point until)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    pollfd fds[2] = {{pipes_[0], POLLIN, 0}, {pipes_[1], POLLIN, 0}};
    if ((pipes_[0] < 0 && pipes_[1] < 0) || left.count() <= 0)
        return false;
    const int ready = ::poll(fds, 2, static_cast<int>(left.count()));
    if (ready <= 0)
        return ready == 0 || errno == EINTR;
    for (int i = 0; i < 2; ++i) {
        char buf[65536];
        const ssize_t n = fds[i].revents ? ::read(pipes_[i], buf, sizeof buf) : -1;
        if (n > 0) {
            (i ? err_ : out_).append(buf, static_cast<std::size_t>(n));
        } else if (fds[i].revents && (n == 0 || errno != EINTR)) {
            ::close(pipes_[i]);
            pipes_[i] = -1;
        }
    }
    return true;
}

bool Child::waitForLine(const std::string& line, std::chrono::milliseconds timeout)
{
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
        for (std::size_t nl; (nl = out_.find('\n', scanned_)) != std::string::npos;) {
            const bool found = out_.compare(scanned_, nl - scanned_, line) == 0;
            scanned_ = nl + 1;
            if (found)
                return true;
        }
    } while (readSome(until));
    return false;
}

bool Child::readToEnd(std::chrono::milliseconds timeout)
{
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (readSome(until)) { }
    return pipes_[0] < 0 && pipes_[1] < 0;
}

void Child::kill()
{
    if (started() && !ended_)
        ::kill(-pid_, SIGKILL);
}

int Child::wait()
{
    if (!started())
        return -1;
    if (!ended_) {
        int st = 0;
        rusage usage{};
        while (::wait4(pid_, &st, 0, &usage) < 0 && errno == EINTR) { }
        ended_ = true;
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? -WTERMSIG(st) : -1;
        peakKib_ = usage.ru_maxrss;
    }
    return status_;
}

std::string testHelper(const std::string& name)
{
    return std::string(ZONDARI_TEST_HELPERS_DIR) + "/" + name;
}

namespace {

// The environment that preloads the library of faults with `settings`.
std::vector<std::string> preloadingFaults(std::vector<std::string> settings)
{
    // A build with AddressSanitizer wants its runtime first in the list.
    const char* asan = std::getenv("ASAN_OPTIONS");
    settings.push_back("LD_PRELOAD=" + testHelper("zondari-faults.so"));
    settings.push_back(
        "ASAN_OPTIONS=" + std::string(asan && *asan ? std::string(asan) + ":" : "") + "verify_asan_link_order=0");
    return settings;
}

} // namespace

std::vector<std::string> failingReadsOf(const std::string& path, const std::string& from)
{
    return preloadingFaults({"ZONDARI_EIO_PATH=" + path, "ZONDARI_EIO_FROM=" + from});
}

std::vector<std::string> otherWriterOf(const std::string& path, const std::string& bytesFile, const std::string& how)
{
    return preloadingFaults(
        {"ZONDARI_OTHER_PATH=" + path, "ZONDARI_OTHER_BYTES=" + bytesFile, "ZONDARI_OTHER_HOW=" + how});
}

const char* testChildData()
{
    return std::getenv("ZONDARI_TEST_DATA");
}

void runTestInChild(const std::string& data, const std::vector<std::string>& env)
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::vector<std::string> childEnv = env;
    childEnv.push_back("ZONDARI_TEST_DATA=" + data);
    Child child({std::filesystem::read_symlink("/proc/self/exe").string(),
                    std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()},
        childEnv);
    child.readToEnd(std::chrono::seconds(120));
    EXPECT_EQ(child.wait(), 0) << child.output();
    EXPECT_NE(child.output().find("[  PASSED  ] 1 test"), std::string::npos) << child.output();
}

} // namespace zondari::test
