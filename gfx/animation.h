// tideAnimation: a sprite that steps through equally sized frames laid out on
// one texture, left to right and then on the following rows.
#pragma once

#include "gfx/sprite.h"

// Mode bits.
#define ANIM_FWD 0
#define ANIM_REV 1
#define ANIM_PINGPONG 2
#define ANIM_NOPINGPONG 0
#define ANIM_LOOP 4
#define ANIM_NOLOOP 0

class tideAnimation : public tideSprite {
public:
    tideAnimation(HTEXTURE tex, int nframes, float FPS, float x, float y, float w, float h);
    tideAnimation(const tideAnimation& anim) = default;
    tideAnimation& operator=(const tideAnimation& anim) = default;

    void Play();
    void Stop() { bPlaying = false; }
    void Resume() { bPlaying = true; }
    void Update(float fDeltaTime);
    bool IsPlaying() const { return bPlaying; }

    void SetTexture(HTEXTURE tex);
    void SetTextureRect(float x, float y, float w, float h);
    void SetMode(int mode);
    void SetSpeed(float FPS) { fSpeed = 1.0f / FPS; }
    void SetFrame(int n);
    void SetFrames(int n);

    int GetMode() const { return Mode; }
    float GetSpeed() const { return 1.0f / fSpeed; } // frames per second
    int GetFrame() const { return nCurFrame; }
    int GetFrames() const { return nFrames; }

    int orig_width;
    bool bPlaying;
    float fSpeed;
    float fSinceLastFrame;
    int Mode;
    int nDelta;
    int nFrames;
    int nCurFrame;

private:
    // Makes `steps` frame steps at once, landing where one step at a time would.
    void Advance(long long steps);
    // One frame step by the mode's rules at the edges.
    void StepOnce();
};
