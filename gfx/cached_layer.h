// tideCachedLayer: a picture of quads that seldom change, kept in a render
// target. Each frame records what a drawing function submits and brings the
// picture in line only when those quads differ from the ones it was drawn
// with, so a frame fills the window once for all of them and then draws only
// what moves. Where a few quads changed in place (an animation's next frame,
// a highlight that moved), only the pixels they cover, before and after, are
// drawn again; anything else redraws the whole picture.
#pragma once

#include <functional>
#include <vector>

#include "engine/tide.h"
#include "gfx/quad_runs.h"

class tideSprite;

class tideCachedLayer {
public:
    tideCachedLayer(int width, int height);
    tideCachedLayer(const tideCachedLayer&) = delete;
    tideCachedLayer& operator=(const tideCachedLayer&) = delete;
    ~tideCachedLayer();

    // Records what `draw` submits and brings the picture in line with it:
    // cleared, those quads, then made opaque (all of it, or only the boxes
    // around the quads that changed). Runs outside any scene (scenes do not
    // nest). Returns Fresh(): false when no render target can be had, and the
    // caller then draws the same things directly.
    bool Prepare(const std::function<void()>& draw);
    // The picture shows the quads of the last Prepare.
    bool Fresh() const { return fresh; }
    // Draws the picture with its top-left corner at the window's.
    void Render();
    // The next Prepare redraws even the same quads (what they draw from
    // changed); the render target is kept.
    void Invalidate();
    // Gives the render target back, for a screen that no longer shows it.
    void Free();

    // What the picture shows: for tests, which see a headless frame's quads
    // through it.
    const std::vector<tideQuad>& Quads() const { return shown; }
    HTARGET Target() const { return target; }
    int Redraws() const { return redraws; }  // whole
    int Patches() const { return patches; }  // in part

private:
    struct Box {
        int x0, y0, x1, y1;  // pixels, the far edges outside
    };
    bool Patch();
    void FillAlpha();

    Tide* tide;
    int width, height;
    HTARGET target = 0;
    tideSprite* picture = nullptr;  // over the target's texture
    std::vector<tideQuad> shown;    // what the picture holds
    std::vector<tideQuad> next;     // this frame's recording
    bool fresh = false;
    bool valid = false;             // `shown` is what the target holds
    int redraws = 0, patches = 0;
    std::vector<Box> boxes;              // to patch this frame
    std::vector<tideQuadBox> quadBoxes;  // around each of `next`
};
