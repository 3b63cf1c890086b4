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

namespace {

enum class Edge { kNothing, kStop, kReverse };

// What a step past the last frame does in each mode.
Edge atEnd(int mode) {
    switch (mode) {
    case 0:
    case 3: return Edge::kStop;
    case 2:
    case 6:
    case 7: return Edge::kReverse;
    default: return Edge::kNothing;
    }
}

// What a step before the first frame does in each mode.
Edge atStart(int mode) {
    switch (mode) {
    case 1:
    case 2: return Edge::kStop;
    case 3:
    case 6:
    case 7: return Edge::kReverse;
    default: return Edge::kNothing;
    }
}

long long wrap(long long n, long long count) {
    long long r = n % count;
    return r < 0 ? r + count : r;
}

}  // namespace

void tideAnimation::Update(float fDeltaTime) {
    if (!bPlaying) return;
    // A speed that is not positive would step forever.
    if (!(fSpeed > 0.0f)) return;

    if (fSinceLastFrame == -1.0f)
        fSinceLastFrame = 0.0f;
    else
        fSinceLastFrame += fDeltaTime;
    if (std::isnan(fSinceLastFrame)) fSinceLastFrame = 0.0f;

    // Ordinary frame times are counted off one frame at a time, so they round
    // exactly as they always have; a huge update (a long stall, a rate far
    // above the frame rate) is divided instead of looping for ages.
    long long steps = 0;
    while (fSinceLastFrame >= fSpeed && steps < kMaxStepsPerUpdate) {
        fSinceLastFrame -= fSpeed;
        ++steps;
    }
    if (fSinceLastFrame >= fSpeed) {
        double more = std::floor(double(fSinceLastFrame) / double(fSpeed));
        steps += more < 1e18 ? (long long)more : (long long)1e18;
        fSinceLastFrame =
            std::isfinite(fSinceLastFrame) ? std::fmod(fSinceLastFrame, fSpeed) : 0.0f;
    }
    // A stopped animation has used up its time too: the steps after the stop
    // only found it stopped.
    if (steps > 0) Advance(steps);
}

void tideAnimation::Advance(long long steps) {
    const long long n = nFrames;
    if (n <= 0 || (nDelta != 1 && nDelta != -1) || nCurFrame < 0 || nCurFrame >= n) {
        // Not a state the modes can reach by themselves: step it one by one.
        for (long long i = 0; i < steps && i < kMaxStepsPerUpdate && bPlaying; ++i) StepOnce();
        return;
    }
    long long c = nCurFrame, d = nDelta;
    // Each round runs to the next edge at most, so a few rounds cover any count.
    while (steps > 0 && bPlaying) {
        const Edge edge = d > 0 ? atEnd(Mode) : atStart(Mode);
        const long long plain = d > 0 ? n - 1 - c : c; // steps before the edge
        if (steps <= plain) {
            c += d * steps;
            break;
        }
        c += d * plain;
        steps -= plain + 1; // the step over the edge
        switch (edge) {
        case Edge::kStop: bPlaying = false; break;
        case Edge::kNothing:
            // Wraps round, and the direction never changes again.
            c = wrap(c + d + d * (steps % n), n);
            steps = 0;
            break;
        case Edge::kReverse:
            d = -d;
            c = wrap(c + d, n);
            // Bouncing between two reversing edges repeats every round trip.
            if ((d > 0 ? atEnd(Mode) : atStart(Mode)) == Edge::kReverse)
                steps %= n > 1 ? 2 * (n - 1) : 2;
            break;
        }
    }
    nDelta = int(d);
    SetFrame(int(c));
}

void tideAnimation::StepOnce() {
    if (nCurFrame + nDelta == nFrames) {
        switch (atEnd(Mode)) {
        case Edge::kStop: bPlaying = false; break;
        case Edge::kReverse: nDelta = -nDelta; break;
        case Edge::kNothing: break;
        }
    } else if (nCurFrame + nDelta < 0) {
        switch (atStart(Mode)) {
        case Edge::kStop: bPlaying = false; break;
        case Edge::kReverse: nDelta = -nDelta; break;
        case Edge::kNothing: break;
        }
    }
    if (bPlaying) SetFrame(nCurFrame + nDelta);
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
