#include "support/child.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zondari::test {

Child::Child(const std::vector<std::string>& argv, const std::vector<std::string>& env)
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
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(out[1], 2);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    in_ = in[1];
    outPipe_ = out[0];
}

Child::~Child()
{
    if (started() && !ended_) {
        kill();
        wait();
    }
    if (in_ >= 0)
        ::close(in_);
    if (outPipe_ >= 0)
        ::close(outPipe_);
}

void Child::send(const std::string& text)
{
    std::size_t done = 0;
    while (in_ >= 0 && done < text.size()) {
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

bool Child::readSome(int timeoutMs)
{
    if (outPipe_ < 0)
        return false;
    pollfd p{outPipe_, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs);
    if (ready <= 0)
        return ready == 0 || errno == EINTR;
    char buf[4096];
    const ssize_t n = ::read(outPipe_, buf, sizeof buf);
    if (n <= 0) {
        ::close(outPipe_);
        outPipe_ = -1;
        return false;
    }
    out_.append(buf, static_cast<std::size_t>(n));
    return true;
}

bool Child::waitForLine(const std::string& line, std::chrono::milliseconds timeout)
{
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        for (std::size_t nl; (nl = out_.find('\n', scanned_)) != std::string::npos;) {
            const bool found = out_.compare(scanned_, nl - scanned_, line) == 0;
            scanned_ = nl + 1;
            if (found)
                return true;
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readSome(static_cast<int>(left.count())))
            return false;
    }
}

void Child::readToEnd(std::chrono::milliseconds timeout)
{
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (outPipe_ >= 0) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readSome(static_cast<int>(left.count())))
            return;
    }
}

void Child::kill()
{
    if (started() && !ended_)
        ::kill(pid_, SIGKILL);
}

int Child::wait()
{
    if (!started())
        return -1;
    if (!ended_) {
        int st = 0;
        while (::waitpid(pid_, &st, 0) < 0 && errno == EINTR) { }
        ended_ = true;
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? -WTERMSIG(st) : -1;
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

constexpr const char* kChildDataVariable = "ZONDARI_TEST_DATA";

} // namespace

std::vector<std::string> failingReadsOf(const std::string& path)
{
    return preloadingFaults({"ZONDARI_EIO_PATH=" + path});
}

std::vector<std::string> otherWriterOf(const std::string& path, const std::string& bytesFile, const std::string& how)
{
    return preloadingFaults(
        {"ZONDARI_OTHER_PATH=" + path, "ZONDARI_OTHER_BYTES=" + bytesFile, "ZONDARI_OTHER_HOW=" + how});
}

const char* testChildData()
{
    return std::getenv(kChildDataVariable);
}

void runTestInChild(const std::string& data, const std::vector<std::string>& env)
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::vector<std::string> childEnv = env;
    childEnv.push_back(std::string(kChildDataVariable) + "=" + data);
    Child child({std::filesystem::read_symlink("/proc/self/exe").string(),
                    std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()},
        childEnv);
    child.readToEnd(std::chrono::seconds(120));
    EXPECT_EQ(child.wait(), 0) << child.output();
    EXPECT_NE(child.output().find("[  PASSED  ] 1 test"), std::string::npos) << child.output();
}

} // namespace zondari::test
