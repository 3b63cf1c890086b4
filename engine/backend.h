// The device side of the engine. tideCore (core.h) implements everything
// that needs no device (states, files, INI, random numbers, timing, input
// state, texture pixels, sound bookkeeping, the log) and calls a backend for
// the rest: the window, drawing, presenting and the audio device.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/tide.h"

class tideCore;

// A texture's pixels live in memory in both backends; the real one keeps a
// device copy and refreshes it when `dirty` is set.
struct tideTexture {
    int width = 0, height = 0;         // stored size
    int origWidth = 0, origHeight = 0; // size of the source image
    std::vector<DWORD> pixels;         // ARGB, rows `width` apart
    bool dirty = true;                 // pixels changed since the device copy was made
    bool isTarget = false;             // colour buffer of a render target
    bool opaque = false;               // the device copy's every pixel has full alpha
    bool fromFile = false;             // its file can give the pixels again: none kept once uploaded
    unsigned device = 0;               // backend's object (GL texture name), 0 none
};

struct tideTarget {
    HTEXTURE tex = 0; // texture that holds the target's pixels
    int width = 0, height = 0;
    bool zbuffer = false;
    unsigned device = 0;      // backend's object (framebuffer), 0 none
    unsigned deviceDepth = 0; // depth buffer, 0 none
};

enum tideSoundType { TIDE_SOUND_EFFECT = 0, TIDE_SOUND_MUSIC = 1, TIDE_SOUND_STREAM = 2 };

class tideBackend {
public:
    virtual ~tideBackend() {}

    // The engine's quad run (tide.h), set before Init. A backend that batches
    // may point it into its vertex buffer after RenderQuad; it must sync its
    // count from `next` before using the buffer and empty the run (next = end
    // = null) whenever the buffer is drawn or the run ends. Never in manual
    // runs: there every quad has to reach the engine to be recorded.
    tideQuadRun* run = nullptr;

    // Opens the window (or offscreen context) and the audio device as the
    // core's states say. On failure returns false and sets an error message
    // with core->SetError.
    virtual bool Init(tideCore* core) = 0;
    virtual void Shutdown() = 0;

    // Feeds pending device events to core->Input(). Returns false when the
    // user asked to close the window.
    virtual bool PumpEvents() = 0;

    virtual bool BeginScene(HTARGET target) = 0;
    virtual void EndScene() = 0; // finishes the frame (presents when drawing to the screen)
    virtual void Clear(DWORD color) = 0;
    virtual void SetClipping(int x, int y, int w, int h) = 0; // see Gfx_SetClipping
    virtual void RenderQuad(const tideQuad& quad) = 0;
    virtual bool Snapshot(const char* path) = 0;

    virtual void TextureFreed(tideTexture& tex) = 0;
    virtual bool TargetCreated(tideTarget& target) = 0;
    virtual void TargetFreed(tideTarget& target) = 0;

    // Audio. Objects are made from whole-file bytes; null when the data is
    // not a sound the device can play.
    virtual void* SoundLoad(tideSoundType type, const void* data, size_t size) = 0;
    virtual void SoundFree(tideSoundType type, void* obj) = 0;
    // Starts playing; volume 0..100 after the global volume states. Returns a
    // device channel number, -1 on failure.
    virtual int SoundPlay(tideSoundType type, void* obj, bool loop, int volume) = 0;
    virtual void ChannelVolume(int devChannel, tideSoundType type, int volume) = 0;
    virtual void ChannelStop(int devChannel, tideSoundType type) = 0;
    virtual bool ChannelPlaying(int devChannel, tideSoundType type) = 0;

    // Milliseconds of a monotonic clock (real time).
    virtual double Now() = 0;
    virtual void Sleep(double seconds) = 0;

    // False while nobody can see the window (minimised, hidden): the frame
    // loop then runs the game without drawing it.
    virtual bool Visible() { return true; }
    // The display's refresh rate in Hz when presenting waits for its vertical
    // blank, 0 when it does not (no display, no vsync).
    virtual double VsyncRate() { return 0; }
};

// Test hook: when set, System_Initiate takes a real-time engine's backend
// from it instead of opening the device.
extern tideBackend* (*tideBackendHook)();

tideBackend* tideCreateHeadlessBackend();
// The real device: SDL2 and OpenGL on the desktop, the browser on the web.
tideBackend* tideCreateDeviceBackend();
