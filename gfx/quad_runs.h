// Fewer draws for the same pixels: quads that share a texture and a blend
// mode are drawn in one run, and every change of either starts another, each
// a draw of its own. tideGroupRuns moves a quad back to the last run of its
// kind when it overlaps none of the quads it moves past: quads that share no
// pixel can be drawn in either order, so the picture stays the same.
#pragma once

#include <vector>

#include "engine/tide.h"

void tideGroupRuns(std::vector<tideQuad>& quads);

// The smallest axis-aligned box around a quad's corners.
struct tideQuadBox {
    float x0, y0, x1, y1;
};
tideQuadBox tideBoxOf(const tideQuad& q);
// Boxes that only touch count too: a pixel centred on a slanted quad's edge
// may be drawn by both.
inline bool tideBoxesMeet(const tideQuadBox& a, const tideQuadBox& b) {
    return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}
