// What the device backends drawing through the GL renderer share: scenes,
// quads, textures and render targets, the frame read back for snapshots, and
// sound passed on to their audio device. The SDL2 and the browser backend
// add the window, input and the devices themselves.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/audio_device.h"
#include "engine/backend.h"
#include "engine/gl/gl_renderer.h"

class tideGlBackend : public tideBackend {
public:
    bool BeginScene(HTARGET target) override;
    void Clear(DWORD color) override { renderer.Clear(color); }
    void SetClipping(int x, int y, int w, int h) override { renderer.SetClipping(x, y, w, h); }
    void RenderQuad(const tideQuad& quad) override;

    void TextureFreed(tideTexture& tex) override;
    bool TargetCreated(tideTarget& target) override;
    void TargetFreed(tideTarget& target) override { renderer.TargetFreed(target); }

    void* SoundLoad(tideSoundType type, const void* data, size_t size) override {
        return audio.Load(type, data, size);
    }
    void SoundFree(tideSoundType type, void* obj) override { audio.Free(type, obj); }
    int SoundPlay(tideSoundType type, void* obj, bool loop, int volume) override {
        return audio.Play(type, obj, loop, volume);
    }
    void ChannelVolume(int devChannel, tideSoundType type, int volume) override {
        audio.SetVolume(devChannel, type, volume);
    }
    void ChannelStop(int devChannel, tideSoundType type) override { audio.Stop(devChannel, type); }
    bool ChannelPlaying(int devChannel, tideSoundType type) override {
        return audio.Playing(devChannel, type);
    }

protected:
    explicit tideGlBackend(tideAudioDevice& device) : audio(device) {}

    // The screen frame as opaque RGBA bytes, top row first.
    bool ReadOpaqueScreen(std::vector<uint8_t>* rgba);
    void ForgetLastTexture() {
        lastHandle = 0;
        lastTexture = nullptr;
    }

    tideCore* core = nullptr;
    int logicalW = 0, logicalH = 0;
    bool screenScene = false; // the open scene draws the screen frame
    tideGlRenderer renderer;
    tideAudioDevice& audio;

private:
    // The last texture handle drawn with, so runs of quads skip the lookup.
    HTEXTURE lastHandle = 0;
    tideTexture* lastTexture = nullptr;
};
