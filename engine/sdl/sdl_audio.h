// Sound through SDL2_mixer: effects are mixer chunks on mixer channels,
// music and streams share SDL_mixer's one music slot. Without an audio
// device every call is a quiet no-op, so a game runs on without sound.
#pragma once

#include <cstddef>
#include <string>

#include "engine/audio_device.h"

class tideSdlAudio final : public tideAudioDevice {
public:
    // Opens the device; when the system's device fails, SDL's "dummy" driver
    // (which mixes in real time to nowhere). Returns false when neither opens;
    // `why` then says what failed.
    bool Open(int sampleRate, std::string* why);
    void Close();
    bool IsOpen() const { return open; }
    // The audio driver in use ("" when closed).
    std::string Driver() const;

    void* Load(tideSoundType type, const void* data, size_t size) override;
    void Free(tideSoundType type, void* obj) override;
    // Returns the mixer channel (effects), 0 for the music slot, -1 on failure.
    int Play(tideSoundType type, void* obj, bool loop, int volume) override;
    void SetVolume(int channel, tideSoundType type, int volume) override;
    void Stop(int channel, tideSoundType type) override;
    bool Playing(int channel, tideSoundType type) override;

    static constexpr int kMusicChannel = 0;

private:
    bool tryOpen(int sampleRate);

    bool open = false;
    bool subsystem = false; // this object started SDL's audio subsystem
};
