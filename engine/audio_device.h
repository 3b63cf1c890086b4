// A sound device as the device backends use it: whole-file sounds loaded
// into device objects, played on channels. Effects get channels of their own;
// music and streams share one slot.
#pragma once

#include <cstddef>

#include "engine/backend.h"

class tideAudioDevice {
public:
    virtual ~tideAudioDevice() {}

    // A device object, or null when the data is not a sound the device plays.
    virtual void* Load(tideSoundType type, const void* data, size_t size) = 0;
    virtual void Free(tideSoundType type, void* obj) = 0;
    // volume 0..100; returns a channel, -1 on failure.
    virtual int Play(tideSoundType type, void* obj, bool loop, int volume) = 0;
    virtual void SetVolume(int channel, tideSoundType type, int volume) = 0;
    virtual void Stop(int channel, tideSoundType type) = 0;
    virtual bool Playing(int channel, tideSoundType type) = 0;
};
