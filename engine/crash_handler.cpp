#include "engine/crash_handler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kMaxFrames = 64;

std::atomic<int> logFd{-1};
bool installed = false;
// A fault from a stack overflow has no stack left to run the handler on.
alignas(16) char altStack[64 * 1024];

const char* SignalName(int sig) {
    switch (sig) {
        case SIGSEGV: return "SIGSEGV";
        case SIGBUS: return "SIGBUS";
        case SIGFPE: return "SIGFPE";
        case SIGILL: return "SIGILL";
        case SIGABRT: return "SIGABRT";
    }
    return "signal";
}

// Only async-signal-safe calls from here on: no stdio, no allocation.
void Put(int fd, const char* s) {
    size_t n = std::strlen(s);
    while (n > 0) {
        ssize_t w = write(fd, s, n);
        if (w <= 0) return;
        s += w;
        n -= size_t(w);
    }
}

void PutNumber(int fd, long v) {
    char buf[24];
    char* p = buf + sizeof buf;
    *--p = 0;
    bool neg = v < 0;
    unsigned long u = neg ? 0UL - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
    do {
        *--p = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (neg) *--p = '-';
    Put(fd, p);
}

void Report(int fd, int sig, void* const* frames, int n) {
    Put(fd, "Crash: ");
    Put(fd, SignalName(sig));
    Put(fd, " (signal ");
    PutNumber(fd, sig);
    Put(fd, "), backtrace:\n");
    backtrace_symbols_fd(frames, n, fd);
}

void OnFatalSignal(int sig, siginfo_t*, void*) {
    const int savedErrno = errno;
    void* frames[kMaxFrames];
    int n = backtrace(frames, kMaxFrames);
    int fd = logFd.load();
    if (fd >= 0) Report(fd, sig, frames, n);
    Report(STDERR_FILENO, sig, frames, n);
    errno = savedErrno;

    // Die of the same signal: the default action, unblocked, raised again.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
    _exit(128 + sig); // not reached: the default action of these signals ends the process
}

} // namespace

void tideInstallCrashHandler() {
    if (installed) return;
    installed = true;
    // backtrace loads its unwinder on first use, which allocates: do it now.
    void* warm[2];
    backtrace(warm, 2);

    stack_t ss{};
    ss.ss_sp = altStack;
    ss.ss_size = sizeof altStack;
    sigaltstack(&ss, nullptr);

    struct sigaction sa {};
    sa.sa_sigaction = OnFatalSignal;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int sig : kSignals) sigaction(sig, &sa, nullptr);
}

void tideCrashLogTo(int fd) {
    int copy = fd >= 0 ? fcntl(fd, F_DUPFD_CLOEXEC, 3) : -1;
    int old = logFd.exchange(copy);
    if (old >= 0) close(old);
}
