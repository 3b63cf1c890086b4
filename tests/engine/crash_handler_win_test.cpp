// The crash handler on Windows, in a child process (a death test runs the
// test program again): each exception, forced for real, must leave its name
// and a backtrace naming the faulting function in the log, and the child must
// end with the exception's code, as a crash does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/crash_handler.h"
#include "engine/paths.h"
#include "tests/support/test_support.h"

namespace {

// Exception codes (<windows.h> clashes with the engine's DWORD), and abort()'s
// exit status.
constexpr unsigned kAccessViolation = 0xC0000005;
constexpr unsigned kDivideByZero = 0xC0000094;
constexpr unsigned kIllegalInstruction = 0xC000001D;
constexpr unsigned kStackOverflow = 0xC00000FD;
constexpr unsigned kAbort = 3;

volatile int depth = 0;

__attribute__((noinline)) int Deeper(int n) {
    volatile char frame[4096];
    frame[0] = char(n);
    depth = n;
    return depth >= 0 ? Deeper(n + 1) + frame[0] : 0;
}

} // namespace

// Exported (the test links with --export-all-symbols) so the backtrace can
// name it; cold, so it is not split into an unnamed hot and cold part.
extern "C" __attribute__((noinline, cold)) void thalomirForcedFault(unsigned code) {
    switch (code) {
        case kAccessViolation: {
            int* volatile p = nullptr;
            *p = 1;
            break;
        }
        case kDivideByZero: {
            volatile int zero = 0;
            volatile int q = int(code) / zero;
            (void)q;
            break;
        }
        case kIllegalInstruction: __builtin_trap();
        case kStackOverflow: Deeper(0); break;
        case kAbort: std::abort();
    }
}

namespace {

TEST(CrashHandler, WritesExceptionAndBacktraceToTheLogAndEndsAsACrash) {
    struct Case {
        unsigned code;
        const char* report;
    };
    const Case cases[] = {
        {kAccessViolation, "Crash: EXCEPTION_ACCESS_VIOLATION (0xc0000005) writing 0x0, backtrace:\n"},
        {kDivideByZero, "Crash: EXCEPTION_INT_DIVIDE_BY_ZERO (0xc0000094), backtrace:\n"},
        {kIllegalInstruction, "Crash: EXCEPTION_ILLEGAL_INSTRUCTION (0xc000001d), backtrace:\n"},
        {kStackOverflow, "Crash: EXCEPTION_STACK_OVERFLOW (0xc00000fd), backtrace:\n"},
        {kAbort, "Crash: SIGABRT (abort), backtrace:\n"},
    };
    const std::string dir = MakeTempDir();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        const std::string log = dir + "/" + std::to_string(c.code) + ".txt";
        auto crash = [&] {
            FILE* f = std::fopen(log.c_str(), "wb");
            tideCrashLogTo(_fileno(f));
            std::fclose(f); // the handler keeps its own copy
            tideInstallCrashHandler();
            thalomirForcedFault(c.code);
        };
        EXPECT_EXIT(crash(), ::testing::ExitedWithCode(int(c.code)), "Crash: ");
        std::string text;
        ASSERT_TRUE(tideReadFile(log, text));
        EXPECT_NE(text.find(c.report), std::string::npos) << text;
        // The faulting function by name, in this program, at an offset.
        EXPECT_NE(text.find(".exe+0x"), std::string::npos) << text;
        EXPECT_NE(text.find("(thalomirForcedFault+0x"), std::string::npos) << text;
    }
    std::filesystem::remove_all(dir);
}

} // namespace
