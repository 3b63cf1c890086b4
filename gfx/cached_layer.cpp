#include "gfx/cached_layer.h"

#include <cstring>

#include "gfx/sprite.h"

namespace {

bool SameQuads(const std::vector<tideQuad>& a, const std::vector<tideQuad>& b) {
    static_assert(sizeof(tideQuad) == 4 * sizeof(tideVertex) + sizeof(HTEXTURE) + sizeof(int),
                  "quads compared byte by byte have no padding");
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(tideQuad)) == 0);
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
    if (!target) target = tide->Target_Create(width, height, false);
    valid = false;
    if (!target || !tide->Gfx_BeginScene(target)) return false;
    tide->Gfx_Clear(0);
    for (const tideQuad& q : next) tide->Gfx_RenderQuad(&q);
    // Blending leaves partial alpha where the quads lie: full alpha added
    // makes the picture cover the frame exactly as its quads would.
    tideQuad opaque{};
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const float xs[4] = {0, w, w, 0}, ys[4] = {0, 0, h, h};
    for (int i = 0; i < 4; ++i) opaque.v[i] = tideVertex{xs[i], ys[i], 0.5f, 0xFF000000, 0, 0};
    opaque.blend = BLEND_COLORMUL | BLEND_ALPHAADD | BLEND_NOZWRITE;
    tide->Gfx_RenderQuad(&opaque);
    tide->Gfx_EndScene();
    if (!picture) picture = new tideSprite(tide->Target_GetTexture(target), 0, 0, w, h);
    shown.swap(next);
    ++redraws;
    return valid = fresh = true;
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
