// The real device backend: an SDL2 window with an OpenGL 3.3 context (the
// "offscreen" video driver when there is no display), the batched GL quad
// renderer, SDL2_mixer sound, and device input fed to the core.
#pragma once

#include <SDL.h>

#include <map>

#include "engine/gl/gl_backend.h"
#include "engine/sdl/sdl_audio.h"

class tideSdlBackend final : public tideGlBackend {
public:
    tideSdlBackend() : tideGlBackend(sdlAudio) {}
    ~tideSdlBackend() override { Shutdown(); }

    bool Init(tideCore* core) override;
    void Shutdown() override;
    bool PumpEvents() override;

    void EndScene() override;
    bool Snapshot(const char* path) override;

    double Now() override;
    void Sleep(double seconds) override;
    bool Visible() override;
    double VsyncRate() override;

private:
    bool fail(const std::string& why);
    void handleInput(const SDL_Event& e);
    void toLogical(int x, int y, float* lx, float* ly); // window to frame pixels
    void openPad(int deviceIndex);
    void closePad(SDL_JoystickID id);
    void toggleFullscreen();
    // Full screen where the desktop will not do it (sdl/window_manager.h): a
    // borderless window over the whole display, and back to `windowed`.
    void coverDisplay();
    void uncoverDisplay();
    void present(); // scales the frame into the window and shows it

    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool sdlStarted = false;
    bool presentable = false; // the window is shown somewhere
    bool vsync = false;       // swaps wait for the display's vertical blank
    bool covering = false;    // full screen by coverDisplay
    SDL_Rect windowed{};      // the window's place before it covered the display
    tideSdlAudio sdlAudio;
    std::map<SDL_JoystickID, SDL_GameController*> pads; // open game controllers
};
