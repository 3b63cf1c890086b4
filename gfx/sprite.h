// tideSprite: a rectangle of a texture drawn as one engine quad, placed by its
// hot spot, optionally rotated, scaled, stretched or flipped.
#pragma once

#include "engine/tide.h"
#include "gfx/rect.h"

class tideSprite {
public:
    tideSprite(HTEXTURE tex, float x, float y, float w, float h);
    tideSprite(const tideSprite& spr);
    tideSprite& operator=(const tideSprite& spr) = default;
    virtual ~tideSprite();

    void Render(float x, float y);
    // A vscale of 0 means "same as hscale".
    void RenderEx(float x, float y, float rot, float hscale = 1.0f, float vscale = 0.0f);
    void RenderStretch(float x1, float y1, float x2, float y2);
    void Render4V(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);

    void SetTexture(HTEXTURE tex);
    void SetTextureRect(float x, float y, float w, float h, bool adjSize = true);
    // Vertex index -1 means all four; indices outside 0..3 are ignored.
    void SetColor(DWORD col, int i = -1);
    void SetZ(float z, int i = -1);
    void SetBlendMode(int blend) { quad.blend = blend; }
    void SetHotSpot(float x, float y) { hotX = x; hotY = y; }
    void SetFlip(bool bX, bool bY, bool bHotSpot = false);

    HTEXTURE GetTexture() const { return quad.tex; }
    void GetTextureRect(float* x, float* y, float* w, float* h) const {
        *x = tx; *y = ty; *w = width; *h = height;
    }
    DWORD GetColor(int i = 0) const; // 0 for an index outside 0..3
    float GetZ(int i = 0) const;     // 0 for an index outside 0..3
    int GetBlendMode() const { return quad.blend; }
    void GetHotSpot(float* x, float* y) const { *x = hotX; *y = hotY; }
    void GetFlip(bool* bX, bool* bY) const { *bX = bXFlip; *bY = bYFlip; }
    float GetWidth() const { return width; }
    float GetHeight() const { return height; }
    // Unlike RenderEx, a vscale of 0 is taken literally.
    tideRect* GetBoundingBoxEx(float x, float y, float rot, float hscale, float vscale,
                               tideRect* rect) const;

    tideQuad quad;
    float tx, ty, width, height;
    float tex_width, tex_height;
    float hotX, hotY;
    bool bXFlip, bYFlip, bHSFlip;

protected:
    // Texture size used to normalise coordinates: (1, 1) without a texture.
    void TextureSize(HTEXTURE tex, float* w, float* h) const;
    // Writes normalised coordinates in unflipped vertex order.
    void SetTexCoords(float left, float top, float right, float bottom);
    // After new texture coordinates: flips them again as the flags say.
    void ReapplyFlip();
    // Corner positions of RenderEx (without the vscale rule), in vertex order.
    void Corners(float x, float y, float rot, float hscale, float vscale, float out[8]) const;

    static Tide* tide;
};
