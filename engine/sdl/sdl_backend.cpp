#include "engine/sdl/sdl_backend.h"

#include <SDL_image.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdlib>

#include "engine/clock.h"
#include "engine/core.h"
#include "engine/files.h"
#include "engine/sdl/keymap.h"
#include "engine/sdl/window_manager.h"

namespace {

[[maybe_unused]] bool envSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

} // namespace

tideBackend* tideCreateDeviceBackend() { return new tideSdlBackend(); }

bool tideSdlBackend::fail(const std::string& why) {
    core->SetError(why);
    Shutdown();
    return false;
}

bool tideSdlBackend::Init(tideCore* c) {
    core = c;
    logicalW = core->System_GetState(TIDE_SCREENWIDTH);
    logicalH = core->System_GetState(TIDE_SCREENHEIGHT);

#ifndef _WIN32
    // Without a display SDL would try Wayland first and complain before it
    // falls through; the offscreen driver still gives a real GL context.
    if (!envSet("SDL_VIDEODRIVER") && !envSet("DISPLAY") && !envSet("WAYLAND_DISPLAY"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
#endif
    // Windows: the program is per-monitor DPI aware (its manifest); SDL then
    // sizes the window in points, as elsewhere, with the drawable in pixels.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
    // SDL turns SIGINT/SIGTERM into a quit event, which a scripted run never
    // acts on: let signals end such runs as usual.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, core->Manual() ? "1" : "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return fail(std::string("SDL_Init: ") + SDL_GetError());
    sdlStarted = true;
    // Pads already plugged in announce themselves with the same event as
    // those plugged in later. A machine without the subsystem plays on.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        core->LogLine(std::string("Gamepads: not available (") + SDL_GetError() + ")");

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0); // depth lives in the frame's own buffer

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE;
    if (!core->System_GetState(TIDE_WINDOWED)) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window = SDL_CreateWindow(core->System_GetState(TIDE_TITLE), SDL_WINDOWPOS_CENTERED,
                              SDL_WINDOWPOS_CENTERED, logicalW, logicalH, flags);
    if (!window) return fail(std::string("SDL_CreateWindow: ") + SDL_GetError());
    context = SDL_GL_CreateContext(window);
    if (!context)
        return fail(std::string("cannot create an OpenGL 3.3 context: ") + SDL_GetError());
    if ((flags & SDL_WINDOW_FULLSCREEN_DESKTOP) && !tideFullscreenHonoured(window)) {
        SDL_SetWindowFullscreen(window, 0);
        windowed = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, logicalW, logicalH};
        coverDisplay();
    }
    SDL_GL_MakeCurrent(window, context);
    // Where a display shows the frames, its vertical blank sets the rate
    // (tear-free); elsewhere, and in scripted runs, the core paces the frames.
    vsync = false;
    if (!core->Manual() && SDL_strcmp(SDL_GetCurrentVideoDriver(), "offscreen") != 0)
        vsync = SDL_GL_SetSwapInterval(1) == 0;
    if (!vsync) SDL_GL_SetSwapInterval(0);

    std::string error;
    if (!renderer.Init(logicalW, logicalH, core->System_GetState(TIDE_TEXTUREFILTER), &error))
        return fail("OpenGL: " + error);
    // Scripted runs record every quad in the engine, so they take no shortcut.
    renderer.SetRun(core->Manual() ? nullptr : run);

    // Nobody sees an offscreen window: scaling the frame into it would only
    // cost a full-frame pass.
    presentable = SDL_strcmp(SDL_GetCurrentVideoDriver(), "offscreen") != 0;
    // The first present sets up the window system's side (hundreds of
    // milliseconds under X): pay for it here, not in the game's first frame.
    if (presentable) present();
    SDL_ShowCursor(core->System_GetState(TIDE_HIDEMOUSE) ? SDL_DISABLE : SDL_ENABLE);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    core->LogLine(std::string("Video: ") + SDL_GetCurrentVideoDriver() + " driver, window " +
                  std::to_string(ww) + "x" + std::to_string(wh) + ", OpenGL " +
                  reinterpret_cast<const char*>(glGetString(GL_VERSION)) + " on " +
                  reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    if (core->System_GetState(TIDE_USESOUND)) {
        std::string why;
        if (sdlAudio.Open(core->System_GetState(TIDE_SAMPLERATE), &why))
            core->LogLine("Sound: SDL_mixer on the " + sdlAudio.Driver() + " audio driver");
        else
            core->LogLine("Sound: no audio device (" + why + "), running without sound");
    }
    return true;
}

void tideSdlBackend::Shutdown() {
    sdlAudio.Close();
    for (auto& [id, pad] : pads) SDL_GameControllerClose(pad);
    pads.clear();
    if (context) {
        SDL_GL_MakeCurrent(window, context);
        renderer.Shutdown();
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
    presentable = false;
    if (sdlStarted) SDL_Quit();
    sdlStarted = false;
    ForgetLastTexture();
}

bool tideSdlBackend::PumpEvents() {
    bool open = true;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_QUIT ||
            (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE))
            open = false;
        // Scripted runs take their input from the script alone.
        else if (!core->Manual())
            handleInput(e);
    }
    return open;
}

void tideSdlBackend::handleInput(const SDL_Event& e) {
    tideInput& in = core->Input();
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const bool down = e.type == SDL_KEYDOWN;
            const int vk = tideVkFromSdlKeysym(e.key.keysym);
            if (down && vk == TIDEK_ENTER && (e.key.keysym.mod & KMOD_ALT)) {
                if (!e.key.repeat) toggleFullscreen();
                break; // the game never sees the Enter of Alt+Enter
            }
            if (!vk) break;
            // Auto-repeats reach Input_GetKey at the desktop's rate, so held
            // navigation keys repeat; the input state keeps them from KeyDown.
            in.KeyEvent(vk, down);
            if (down) in.CharEvent(tideControlCharFromVk(vk));
            break;
        }
        case SDL_TEXTINPUT:
            for (const char* p = e.text.text; *p; p++) {
                unsigned char c = static_cast<unsigned char>(*p);
                if (c >= 32 && c < 127) in.CharEvent(c);
            }
            break;
        // SDL gives a finger on a touch screen as the left mouse button too,
        // marked as coming from touch.
        case SDL_MOUSEMOTION: {
            float x = 0, y = 0;
            toLogical(e.motion.x, e.motion.y, &x, &y);
            if (e.motion.which == SDL_TOUCH_MOUSEID)
                in.TouchMove(x, y);
            else
                in.MouseMove(x, y);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            float x = 0, y = 0;
            toLogical(e.button.x, e.button.y, &x, &y);
            if (e.button.which == SDL_TOUCH_MOUSEID) {
                if (e.button.button == SDL_BUTTON_LEFT) in.TouchEvent(x, y, down);
                break;
            }
            in.MouseMove(x, y);
            if (int vk = tideVkFromSdlButton(e.button.button)) in.KeyEvent(vk, down);
            break;
        }
        case SDL_CONTROLLERDEVICEADDED: openPad(e.cdevice.which); break;
        case SDL_CONTROLLERDEVICEREMOVED: closePad(e.cdevice.which); break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (int vk = tideVkFromSdlPadButton(e.cbutton.button))
                in.KeyEvent(vk, e.type == SDL_CONTROLLERBUTTONDOWN);
            break;
        case SDL_CONTROLLERAXISMOTION: {
            const float v = e.caxis.value / 32767.0f;
            switch (e.caxis.axis) {
                case SDL_CONTROLLER_AXIS_LEFTX: in.PadAxisEvent(tideInput::AXIS_STICK_X, v); break;
                case SDL_CONTROLLER_AXIS_LEFTY: in.PadAxisEvent(tideInput::AXIS_STICK_Y, v); break;
                case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
                    in.PadAxisEvent(tideInput::AXIS_LEFT_TRIGGER, v);
                    break;
                case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
                    in.PadAxisEvent(tideInput::AXIS_RIGHT_TRIGGER, v);
                    break;
                default: break;
            }
            break;
        }
        case SDL_MOUSEWHEEL:
            in.WheelEvent(e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y);
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_ENTER) in.SetMouseOver(true);
            if (e.window.event == SDL_WINDOWEVENT_LEAVE) in.SetMouseOver(false);
            // Keys let go while another window had focus would stay held.
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) in.ReleaseAll();
            break;
        default: break;
    }
}

void tideSdlBackend::toLogical(int x, int y, float* lx, float* ly) {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    tideLetterbox::Fit(ww, wh, logicalW, logicalH).ToLogical(float(x), float(y), logicalW,
                                                              logicalH, lx, ly);
}

void tideSdlBackend::openPad(int deviceIndex) {
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (!pad) {
        core->LogLine(std::string("Gamepad: cannot open (") + SDL_GetError() + ")");
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    if (pads.count(id)) {
        SDL_GameControllerClose(pad); // announced twice: keep the one reference
        return;
    }
    pads[id] = pad;
    const char* name = SDL_GameControllerName(pad);
    core->LogLine(std::string("Gamepad: ") + (name ? name : "unnamed") + " connected");
}

void tideSdlBackend::closePad(SDL_JoystickID id) {
    auto it = pads.find(id);
    if (it == pads.end()) return;
    SDL_GameControllerClose(it->second);
    pads.erase(it);
    // Buttons held on the pad that left would stay held.
    core->Input().ReleasePad();
    core->LogLine("Gamepad: disconnected");
}

void tideSdlBackend::toggleFullscreen() {
    if (covering) {
        uncoverDisplay();
    } else if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowFullscreen(window, 0);
    } else if (tideFullscreenHonoured(window)) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_GetWindowPosition(window, &windowed.x, &windowed.y);
        SDL_GetWindowSize(window, &windowed.w, &windowed.h);
        coverDisplay();
    }
}

void tideSdlBackend::coverDisplay() {
    SDL_Rect display;
    if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window), 0), &display) != 0) {
        core->LogLine(std::string("Full screen: no display size (") + SDL_GetError() + ")");
        return;
    }
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, display.x, display.y);
    SDL_SetWindowSize(window, display.w, display.h);
    covering = true;
    core->LogLine("Full screen: no window manager to ask, the window covers the display (" +
                  std::to_string(display.w) + "x" + std::to_string(display.h) + ")");
}

void tideSdlBackend::uncoverDisplay() {
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, windowed.w, windowed.h);
    SDL_SetWindowPosition(window, windowed.x, windowed.y);
    covering = false;
}

void tideSdlBackend::EndScene() {
    renderer.EndScene();
    const bool toWindow = screenScene && presentable;
    screenScene = false;
    if (toWindow) present();
}

void tideSdlBackend::present() {
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    renderer.Present(tideLetterbox::Fit(dw, dh, logicalW, logicalH), dw, dh);
    SDL_GL_SwapWindow(window);
}

namespace {

// An SDL stream that only writes, into a file being saved.
SDL_RWops* SinkStream(const tideFileSink& out) {
    SDL_RWops* rw = SDL_AllocRW();
    if (!rw) return nullptr;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->hidden.unknown.data1 = const_cast<tideFileSink*>(&out);
    rw->size = [](SDL_RWops*) -> Sint64 { return -1; };
    rw->seek = [](SDL_RWops*, Sint64, int) -> Sint64 { return SDL_SetError("not seekable"); };
    rw->read = [](SDL_RWops*, void*, size_t, size_t) -> size_t { return 0; };
    rw->write = [](SDL_RWops* c, const void* data, size_t size, size_t n) -> size_t {
        const auto& sink = *static_cast<const tideFileSink*>(c->hidden.unknown.data1);
        return sink(data, size * n) ? n : 0;
    };
    rw->close = [](SDL_RWops* c) {
        SDL_FreeRW(c);
        return 0;
    };
    return rw;
}

}  // namespace

// Encoded as it is written, through a temporary file: a snapshot is never
// half a picture, and never held whole in memory beside the frame.
bool tideSdlBackend::Snapshot(const char* path) {
    std::vector<uint8_t> rgba;
    if (!ReadOpaqueScreen(&rgba)) return false;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), logicalW, logicalH, 32,
                                                        logicalW * 4, SDL_PIXELFORMAT_RGBA32);
    std::string encoder;
    tideFileStatus st = tideWriteFileAtomic(path, [&](const tideFileSink& out) {
        SDL_RWops* rw = s ? SinkStream(out) : nullptr;
        if (rw && IMG_SavePNG_RW(s, rw, 1) == 0) return true;
        encoder = SDL_GetError();
        return false;
    });
    SDL_FreeSurface(s);
    if (!st) core->LogLine("Can't write snapshot: " + st.why + (encoder.empty() ? "" : " (" + encoder + ")"));
    return bool(st);
}

bool tideSdlBackend::Visible() {
    return window && !(SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED));
}

double tideSdlBackend::VsyncRate() {
    if (!vsync || !window) return 0;
    // Asked each time: the window may have moved to another display.
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
    return mode.refresh_rate > 0 ? mode.refresh_rate : 0;
}

double tideSdlBackend::Now() { return tideClockMs(); }

void tideSdlBackend::Sleep(double seconds) { tideClockSleep(seconds); }
