// A program a test runs as a child process, alike on Linux and Windows
// (child_process.cpp, child_process_win.cpp): no shell in between, its output
// (standard output and error together) read back, a time limit, and a kill at
// any moment, as a crash or a power cut would stop it. Tests that need a
// second process run a disabled test of their own program (OneTest).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess(); // kills a child still running

    // Starts `program` with `args`, ended after `seconds` at the latest; it
    // inherits the environment (see SetEnv). False when it cannot start.
    bool Start(const std::string& program, const std::vector<std::string>& args, unsigned seconds);
    // Reads until `n` more bytes came or the output ended; returns them.
    std::string Read(std::size_t n);
    // Ends it at once; true when it was still running.
    bool Kill();
    // Reads the rest of the output and waits for the end.
    void Wait();

    std::string out;      // all the output read so far
    // How it ended, after Wait.
    bool exited = false;  // by itself, with `status`
    int status = -1;
    bool crashed = false; // a fatal signal, or an exception on Windows
    bool killed = false;  // by Kill or the time limit
    std::string how;      // in words: "exit status 3", "crashed: ...", "killed"

private:
    void Finish(); // sets the fields above from the ended process
#ifdef _WIN32
    void* process = nullptr;
    void* output = nullptr;
    double deadlineMs = 0;
#else
    int pid = -1;
    int output = -1;
    int rawStatus = 0;
#endif
};

// This test program's own path.
std::string TestProgram();
// Arguments that make this test program run only the disabled test `name`
// ("Suite.DISABLED_Test"), for work a test needs done in another process.
inline std::vector<std::string> OneTest(const std::string& name) {
    return {"--gtest_filter=" + name, "--gtest_also_run_disabled_tests"};
}
