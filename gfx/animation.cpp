#include "gfx/animation.h"

#include <cmath>

#include "gfx/trunc.h"

namespace {
const int kMaxStepsPerUpdate = 1024;
}  // namespace

tideAnimation::tideAnimation(HTEXTURE tex, int nframes, float FPS, float x, float y, float w,
                             float h)
    : tideSprite(tex, x, y, w, h) {
    orig_width = tide->Texture_GetWidth(tex, true);
    fSinceLastFrame = -1.0f;
    fSpeed = 1.0f / FPS;
    bPlaying = false;
    nFrames = nframes;
    Mode = ANIM_FWD | ANIM_LOOP;
    nDelta = 1;
    nCurFrame = 0;
    SetFrame(0);
}

void tideAnimation::SetMode(int mode) {
    Mode = mode;
    if (Mode & ANIM_REV) {
        nDelta = -1;
        SetFrame(nFrames - 1);
    } else {
        nDelta = 1;
        SetFrame(0);
    }
}

void tideAnimation::Play() {
    bPlaying = true;
    fSinceLastFrame = -1.0f;
    SetMode(Mode);
}

void tideAnimation::Update(float fDeltaTime) {
    if (!bPlaying) return;
    // A speed that is not positive would step forever.
    if (!(fSpeed > 0.0f)) return;

    if (fSinceLastFrame == -1.0f)
        fSinceLastFrame = 0.0f;
    else
        fSinceLastFrame += fDeltaTime;

    for (int steps = 0; fSinceLastFrame >= fSpeed; ++steps) {
        // A rate far above the frame rate would step for ages, or for ever
        // once fSpeed is below the float resolution of fSinceLastFrame; the
        // frames past the cap are skipped.
        if (steps == kMaxStepsPerUpdate) {
            fSinceLastFrame = std::fmod(fSinceLastFrame, fSpeed);
            break;
        }
        fSinceLastFrame -= fSpeed;

        if (nCurFrame + nDelta == nFrames) {
            switch (Mode) {
            case 0:
            case 3: bPlaying = false; break;
            case 2:
            case 6:
            case 7: nDelta = -nDelta; break;
            default: break;
            }
        } else if (nCurFrame + nDelta < 0) {
            switch (Mode) {
            case 1:
            case 2: bPlaying = false; break;
            case 3:
            case 6:
            case 7: nDelta = -nDelta; break;
            default: break;
            }
        }

        if (!bPlaying) break;
        SetFrame(nCurFrame + nDelta);
    }
}

void tideAnimation::SetFrame(int n) {
    // Rectangles come from scripts and may be anything, NaN included.
    int fw = tideTruncToInt(width);
    int ncols = fw > 0 ? orig_width / fw : 0;

    if (nFrames > 0) {
        n %= nFrames;
        if (n < 0) n += nFrames;
    } else {
        n = 0;
    }
    nCurFrame = n;

    float left = tx + float(n) * width;
    float top = ty;
    // Frames past the image's right edge continue on the following rows.
    if (ncols > 0 && left > float(orig_width) - width) {
        // Wide enough not to overflow for any rectangle start.
        long long m = (long long)n - tideTruncToInt(float(orig_width) - tx) / fw;
        left = width * float(m % ncols);
        top = ty + height * float(1 + m / ncols);
    }

    SetTexCoords(left / tex_width, top / tex_height, (left + width) / tex_width,
                 (top + height) / tex_height);
    ReapplyFlip();
}

void tideAnimation::SetFrames(int n) {
    nFrames = n;
    SetFrame(nCurFrame);
}

void tideAnimation::SetTexture(HTEXTURE tex) {
    tideSprite::SetTexture(tex);
    orig_width = tide->Texture_GetWidth(tex, true);
    SetFrame(nCurFrame);
}

void tideAnimation::SetTextureRect(float x, float y, float w, float h) {
    tideSprite::SetTextureRect(x, y, w, h, true);
    SetFrame(nCurFrame);
}
