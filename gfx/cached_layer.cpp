#include "gfx/cached_layer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/sprite.h"

namespace {

static_assert(sizeof(tideQuad) == 4 * sizeof(tideVertex) + sizeof(HTEXTURE) + sizeof(int),
              "quads compared byte by byte have no padding");

bool SameQuad(const tideQuad& a, const tideQuad& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameQuads(const std::vector<tideQuad>& a, const std::vector<tideQuad>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(tideQuad)) == 0);
}

// Each box replays the quads that reach it, with draws of their own. On a
// software renderer 14 boxes over 15% of the picture cost about 0.28 of a
// whole redraw; past a third of it, the picture is redrawn whole.
constexpr int kPatchShare = 3;
// Two boxes are patched as one when that adds at most this many pixels.
constexpr int kMergeSlack = 4096;
// More changed quads than this are redrawn whole (merging boxes costs the
// square of their number).
constexpr int kMaxChanged = 32;

long Area(int x0, int y0, int x1, int y1) {
    return long(x1 - x0) * long(y1 - y0);
}

// Corners a pixel box can be made from (not a number fails too).
bool Tame(const tideQuad& q) {
    for (const tideVertex& v : q.v)
        if (!(std::fabs(v.x) <= 1e6f && std::fabs(v.y) <= 1e6f)) return false;
    return true;
}

}  // namespace

tideCachedLayer::tideCachedLayer(int width, int height) : width(width), height(height) {
    tide = tideCreate(TIDE_VERSION);
}

tideCachedLayer::~tideCachedLayer() {
    Free();
    tide->Release();
}

bool tideCachedLayer::Prepare(const std::function<void()>& draw) {
    fresh = false;
    next.clear();
    tide->Gfx_Record(&next);
    draw();
    tide->Gfx_Record(nullptr);
    if (valid && SameQuads(next, shown)) return fresh = true;
    if (valid && Patch()) {
        shown.swap(next);
        ++patches;
        return fresh = true;
    }
    if (!target) target = tide->Target_Create(width, height, false);
    valid = false;
    if (!target || !tide->Gfx_BeginScene(target)) return false;
    tide->Gfx_Clear(0);
    for (const tideQuad& q : next) tide->Gfx_RenderQuad(&q);
    FillAlpha();
    tide->Gfx_EndScene();
    if (!picture)
        picture =
            new tideSprite(tide->Target_GetTexture(target), 0, 0, float(width), float(height));
    shown.swap(next);
    ++redraws;
    return valid = fresh = true;
}

bool tideCachedLayer::Patch() {
    // Only quads changed in place: any added or removed moves the rest.
    if (next.size() != shown.size()) return false;
    boxes.clear();
    int changed = 0;
    const auto add = [&](const tideQuadBox& b) {
        // Whole pixels, and one more each way for a pixel centred on an edge.
        const int x0 = std::max(0, int(std::floor(b.x0)) - 1),
                  y0 = std::max(0, int(std::floor(b.y0)) - 1);
        const int x1 = std::min(width, int(std::ceil(b.x1)) + 1),
                  y1 = std::min(height, int(std::ceil(b.y1)) + 1);
        if (x0 < x1 && y0 < y1) boxes.push_back(Box{x0, y0, x1, y1});
    };
    for (size_t i = 0; i < next.size(); ++i) {
        if (SameQuad(next[i], shown[i])) continue;
        if (++changed > kMaxChanged) return false;
        for (const tideQuad* q : {&shown[i], &next[i]}) {
            if (!Tame(*q)) return false;
            add(tideBoxOf(*q));
        }
    }
    // Boxes that meet, or nearly, become one: each costs a replay.
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t a = 0; a < boxes.size() && !merged; ++a)
            for (size_t b = a + 1; b < boxes.size() && !merged; ++b) {
                const Box& p = boxes[a];
                const Box& q = boxes[b];
                const Box u{std::min(p.x0, q.x0), std::min(p.y0, q.y0), std::max(p.x1, q.x1),
                            std::max(p.y1, q.y1)};
                if (Area(u.x0, u.y0, u.x1, u.y1) >
                    Area(p.x0, p.y0, p.x1, p.y1) + Area(q.x0, q.y0, q.x1, q.y1) + kMergeSlack)
                    continue;
                boxes[a] = u;
                boxes.erase(boxes.begin() + long(b));
                merged = true;
            }
    }
    long area = 0;
    for (const Box& b : boxes) area += Area(b.x0, b.y0, b.x1, b.y1);
    if (area * kPatchShare > long(width) * long(height)) return false;
    if (!tide->Gfx_BeginScene(target)) return false;
    quadBoxes.clear();
    // One whose box is not to be trusted is drawn into every box.
    for (const tideQuad& q : next)
        quadBoxes.push_back(Tame(q) ? tideBoxOf(q) : tideQuadBox{-1e30f, -1e30f, 1e30f, 1e30f});
    // Within a box, the quads that reach it drawn in order over a cleared
    // box give the pixels a whole redraw would.
    for (const Box& b : boxes) {
        tide->Gfx_SetClipping(b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0);
        tide->Gfx_Clear(0);
        const tideQuadBox clip{float(b.x0), float(b.y0), float(b.x1), float(b.y1)};
        for (size_t i = 0; i < next.size(); ++i)
            if (tideBoxesMeet(quadBoxes[i], clip)) tide->Gfx_RenderQuad(&next[i]);
        FillAlpha();
    }
    tide->Gfx_SetClipping();
    tide->Gfx_EndScene();
    return true;
}

void tideCachedLayer::FillAlpha() {
    // Blending leaves partial alpha where the quads lie: full alpha added
    // makes the picture cover the frame exactly as its quads would.
    tideQuad opaque{};
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const float xs[4] = {0, w, w, 0}, ys[4] = {0, 0, h, h};
    for (int i = 0; i < 4; ++i) opaque.v[i] = tideVertex{xs[i], ys[i], 0.5f, 0xFF000000, 0, 0};
    opaque.blend = BLEND_COLORMUL | BLEND_ALPHAADD | BLEND_NOZWRITE;
    tide->Gfx_RenderQuad(&opaque);
}

void tideCachedLayer::Render() {
    if (fresh) picture->Render(0, 0);
}

void tideCachedLayer::Invalidate() {
    fresh = valid = false;
}

void tideCachedLayer::Free() {
    Invalidate();
    shown.clear();
    delete picture;
    picture = nullptr;
    if (target) tide->Target_Free(target);
    target = 0;
}
