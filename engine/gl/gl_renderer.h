// The OpenGL side of the real backend: a batched quad renderer drawing into
// an offscreen framebuffer of the logical frame size (or into a render
// target), which Present scales into the window. Needs a current OpenGL 3.3
// core or OpenGL ES 3.0 (WebGL 2) context for every call between Init and
// Shutdown.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/backend.h"
#include "engine/gl/coverage_map.h"
#include "engine/gl/letterbox.h"
#include "engine/gl/quad_batch.h"
#include "engine/gl/quad_trim.h"

class tideGlRenderer {
public:
    bool Init(int logicalW, int logicalH, bool linearFilter, std::string* error);
    void Shutdown();
    bool Ready() const { return program != 0; }

    // Starts drawing into a render target (whose colour buffer is `targetTex`)
    // or, with null, into the screen frame. Clears the depth buffer.
    bool BeginScene(tideTarget* target, tideTexture* targetTex);
    void EndScene(); // draws what is pending
    void Clear(DWORD color);
    // Scissors quads and clears to a rectangle of the scene (top-left origin)
    // until the scene ends; w or h 0 lifts it.
    void SetClipping(int x, int y, int w, int h);
    // `tex` is null for an untextured quad. Runs for every quad: a quad that
    // continues the pending run (same texture and blend, unchanged pixels,
    // room left) only has its vertices copied.
    void RenderQuad(const tideQuad& quad, tideTexture* tex) {
        syncRun();
        if (tex == batchTexture && quad.blend == batchBlend && batch.Count() > 0 &&
            batch.Count() < tideQuadBatch::kCapacity && !(tex && tex->dirty && !tex->isTarget))
            batch.Append(quad.v);
        else
            addQuad(quad, tex);
        publishRun(quad);
    }
    // The engine's quad run to point into the batch, or null to keep every
    // quad coming through RenderQuad.
    void SetRun(tideQuadRun* r) { run = r; }

    // Scales the screen frame into the window's framebuffer (letterboxed).
    void Present(const tideLetterbox& box, int drawableW, int drawableH);
    // The screen frame as RGBA bytes, top row first.
    bool ReadScreen(std::vector<uint8_t>* rgba);

    void TextureFreed(tideTexture& tex);
    bool TargetCreated(tideTarget& target, tideTexture& tex);
    void TargetFreed(tideTarget& target);

    int DrawCalls() const { return drawCalls; }

    // Blended quads are trimmed to the texels of their texture that are not
    // fully transparent, large ones cut into bands (quad_trim.h), unless this
    // is off (tests compare with drawing them whole); `trimmedArea` counts the
    // pixels it spared, over all renderers.
    static inline bool trimQuads = true;
    // What a band costs beyond its pixels (its triangles' set-up), in pixels:
    // an extra band must spare more than this (tests lower it to cut more).
    // Measured on llvmpipe: the battle's frame gains alike from 256 to 2048.
    static inline double bandCost = 512;
    static inline double trimmedArea = 0;

private:
    void addQuad(const tideQuad& quad, tideTexture* tex);
    void flush();
    // The run writes vertices behind the batch's back: take over its count
    // before using the batch, and end it whenever the batch is drawn.
    void syncRun() {
        if (run && run->next) batch.SyncTo(run->next);
    }
    void endRun() {
        if (run) run->next = run->end = nullptr;
    }
    void publishRun(const tideQuad& quad) {
        if (!run) return;
        if (batch.Count() == 0) return endRun();
        run->next = batch.WritePos();
        run->end = batch.Limit();
        run->tex = quad.tex;
        run->blend = quad.blend;
    }
    // The GL texture of `tex`, made or refreshed first when needed.
    unsigned textureFor(tideTexture* tex);
    void upload(tideTexture& tex);
    void bindFramebuffer(unsigned fbo, int w, int h);
    void setDepthMask(bool on);
    void unclip();
    // Whether the pending batch's texture and its quads [first, first+count)
    // have full alpha everywhere; whether the batch blends nothing (so it is
    // drawn unblended); whether its last quad fills the target's alpha.
    bool sourceOpaque(const tideBatchState& s, int first, int count) const;
    bool pendingOpaque(const tideBatchState& s) const;
    bool pendingFillsAlpha(const tideBatchState& s) const;
    // Trims the pending quads where their texture has a coverage map.
    void trimPending(const tideBatchState& s);

    int logicalW = 0, logicalH = 0;
    bool linear = true;

    unsigned program = 0, vao = 0, vbo = 0, ibo = 0;
    int uScale = -1, uColorAdd = -1;
    unsigned screenFbo = 0, screenColor = 0, screenDepth = 0;
    unsigned whiteTexture = 0;

    tideQuadBatch batch;
    tideQuadRun* run = nullptr;
    // GL state as last set, to skip redundant calls; -1 unknown.
    int boundTexture = -1, blendOn = -1, blendAlpha = -1, colorAdd = -1, depthMask = -1;
    // Texture and blend bits of the pending run, as the quads gave them.
    const tideTexture* batchTexture = nullptr;
    int batchBlend = 0;
    // The render target being drawn into (its colour texture), null for the
    // screen, and whether it has no depth buffer (every quad reaches it whole).
    tideTexture* sceneTarget = nullptr;
    bool sceneNoDepth = false;
    // The scissor, in the scene's pixels, while one is on; and whether the
    // target was opaque everywhere when it went on (outside it, nothing
    // drawn since can have changed that).
    bool clipped = false, opaqueOutsideClip = false;
    int clipX0 = 0, clipY0 = 0, clipX1 = 0, clipY1 = 0;
    int drawCalls = 0;
    // Coverage of the textures uploaded with transparent parts, by GL name.
    std::unordered_map<unsigned, tideCoverageMap> coverage;
    tideTrimCaches trimCaches;
    // Quads cut into bands while trimming, put in place once all are trimmed.
    std::vector<tideQuadBatch::Split> splits;
    std::vector<tideVertex> splitQuads;
};
