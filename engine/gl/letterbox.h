// Fitting the fixed logical frame into a window of any size: the frame is
// scaled as large as fits with its aspect kept and centred, bars around it.
#pragma once

struct tideLetterbox {
    int x = 0, y = 0; // top-left of the frame in window pixels
    int w = 0, h = 0; // frame size in window pixels

    // The largest centred rectangle of the logical aspect inside the window.
    static tideLetterbox Fit(int windowW, int windowH, int logicalW, int logicalH);

    // Maps a window position to logical frame pixels, clamped to the frame,
    // so a pointer over a bar reads as the nearest frame edge.
    void ToLogical(float wx, float wy, int logicalW, int logicalH, float* lx, float* ly) const;
};
