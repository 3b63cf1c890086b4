#include "gfx/quad_runs.h"

#include <algorithm>

tideQuadBox tideBoxOf(const tideQuad& q) {
    tideQuadBox b{q.v[0].x, q.v[0].y, q.v[0].x, q.v[0].y};
    for (const tideVertex& v : q.v) {
        b.x0 = std::min(b.x0, v.x);
        b.y0 = std::min(b.y0, v.y);
        b.x1 = std::max(b.x1, v.x);
        b.y1 = std::max(b.y1, v.y);
    }
    return b;
}

namespace {

struct Run {
    std::vector<std::size_t> quads;
    tideQuadBox box;  // around all of them
};

}  // namespace

void tideGroupRuns(std::vector<tideQuad>& quads) {
    std::vector<Run> runs;
    std::vector<tideQuadBox> boxes;
    boxes.reserve(quads.size());
    for (std::size_t i = 0; i < quads.size(); ++i) {
        const tideQuad& q = quads[i];
        const tideQuadBox b = tideBoxOf(q);
        boxes.push_back(b);
        // The last run of its kind, if the quad meets nothing drawn since.
        std::size_t to = runs.size();
        for (std::size_t r = runs.size(); r-- > 0;) {
            const tideQuad& first = quads[runs[r].quads.front()];
            if (first.tex == q.tex && first.blend == q.blend) {
                to = r;
                break;
            }
            if (!tideBoxesMeet(runs[r].box, b)) continue;
            const auto& in = runs[r].quads;
            if (std::any_of(in.begin(), in.end(),
                            [&](std::size_t k) { return tideBoxesMeet(boxes[k], b); }))
                break;
        }
        if (to == runs.size()) {
            runs.push_back(Run{{i}, b});
            continue;
        }
        tideQuadBox& u = runs[to].box;
        u = tideQuadBox{std::min(u.x0, b.x0), std::min(u.y0, b.y0), std::max(u.x1, b.x1),
                        std::max(u.y1, b.y1)};
        runs[to].quads.push_back(i);
    }
    std::vector<tideQuad> out;
    out.reserve(quads.size());
    for (const Run& r : runs)
        for (std::size_t k : r.quads) out.push_back(quads[k]);
    quads.swap(out);
}
