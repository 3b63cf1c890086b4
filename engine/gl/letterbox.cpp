#include "engine/gl/letterbox.h"

#include <algorithm>
#include <cmath>

tideLetterbox tideLetterbox::Fit(int windowW, int windowH, int logicalW, int logicalH) {
    tideLetterbox box;
    if (windowW <= 0 || windowH <= 0 || logicalW <= 0 || logicalH <= 0) return box;
    double scale = std::min(double(windowW) / logicalW, double(windowH) / logicalH);
    box.w = std::clamp(int(std::lround(logicalW * scale)), 1, windowW);
    box.h = std::clamp(int(std::lround(logicalH * scale)), 1, windowH);
    box.x = (windowW - box.w) / 2;
    box.y = (windowH - box.h) / 2;
    return box;
}

void tideLetterbox::ToLogical(float wx, float wy, int logicalW, int logicalH, float* lx,
                              float* ly) const {
    if (w <= 0 || h <= 0) {
        *lx = *ly = 0;
        return;
    }
    float fx = (wx - x) * logicalW / w;
    float fy = (wy - y) * logicalH / h;
    *lx = std::clamp(fx, 0.0f, float(std::max(logicalW - 1, 0)));
    *ly = std::clamp(fy, 0.0f, float(std::max(logicalH - 1, 0)));
}
