// Float to int truncation toward zero that saturates at the int range instead
// of overflowing (NaN gives 0): values read from data files may be anything.
#pragma once

#include <climits>

inline int tideTruncToInt(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0f) return INT_MAX;
    if (v <= -2147483648.0f) return INT_MIN;
    return int(v);
}
