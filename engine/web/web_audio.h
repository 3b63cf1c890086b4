// Sound in the browser through Web Audio (web_audio.js): effects play on
// channels of their own, music and streams share one slot as on the desktop.
// Without Web Audio every call is a quiet no-op, so the game runs on silent.
#pragma once

#include "engine/audio_device.h"

class tideWebAudio final : public tideAudioDevice {
public:
    bool Open();
    void Close();

    void* Load(tideSoundType type, const void* data, size_t size) override;
    void Free(tideSoundType type, void* obj) override;
    int Play(tideSoundType type, void* obj, bool loop, int volume) override;
    void SetVolume(int channel, tideSoundType type, int volume) override;
    void Stop(int channel, tideSoundType type) override;
    bool Playing(int channel, tideSoundType type) override;

private:
    bool open = false;
    int musicChannel = -1; // the one music or stream playing, -1 none
};
