#include "engine/web/web_backend.h"

#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include "engine/core.h"
#include "engine/gl/gl_api.h"
#include "engine/paths.h"
#include "engine/web/dom_keymap.h"

namespace {

const char* kCanvas = "#canvas";
// The longest frame the game is told about, as on the desktop: a tab in the
// background gets no frames at all, and coming back must not jump the game.
const double kMaxFrameTime = 0.1;

tideWebBackend* self(void* user) { return static_cast<tideWebBackend*>(user); }

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* e, void* user) {
    const int vk = self(user)->KeyCode(e->key, e->code, type == EMSCRIPTEN_EVENT_KEYDOWN);
    if (!vk) return EM_FALSE;
    self(user)->Key(vk, type == EMSCRIPTEN_EVENT_KEYDOWN, e->repeat, e->altKey);
    // Leave the browser's own shortcuts (reload, full screen, developer tools) alone.
    const bool browserKey = e->ctrlKey || e->metaKey || (vk >= TIDEK_F1 && vk <= TIDEK_F1 + 11);
    // Printable keys must reach keypress, which brings their character.
    return browserKey || e->key[1] == 0 ? EM_FALSE : EM_TRUE;
}

EM_BOOL onKeyPress(int, const EmscriptenKeyboardEvent* e, void* user) {
    if (e->charCode >= 32 && e->charCode < 127) self(user)->Char(int(e->charCode));
    return EM_FALSE;
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* e, void* user) {
    tideWebBackend* b = self(user);
    switch (type) {
        case EMSCRIPTEN_EVENT_MOUSEMOVE: b->MouseMove(e->targetX, e->targetY); break;
        case EMSCRIPTEN_EVENT_MOUSEDOWN:
        case EMSCRIPTEN_EVENT_MOUSEUP:
            b->MouseMove(e->targetX, e->targetY);
            b->MouseButton(e->button, type == EMSCRIPTEN_EVENT_MOUSEDOWN);
            break;
        case EMSCRIPTEN_EVENT_MOUSEENTER: b->MouseOver(true); break;
        case EMSCRIPTEN_EVENT_MOUSELEAVE: b->MouseOver(false); break;
        default: return EM_FALSE;
    }
    return EM_TRUE;
}

// A finger is the left button at its point; the page's own handling (scroll,
// zoom, the mouse events browsers make up from taps) is kept off the canvas.
EM_BOOL onTouch(int type, const EmscriptenTouchEvent* e, void* user) {
    for (int i = 0; i < e->numTouches; i++) {
        const EmscriptenTouchPoint& t = e->touches[i];
        if (!t.isChanged) continue;
        self(user)->Touch(type, int(t.identifier), t.targetX, t.targetY);
    }
    return EM_TRUE;
}

EM_BOOL onWheel(int, const EmscriptenWheelEvent* e, void* user) {
    self(user)->Wheel(e->deltaY);
    return EM_TRUE;
}

EM_BOOL onBlur(int, const EmscriptenFocusEvent*, void* user) {
    self(user)->FocusLost();
    return EM_FALSE;
}

EM_BOOL onContextLost(int, const void*, void*) {
    EM_ASM({ if (Module['thalomirFailed']) Module['thalomirFailed']('The WebGL context was lost. Reload the page to play on.'); });
    return EM_TRUE;
}

}  // namespace

tideBackend* tideCreateDeviceBackend() { return new tideWebBackend(); }

bool tideWebBackend::fail(const std::string& why) {
    core->SetError(why);
    Shutdown();
    return false;
}

bool tideWebBackend::Init(tideCore* c) {
    core = c;
    // Each tab holds its own copy of the files: a second tab of the game
    // plays on what the first one saved, but saves nothing over it (the page
    // tells the player so).
    if (EM_ASM_INT({ return Module['thalomirElsewhere'] ? 1 : 0; })) {
        for (tideStringState folder : {TIDE_CONFIGDIR, TIDE_USERDATADIR, TIDE_STATEDIR})
            tideRefuseWritesUnder(core->System_GetState(folder), "the game is open in another tab");
        core->LogLine("The game is open in another tab: this one saves nothing");
    }
    logicalW = core->System_GetState(TIDE_SCREENWIDTH);
    logicalH = core->System_GetState(TIDE_SCREENHEIGHT);

    EmscriptenWebGLContextAttributes attrs;
    emscripten_webgl_init_context_attributes(&attrs);
    attrs.majorVersion = 2;
    attrs.minorVersion = 0;
    attrs.alpha = EM_FALSE;
    attrs.depth = EM_FALSE; // depth lives in the frame's own buffer
    attrs.stencil = EM_FALSE;
    attrs.antialias = EM_FALSE;
    attrs.premultipliedAlpha = EM_FALSE;
    context = emscripten_webgl_create_context(kCanvas, &attrs);
    if (context <= 0) return fail("this browser offers no WebGL 2");
    emscripten_webgl_make_context_current(context);
    fitCanvas();

    std::string error;
    if (!renderer.Init(logicalW, logicalH, core->System_GetState(TIDE_TEXTUREFILTER), &error))
        return fail("WebGL: " + error);
    renderer.SetRun(core->Manual() ? nullptr : run);
    core->LogLine(std::string("Video: WebGL 2, canvas ") + std::to_string(drawW) + "x" +
                  std::to_string(drawH) + ", " +
                  reinterpret_cast<const char*>(glGetString(GL_VERSION)) + " on " +
                  reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    const char* win = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(win, this, EM_TRUE, onKey);
    emscripten_set_keyup_callback(win, this, EM_TRUE, onKey);
    emscripten_set_keypress_callback(win, this, EM_TRUE, onKeyPress);
    emscripten_set_mousemove_callback(kCanvas, this, EM_TRUE, onMouse);
    emscripten_set_mousedown_callback(kCanvas, this, EM_TRUE, onMouse);
    emscripten_set_mouseup_callback(kCanvas, this, EM_TRUE, onMouse);
    emscripten_set_mouseenter_callback(kCanvas, this, EM_TRUE, onMouse);
    emscripten_set_mouseleave_callback(kCanvas, this, EM_TRUE, onMouse);
    emscripten_set_wheel_callback(kCanvas, this, EM_TRUE, onWheel);
    emscripten_set_touchstart_callback(kCanvas, this, EM_TRUE, onTouch);
    emscripten_set_touchmove_callback(kCanvas, this, EM_TRUE, onTouch);
    emscripten_set_touchend_callback(kCanvas, this, EM_TRUE, onTouch);
    emscripten_set_touchcancel_callback(kCanvas, this, EM_TRUE, onTouch);
    emscripten_set_blur_callback(win, this, EM_TRUE, onBlur);
    emscripten_set_webglcontextlost_callback(kCanvas, this, EM_TRUE,
                                             reinterpret_cast<em_webgl_context_callback>(onContextLost));
    if (core->System_GetState(TIDE_HIDEMOUSE))
        EM_ASM({ document.querySelector(UTF8ToString($0)).style.cursor = 'none'; }, kCanvas);

    if (core->System_GetState(TIDE_USESOUND)) {
        if (webAudio.Open())
            core->LogLine("Sound: Web Audio, starting with the first click or key");
        else
            core->LogLine("Sound: this browser offers no Web Audio, running without sound");
    }
    return true;
}

void tideWebBackend::Shutdown() {
    webAudio.Close();
    if (context > 0) {
        emscripten_html5_remove_all_event_listeners();
        emscripten_webgl_make_context_current(context);
        renderer.Shutdown();
        emscripten_webgl_destroy_context(context);
    }
    context = 0;
    ForgetLastTexture();
}

bool tideWebBackend::PumpEvents() {
    // The HTML5 callbacks deliver events as they come, between frames; pads
    // are only ever read, so they are read here.
    if (!core->Manual()) pollPads();
    return true;
}

void tideWebBackend::pollPads() {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    const int count = std::min(emscripten_get_num_gamepads(), kMaxPads);
    tideInput& in = core->Input();
    for (int p = 0; p < kMaxPads; p++) {
        EmscriptenGamepadEvent pad;
        const bool standard = p < count &&
                              emscripten_get_gamepad_status(p, &pad) == EMSCRIPTEN_RESULT_SUCCESS &&
                              pad.connected && std::strcmp(pad.mapping, "standard") == 0;
        PadState now;
        if (standard) {
            for (int b = 0; b < pad.numButtons && b < 32; b++)
                if (pad.digitalButton[b]) now.buttons |= 1u << b;
            now.x = pad.numAxes > 0 ? float(pad.axis[0]) : 0;
            now.y = pad.numAxes > 1 ? float(pad.axis[1]) : 0;
        }
        PadState& was = padState[p];
        if (!standard && was.connected) in.ReleasePad(); // unplugged
        now.connected = standard;
        for (int b = 0; b < 32; b++) {
            const bool on = (now.buttons >> b) & 1u, before = (was.buttons >> b) & 1u;
            if (on != before)
                if (int vk = tideVkFromStandardPadButton(b)) in.KeyEvent(vk, on);
        }
        if (now.x != was.x) in.PadAxisEvent(tideInput::AXIS_STICK_X, now.x);
        if (now.y != was.y) in.PadAxisEvent(tideInput::AXIS_STICK_Y, now.y);
        was = now;
    }
}

int tideWebBackend::KeyCode(const char* key, const char* code, bool down) {
    // A key goes up under the code it went down with, whatever the
    // modifiers held meanwhile made of its character.
    const std::string place = code ? code : "";
    if (!down) {
        auto it = keyCodes.find(place);
        if (it != keyCodes.end()) {
            const int vk = it->second;
            keyCodes.erase(it);
            return vk;
        }
        return tideVkFromDomCode(code);
    }
    const int vk = tideVkFromDomKey(key, code);
    if (vk) keyCodes[place] = vk;
    return vk;
}

void tideWebBackend::Touch(int type, int finger, double cssX, double cssY) {
    if (core->Manual()) return;
    float lx = 0, ly = 0;
    toLogical(cssX, cssY, &lx, &ly);
    tideInput& in = core->Input();
    // One finger plays; others are ignored until it lifts.
    if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
        if (playingFinger >= 0) return;
        playingFinger = finger;
        in.TouchEvent(lx, ly, true);
    } else if (finger != playingFinger) {
        return;
    } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
        in.TouchMove(lx, ly);
    } else {
        playingFinger = -1;
        in.TouchEvent(lx, ly, false);
    }
}

void tideWebBackend::fitCanvas() {
    emscripten_get_element_css_size(kCanvas, &cssW, &cssH);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int w = std::max(1, int(cssW * ratio + 0.5)), h = std::max(1, int(cssH * ratio + 0.5));
    if (w != drawW || h != drawH) emscripten_set_canvas_element_size(kCanvas, w, h);
    drawW = w;
    drawH = h;
}

void tideWebBackend::Key(int vk, bool down, bool repeat, bool alt) {
    if (core->Manual()) return;
    tideInput& in = core->Input();
    if (down && vk == TIDEK_ENTER && alt) {
        if (!repeat)
            EM_ASM({
                if (document.fullscreenElement) document.exitFullscreen();
                else if (Module['thalomirFullscreen']) Module['thalomirFullscreen']();
            });
        return; // the game never sees the Enter of Alt+Enter
    }
    // Auto-repeats reach Input_GetKey as on the desktop; the input state
    // keeps them from KeyDown.
    in.KeyEvent(vk, down);
    // Control keys bring their ASCII code as a character, which equals the key code.
    if (down && (vk == TIDEK_BACKSPACE || vk == TIDEK_TAB || vk == TIDEK_ENTER || vk == TIDEK_ESCAPE))
        in.CharEvent(vk);
}

void tideWebBackend::Char(int c) {
    if (!core->Manual()) core->Input().CharEvent(c);
}

void tideWebBackend::toLogical(double cssX, double cssY, float* lx, float* ly) {
    tideLetterbox::Fit(int(cssW + 0.5), int(cssH + 0.5), logicalW, logicalH)
        .ToLogical(float(cssX), float(cssY), logicalW, logicalH, lx, ly);
}

void tideWebBackend::MouseMove(double x, double y) {
    if (core->Manual()) return;
    float lx = 0, ly = 0;
    toLogical(x, y, &lx, &ly);
    core->Input().MouseMove(lx, ly);
}

void tideWebBackend::MouseButton(int domButton, bool down) {
    if (core->Manual()) return;
    if (int vk = tideVkFromDomButton(domButton)) core->Input().KeyEvent(vk, down);
}

void tideWebBackend::Wheel(double deltaY) {
    // Browsers report scrolling down as a positive delta; the engine, one notch up as +1.
    if (!core->Manual() && deltaY != 0) core->Input().WheelEvent(deltaY < 0 ? 1 : -1);
}

void tideWebBackend::MouseOver(bool over) {
    if (!core->Manual()) core->Input().SetMouseOver(over);
}

void tideWebBackend::FocusLost() {
    // Keys let go while another window had focus would stay held.
    core->Input().ReleaseAll();
    keyCodes.clear();
    playingFinger = -1;
}

void tideWebBackend::EndScene() {
    renderer.EndScene();
    if (!screenScene) return;
    screenScene = false;
    fitCanvas();
    // The browser shows the canvas when the frame callback returns.
    renderer.Present(tideLetterbox::Fit(drawW, drawH, logicalW, logicalH), drawW, drawH);
}

bool tideWebBackend::Snapshot(const char* path) {
    std::vector<uint8_t> rgba;
    if (!ReadOpaqueScreen(&rgba)) return false;
    std::string png;
    auto append = [](void* to, void* data, int size) {
        static_cast<std::string*>(to)->append(static_cast<const char*>(data), size_t(size));
    };
    bool ok = stbi_write_png_to_func(append, &png, logicalW, logicalH, 4, rgba.data(),
                                     logicalW * 4) != 0 &&
              tideWriteFileAtomic(path, png);
    if (!ok) core->LogLine(std::string("Can't write snapshot: ") + path);
    return ok;
}

double tideWebBackend::Now() { return emscripten_get_now(); }

namespace {

struct Loop {
    tideCore* core = nullptr;
    double last = 0;
    int frames = 0;
};
Loop loop;

void frame() {
    const double now = emscripten_get_now();
    // Tests may ask for every frame to last 1/60 s, whatever the clock says.
    const bool fixedStep = EM_ASM_INT({ return Module['thalomirFixedStep'] ? 1 : 0; }) != 0;
    double dt = fixedStep ? 1.0 / 60.0 : std::min((now - loop.last) / 1000.0, kMaxFrameTime);
    loop.last = now;
    const bool quit = loop.core->Frame(float(dt));
    loop.frames++;
    const double work = emscripten_get_now() - now;
    // The page shows progress and tests follow the game through this.
    EM_ASM({ if (Module['thalomirFrame']) Module['thalomirFrame']($0, $1); }, loop.frames, work);
    if (quit) {
        emscripten_cancel_main_loop();
        EM_ASM({ if (Module['thalomirQuit']) Module['thalomirQuit'](); });
    }
}

}  // namespace

void tideWebRunLoop(tideCore* core) {
    loop.core = core;
    loop.last = emscripten_get_now();
    // 0 frames a second: on the display's refresh (requestAnimationFrame).
    emscripten_set_main_loop(frame, 0, 1);
}

// Lets the page's tests take the game's own frame as a PNG file.
extern "C" EMSCRIPTEN_KEEPALIVE int tideWebSnapshot(const char* path) {
    return loop.core && loop.core->Gfx_Snapshot(path) ? 1 : 0;
}
