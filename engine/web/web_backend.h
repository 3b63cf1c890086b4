// The browser backend: a WebGL 2 context on the page's canvas drawn by the
// shared GL renderer, Web Audio sound, and HTML5 input fed to the core. The
// canvas fills the page; the frame is letterboxed into it.
#pragma once

#include <emscripten/html5.h>

#include <map>
#include <string>

#include "engine/gl/gl_backend.h"
#include "engine/web/web_audio.h"

class tideWebBackend final : public tideGlBackend {
public:
    tideWebBackend() : tideGlBackend(webAudio) {}
    ~tideWebBackend() override { Shutdown(); }

    bool Init(tideCore* core) override;
    void Shutdown() override;
    bool PumpEvents() override;

    void EndScene() override;
    bool Snapshot(const char* path) override;

    double Now() override;
    void Sleep(double) override {} // the browser paces frames

    // Device events, from the HTML5 callbacks.
    int KeyCode(const char* key, const char* code, bool down); // the key's engine code
    void Key(int vk, bool down, bool repeat, bool alt);
    void Char(int c);
    void MouseMove(double cssX, double cssY);
    void MouseButton(int domButton, bool down);
    void Wheel(double deltaY);
    void MouseOver(bool over);
    void FocusLost();
    void Touch(int eventType, int finger, double cssX, double cssY);

private:
    bool fail(const std::string& why);
    void fitCanvas(); // drawing buffer follows the canvas's displayed size
    void toLogical(double cssX, double cssY, float* lx, float* ly);
    void pollPads();  // standard-mapping gamepads into the input state

    static const int kMaxPads = 4;
    struct PadState {
        bool connected = false;
        unsigned buttons = 0; // bit per standard button
        float x = 0, y = 0;   // left stick
    };
    PadState padState[kMaxPads];
    std::map<std::string, int> keyCodes; // held keys' codes by KeyboardEvent.code
    int playingFinger = -1;                    // the touch that plays, -1 none

    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    int drawW = 0, drawH = 0;       // canvas drawing buffer
    double cssW = 0, cssH = 0;      // canvas as displayed
    tideWebAudio webAudio;
};

// Hands the frame loop to the browser: every display refresh runs one frame
// of the core. Never returns (the page keeps running after main).
void tideWebRunLoop(tideCore* core);
