// Control surface for runs driven by a test or a replay script instead of a
// person: a manual clock, scripted input, and a record of what was drawn,
// played and logged. Available after System_Initiate when TIDE_HEADLESS (no
// window, no audio device, quads only recorded) or TIDE_MANUALCLOCK (real
// offscreen renderer, manual clock and input) was set.
#pragma once

#include <string>
#include <vector>

#include "engine/tide.h"

enum tideSoundKind {
    TIDE_SND_EFFECT = 1, // Effect_Play / Effect_PlayEx
    TIDE_SND_MUSIC = 2,  // Music_Play
    TIDE_SND_STREAM = 3, // Stream_Play
    TIDE_SND_VOLUME = 4, // Channel_SetVolume
    TIDE_SND_STOP = 5    // Channel_Stop
};

struct tideSoundEvent {
    tideSoundKind kind;
    DWORD handle;     // effect, music or stream handle (0 for volume and stop)
    HCHANNEL channel; // channel returned or addressed
    int volume;       // volume asked for (before the global volume states)
    bool loop;
    std::string name; // file the effect/music/stream was loaded from
};

class tideHeadless {
public:
    // Runs one frame with the given frame time: applies the input queued since
    // the previous frame, calls the frame callback then the render callback,
    // and returns the frame callback's result.
    virtual bool Frame(float dt) = 0;

    virtual void SetMouse(float x, float y) = 0;
    virtual void Key(int vk, bool down) = 0; // mouse buttons are keys 1, 2, 4; pads TIDEK_PAD_*
    virtual void Wheel(int notches) = 0;
    virtual void Char(int c) = 0;
    virtual void SetMouseOver(bool over) = 0;
    // A finger touches (down) or leaves the screen at (x, y).
    virtual void Touch(float x, float y, bool down) = 0;

    // Quads of the current scene (after Gfx_EndScene: of the last rendered frame).
    virtual const std::vector<tideQuad>& Quads() const = 0;
    // Colors passed to Gfx_Clear in the current/last scene.
    virtual const std::vector<DWORD>& Clears() const = 0;
    virtual const std::vector<std::string>& Log() const = 0;
    virtual const std::vector<tideSoundEvent>& Sounds() const = 0;
    virtual void ClearLog() = 0;
    virtual void ClearSounds() = 0;
    // Current volume (0..100) of a channel, -1 when stopped or unknown.
    virtual int ChannelVolume(HCHANNEL chn) const = 0;

    // Files served from memory instead of the data folder (fuzzing, tests):
    // looked up first by every file read, names compared like data-folder
    // names (back slashes as separators, any case). Writes still go to disk.
    virtual void SetMemoryFile(const char* name, const std::string& data) = 0;
    virtual void ClearMemoryFiles() = 0;

protected:
    virtual ~tideHeadless() {}
};

// The control surface of the running engine, or null when the engine runs in
// real time (or has not been initiated).
tideHeadless* tideGetHeadless();
