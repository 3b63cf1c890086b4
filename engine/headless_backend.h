// The headless backend: no window and no audio device. Drawing is only
// recorded by the core; sounds are checked to be sound files and "played"
// on numbered channels that music and streams hold until stopped. Tests
// derive from it to stand in for a device in part (a simulated clock).
#pragma once

#include <set>

#include "engine/backend.h"

class tideHeadlessBackend : public tideBackend {
public:
    bool Init(tideCore*) override { return true; }
    void Shutdown() override { playing.clear(); }
    bool PumpEvents() override { return true; }
    bool BeginScene(HTARGET) override { return true; }
    void EndScene() override {}
    void Clear(DWORD) override {}
    void SetClipping(int, int, int, int) override {}
    void RenderQuad(const tideQuad&) override {}
    bool Snapshot(const char*) override { return false; }
    void TextureFreed(tideTexture&) override {}
    bool TargetCreated(tideTarget&) override { return true; }
    void TargetFreed(tideTarget&) override {}

    void* SoundLoad(tideSoundType type, const void* data, size_t size) override;
    void SoundFree(tideSoundType, void* obj) override { delete static_cast<int*>(obj); }
    int SoundPlay(tideSoundType type, void*, bool, int) override;
    void ChannelVolume(int, tideSoundType, int) override {}
    void ChannelStop(int dev, tideSoundType) override { playing.erase(dev); }
    bool ChannelPlaying(int dev, tideSoundType) override { return playing.count(dev) > 0; }

    double Now() override;
    void Sleep(double seconds) override;

private:
    std::set<int> playing;
    int next = 1;
};
