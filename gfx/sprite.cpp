#include "gfx/sprite.h"

#include <cmath>
#include <utility>

Tide* tideSprite::tide = nullptr;

tideSprite::tideSprite(HTEXTURE tex, float x, float y, float w, float h)
    : tx(x), ty(y), width(w), height(h), hotX(0), hotY(0), bXFlip(false), bYFlip(false),
      bHSFlip(false) {
    tide = tideCreate(TIDE_VERSION);
    TextureSize(tex, &tex_width, &tex_height);
    quad.tex = tex;
    SetTexCoords(x / tex_width, y / tex_height, (x + w) / tex_width, (y + h) / tex_height);
    for (tideVertex& v : quad.v) {
        v.z = 0.5f;
        v.col = 0xFFFFFFFF;
        v.x = v.y = 0.0f;
    }
    quad.blend = BLEND_DEFAULT;
}

tideSprite::tideSprite(const tideSprite& spr) {
    tide = tideCreate(TIDE_VERSION);
    *this = spr;
}

tideSprite::~tideSprite() { tide->Release(); }

void tideSprite::TextureSize(HTEXTURE tex, float* w, float* h) const {
    if (tex) {
        *w = float(tide->Texture_GetWidth(tex, false));
        *h = float(tide->Texture_GetHeight(tex, false));
    } else {
        *w = 1.0f;
        *h = 1.0f;
    }
}

void tideSprite::SetTexCoords(float left, float top, float right, float bottom) {
    quad.v[0].tx = left;
    quad.v[0].ty = top;
    quad.v[1].tx = right;
    quad.v[1].ty = top;
    quad.v[2].tx = right;
    quad.v[2].ty = bottom;
    quad.v[3].tx = left;
    quad.v[3].ty = bottom;
}

void tideSprite::Render(float x, float y) {
    float x1 = x - hotX, y1 = y - hotY;
    float x2 = x + width - hotX, y2 = y + height - hotY;
    RenderStretch(x1, y1, x2, y2);
}

void tideSprite::Corners(float x, float y, float rot, float hscale, float vscale,
                         float out[8]) const {
    float a1 = -hotX * hscale, b1 = -hotY * vscale;
    float a2 = (width - hotX) * hscale, b2 = (height - hotY) * vscale;
    const float a[4] = {a1, a2, a2, a1};
    const float b[4] = {b1, b1, b2, b2};
    if (rot != 0.0f) {
        float c = std::cos(rot), s = std::sin(rot);
        for (int i = 0; i < 4; i++) {
            out[2 * i] = a[i] * c - b[i] * s + x;
            out[2 * i + 1] = a[i] * s + b[i] * c + y;
        }
    } else {
        for (int i = 0; i < 4; i++) {
            out[2 * i] = a[i] + x;
            out[2 * i + 1] = b[i] + y;
        }
    }
}

void tideSprite::RenderEx(float x, float y, float rot, float hscale, float vscale) {
    if (vscale == 0.0f) vscale = hscale;
    float p[8];
    Corners(x, y, rot, hscale, vscale, p);
    Render4V(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
}

void tideSprite::RenderStretch(float x1, float y1, float x2, float y2) {
    Render4V(x1, y1, x2, y1, x2, y2, x1, y2);
}

void tideSprite::Render4V(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                          float y3) {
    quad.v[0].x = x0;
    quad.v[0].y = y0;
    quad.v[1].x = x1;
    quad.v[1].y = y1;
    quad.v[2].x = x2;
    quad.v[2].y = y2;
    quad.v[3].x = x3;
    quad.v[3].y = y3;
    tide->Gfx_RenderQuad(&quad);
}

tideRect* tideSprite::GetBoundingBoxEx(float x, float y, float rot, float hscale, float vscale,
                                       tideRect* rect) const {
    float p[8];
    Corners(x, y, rot, hscale, vscale, p);
    rect->Clear();
    for (int i = 0; i < 4; i++) rect->Encapsulate(p[2 * i], p[2 * i + 1]);
    return rect;
}

void tideSprite::SetTexture(HTEXTURE tex) {
    quad.tex = tex;
    float nw, nh;
    TextureSize(tex, &nw, &nh);
    if (nw == tex_width && nh == tex_height) return;

    // Corners are read as they stand, so a flipped sprite stays flipped.
    float left = quad.v[0].tx * tex_width, top = quad.v[0].ty * tex_height;
    float right = quad.v[2].tx * tex_width, bottom = quad.v[2].ty * tex_height;
    tex_width = nw;
    tex_height = nh;
    SetTexCoords(left / nw, top / nh, right / nw, bottom / nh);
}

void tideSprite::SetTextureRect(float x, float y, float w, float h, bool adjSize) {
    tx = x;
    ty = y;
    if (adjSize) {
        width = w;
        height = h;
    }
    SetTexCoords(x / tex_width, y / tex_height, (x + w) / tex_width, (y + h) / tex_height);
    ReapplyFlip();
}

void tideSprite::ReapplyFlip() {
    bool bX = bXFlip, bY = bYFlip, bHS = bHSFlip;
    bXFlip = bYFlip = false;
    SetFlip(bX, bY, bHS);
}

void tideSprite::SetFlip(bool bX, bool bY, bool bHotSpot) {
    // The hot spot follows the flags as they stand before the texture flips:
    // mirrored out under the old hot-spot rule, back in under the new one.
    auto mirrorHotSpot = [this] {
        if (bHSFlip && bXFlip) hotX = width - hotX;
        if (bHSFlip && bYFlip) hotY = height - hotY;
    };
    mirrorHotSpot();
    bHSFlip = bHotSpot;
    mirrorHotSpot();

    auto swapTex = [this](int a, int b) {
        std::swap(quad.v[a].tx, quad.v[b].tx);
        std::swap(quad.v[a].ty, quad.v[b].ty);
    };
    if (bX != bXFlip) {
        swapTex(0, 1);
        swapTex(3, 2);
        bXFlip = !bXFlip;
    }
    if (bY != bYFlip) {
        swapTex(0, 3);
        swapTex(1, 2);
        bYFlip = !bYFlip;
    }
}

void tideSprite::SetColor(DWORD col, int i) {
    if (i == -1) {
        for (tideVertex& v : quad.v) v.col = col;
    } else if (i >= 0 && i < 4) {
        quad.v[i].col = col;
    }
}

void tideSprite::SetZ(float z, int i) {
    if (i == -1) {
        for (tideVertex& v : quad.v) v.z = z;
    } else if (i >= 0 && i < 4) {
        quad.v[i].z = z;
    }
}

DWORD tideSprite::GetColor(int i) const { return i >= 0 && i < 4 ? quad.v[i].col : 0; }

float tideSprite::GetZ(int i) const { return i >= 0 && i < 4 ? quad.v[i].z : 0.0f; }
