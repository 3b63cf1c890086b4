// The real device backend: an SDL2 window with an OpenGL 3.3 context (the
// "offscreen" video driver when there is no display), the batched GL quad
// renderer, SDL2_mixer sound, and device input fed to the core.
#pragma once

#include <SDL.h>

#include "engine/backend.h"
#include "engine/gl/gl_renderer.h"
#include "engine/sdl/sdl_audio.h"

class tideSdlBackend final : public tideBackend {
public:
    ~tideSdlBackend() override { Shutdown(); }

    bool Init(tideCore* core) override;
    void Shutdown() override;
    bool PumpEvents() override;

    bool BeginScene(HTARGET target) override;
    void EndScene() override;
    void Clear(DWORD color) override { renderer.Clear(color); }
    void RenderQuad(const tideQuad& quad) override;
    bool Snapshot(const char* path) override;

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

    double Now() override;
    void Sleep(double seconds) override;

private:
    bool fail(const std::string& why);
    void handleInput(const SDL_Event& e);
    void moveMouse(int x, int y);
    void toggleFullscreen();
    void present(); // scales the frame into the window and shows it

    tideCore* core = nullptr;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool sdlStarted = false;
    int logicalW = 0, logicalH = 0;
    bool screenScene = false;
    bool presentable = false; // the window is shown somewhere
    tideGlRenderer renderer;
    tideSdlAudio audio;
    // The last texture handle drawn with, so runs of quads skip the lookup.
    HTEXTURE lastHandle = 0;
    tideTexture* lastTexture = nullptr;
};
