// The crash handler in a child process: each fatal signal, forced for real
// where it can be, must leave the signal's name and a backtrace naming the
// faulting function in the log, and the child must still die of that signal.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/crash_handler.h"
#include "engine/paths.h"
#include "tests/support/test_support.h"

// Exported (the test links with -rdynamic) so the backtrace can name it;
// cold, so it is not split into an unnamed hot and cold part; the division by
// zero is the point, so the sanitizer must not stop it first.
extern "C" __attribute__((noinline, cold, no_sanitize("undefined"))) void thalomirForcedFault(int sig) {
    const long page = sysconf(_SC_PAGESIZE);
    switch (sig) {
        case SIGSEGV: {
            void* p = mmap(nullptr, size_t(page), PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            *static_cast<volatile int*>(p) = 1;
            break;
        }
        case SIGBUS: {
            // A mapped file cut short under the mapping.
            char name[] = "/tmp/thalomir-busXXXXXX";
            int fd = mkstemp(name);
            unlink(name);
            if (ftruncate(fd, page) != 0) break;
            void* p = mmap(nullptr, size_t(page), PROT_READ, MAP_SHARED, fd, 0);
            if (ftruncate(fd, 0) != 0) break;
            (void)*static_cast<volatile char*>(p);
            break;
        }
        case SIGFPE: {
            volatile int zero = 0;
            volatile int q = sig / zero;
            (void)q;
            break;
        }
        case SIGILL: __builtin_trap();
        case SIGABRT: abort();
    }
}

namespace {

struct Case {
    int sig;
    const char* name;
};

TEST(CrashHandler, WritesSignalAndBacktraceToTheLogAndDiesOfTheSameSignal) {
    const Case cases[] = {{SIGSEGV, "SIGSEGV"}, {SIGBUS, "SIGBUS"}, {SIGFPE, "SIGFPE"},
                          {SIGILL, "SIGILL"},   {SIGABRT, "SIGABRT"}};
    const std::string dir = MakeTempDir();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string log = dir + "/" + c.name + ".txt";
        auto crash = [&] {
            int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            tideCrashLogTo(fd);
            close(fd); // the handler keeps its own copy
            tideInstallCrashHandler();
            thalomirForcedFault(c.sig);
        };
        EXPECT_EXIT(crash(), ::testing::KilledBySignal(c.sig), std::string("Crash: ") + c.name);
        std::string text;
        ASSERT_TRUE(tideReadFile(log, text));
        EXPECT_NE(text.find(std::string("Crash: ") + c.name + " (signal " + std::to_string(c.sig) +
                            "), backtrace:\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("thalomirForcedFault"), std::string::npos) << text;
    }
    std::filesystem::remove_all(dir);
}

} // namespace
