// The process's own use of the machine, for the tools' timing reports and the
// soak tests; one form per platform (process_stats.cpp, process_stats_win.cpp).
#pragma once

// CPU time of every thread of the process so far, in milliseconds.
double ProcessCpuMillis();
// The process's resident memory now, and its peak so far, in MiB.
double ProcessResidentMiB();
double ProcessPeakMiB();
