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

} // namespace

// Both exported (the test links with --export-all-symbols) so the backtrace
// can name them; cold, so they are not split into unnamed hot and cold parts.
extern "C" __attribute__((noinline, cold)) int thalomirRecurse(int n) {
    volatile char frame[256];
    frame[0] = char(n);
    depth = n;
    return depth >= 0 ? thalomirRecurse(n + 1) + frame[0] : 0;
}

extern "C" __attribute__((noinline, cold)) void thalomirForcedFault(unsigned code) {
    switch (code) {
        case kAccessViolation: {
            int* volatile p = reinterpret_cast<int*>(16); // in the never-mapped first page
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
        case kStackOverflow: thalomirRecurse(0); break;
        case kAbort: std::abort();
    }
}

namespace {

TEST(CrashHandler, WritesExceptionAndBacktraceToTheLogAndEndsAsACrash) {
    struct Case {
        unsigned code;
        const char* report;
        const char* function; // named in the backtrace
    };
    const Case cases[] = {
        {kAccessViolation, "Crash: EXCEPTION_ACCESS_VIOLATION (0xc0000005) writing 0x10, backtrace:\n",
         "thalomirForcedFault"},
        {kDivideByZero, "Crash: EXCEPTION_INT_DIVIDE_BY_ZERO (0xc0000094), backtrace:\n",
         "thalomirForcedFault"},
        {kIllegalInstruction, "Crash: EXCEPTION_ILLEGAL_INSTRUCTION (0xc000001d), backtrace:\n",
         "thalomirForcedFault"},
        // Deeper than the backtrace goes: it shows the recursion.
        {kStackOverflow, "Crash: EXCEPTION_STACK_OVERFLOW (0xc00000fd), backtrace:\n", "thalomirRecurse"},
        {kAbort, "Crash: SIGABRT (abort), backtrace:\n", "thalomirForcedFault"},
    };
    // The death test runs in a new process, which must find the same folder.
    const std::string dir =
        (std::filesystem::temp_directory_path() / "thalomir-crash-handler-test").generic_string();
    std::filesystem::create_directories(dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        if (c.code == kStackOverflow && UnderWine()) {
            // Wine keeps one guard page and no stack guarantee: the overflow
            // has no room left to be reported in. Windows runs the handler.
            std::printf("skipped under Wine: %s", c.report);
            continue;
        }
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
        EXPECT_NE(text.find(std::string("(") + c.function + "+0x"), std::string::npos) << text;
    }
    std::filesystem::remove_all(dir);
}

} // namespace
