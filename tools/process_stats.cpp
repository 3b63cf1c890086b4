#include "tools/process_stats.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

double ProcessCpuMillis() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 +
           double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
}

double ProcessResidentMiB() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double ProcessPeakMiB() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return double(ru.ru_maxrss) / 1024.0;
}
