#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zondari::test {

// A program run as a child process in a process group of its own, its
// standard input fed from here and its standard output and error read here
// (as one stream, or apart). Killed with all it started, and waited for, if
// still running, when the object goes.
class Child {
public:
    // `env` holds NAME=value settings added to this process's environment.
    explicit Child(
        const std::vector<std::string>& argv, const std::vector<std::string>& env = {}, bool errorsApart = false);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return pid_ > 0; }

    void send(const std::string& text);
    void closeInput();

    // Reads what the child prints until a line reading `line` has come;
    // false when the time runs out or the child ends first.
    bool waitForLine(const std::string& line, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Reads until the child closes its output (it ended); false when the
    // time runs out first.
    bool readToEnd(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    const std::string& output() const { return out_; }
    const std::string& errors() const { return err_; } // when apart

    void kill();
    // Waits for the child: its exit status, or minus the signal that ended it.
    int wait();
    long peakKib() const { return peakKib_; } // its peak resident memory, once waited for

private:
    bool readSome(std::chrono::steady_clock::time_point until);

    pid_t pid_ = -1;
    int in_ = -1;
    int pipes_[2] = {-1, -1}; // its output, its errors when apart
    std::string out_, err_;
    std::size_t scanned_ = 0; // lines of out_ already looked at
    bool ended_ = false;
    int status_ = 0;
    long peakKib_ = 0;
};

// The helpers the tests' build makes beside the tests.
std::string testHelper(const std::string& name);

// The environment that makes reads of `path` fail with EIO in a child; with
// `from`, only those that reach that offset.
std::vector<std::string> failingReadsOf(const std::string& path, const std::string& from = "");

// The environment in which a child meets another program writing `path`:
// at the child's first pwrite() to it, just before that write, the other
// program writes the bytes of `bytesFile` there. `how`: "posto" (over the
// file, in place), "tronca" (cut to nothing first) or "rinomina" (a new
// file renamed over it).
std::vector<std::string> otherWriterOf(const std::string& path, const std::string& bytesFile, const std::string& how);

// In a test that runTestInChild started again: the text its parent handed
// it; else null.
const char* testChildData();

// Runs the current test again in a child process of this test program, with
// `env` added to its environment and `data` handed to it; the test fails,
// with what the child printed, when the child's run of it fails.
void runTestInChild(const std::string& data, const std::vector<std::string>& env);

} // namespace zondari::test
