#include <windows.h>
#include <psapi.h>

#include "tools/process_stats.h"

namespace {

double Millis(const FILETIME& t) {
    return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; // 100 ns units
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc;
}

constexpr double kMiB = 1024.0 * 1024.0;

} // namespace

double ProcessCpuMillis() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return Millis(kernel) + Millis(user);
}

double ProcessResidentMiB() { return double(Memory().WorkingSetSize) / kMiB; }

double ProcessPeakMiB() { return double(Memory().PeakWorkingSetSize) / kMiB; }
