// Full screen on an X server without a window manager (Xvfb alone): nobody
// acts on SDL's request there, and SDL used to report the display's size
// while the window kept its own, so the frame showed zoomed and cropped. The
// window now covers the display itself, at the display's real size, and
// gives its place back on the next Alt+Enter.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/tide.h"
#include "tests/engine_gl/gl_engine.h"
#include "tests/engine_gl/sdl_events.h"
#include "tests/support/child_process.h"
#include "tests/support/test_support.h"

// Last: Xlib's macros (None, Bool, Status) would clash with names above.
#include <X11/Xlib.h>

namespace {

const char* const kXvfb = "/usr/bin/Xvfb";
const int kDisplayW = 800, kDisplayH = 600;

std::vector<std::function<void()>> steps;
size_t step = 0;

bool runStep() {
    if (step < steps.size()) steps[step++]();
    return step >= steps.size();
}

void pushAltEnter() {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = SDLK_RETURN;
    e.key.keysym.scancode = SDL_SCANCODE_RETURN;
    e.key.keysym.mod = KMOD_LALT;
    PushSdlEvent(e);
}

struct Box {
    int x = -1, y = -1, w = -1, h = -1;
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Box& b) {
    return o << b.w << "x" << b.h << " at " << b.x << "," << b.y;
}

// The one window shown on the display, as the X server has it.
Box ShownWindow(Display* d) {
    XSync(d, False);
    Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
    unsigned int n = 0;
    Box shown;
    if (!XQueryTree(d, root, &root, &parent, &children, &n)) return shown;
    for (unsigned int i = 0; i < n; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) shown = {a.x, a.y, a.width, a.height};
    }
    if (children) XFree(children);
    return shown;
}

// SDL's own idea of the window: its size and the size drawn into.
Box SdlWindow() {
    Box b;
    SDL_Window* w = SDL_GL_GetCurrentWindow();
    if (!w) return b;
    SDL_GetWindowPosition(w, &b.x, &b.y);
    SDL_GetWindowSize(w, &b.w, &b.h);
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(w, &dw, &dh);
    EXPECT_EQ(dw, b.w);
    EXPECT_EQ(dh, b.h);
    return b;
}

}  // namespace

TEST(Fullscreen, WithoutAWindowManagerTheWindowCoversTheDisplayAndComesBack) {
    if (!std::filesystem::exists(kXvfb)) GTEST_SKIP() << "no Xvfb here";
    ChildProcess xvfb;
    const std::string screen = std::to_string(kDisplayW) + "x" + std::to_string(kDisplayH) + "x24";
    ASSERT_TRUE(xvfb.Start(kXvfb, {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"}, 120));
    // Xvfb writes the number of the display it took, on a line of its own
    // (after any warnings of its own).
    std::string number, line;
    while (number.empty()) {
        std::string more = xvfb.Read(1);
        if (more.empty()) break;
        if (more != "\n") {
            line += more;
        } else {
            if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) number = line;
            line.clear();
        }
    }
    ASSERT_FALSE(number.empty()) << xvfb.out;
    const std::string display = ":" + number;
    ScopedEnv env{{"DISPLAY", display.c_str()}, {"SDL_VIDEODRIVER", "x11"}, {"WAYLAND_DISPLAY", nullptr}};
    Display* x = XOpenDisplay(display.c_str());
    ASSERT_NE(x, nullptr);

    const Box full{0, 0, kDisplayW, kDisplayH};
    for (bool startFull : {false, true}) {
        SCOPED_TRACE(startFull ? "started full screen" : "started in a window");
        std::string dir = MakeTempDir();
        Tide* tide = tideCreate(TIDE_VERSION);
        tide->System_SetState(TIDE_MANUALCLOCK, false);
        tide->System_SetState(TIDE_DATAPATH, dir.c_str());
        tide->System_SetState(TIDE_SCREENWIDTH, 320);
        tide->System_SetState(TIDE_SCREENHEIGHT, 240);
        tide->System_SetState(TIDE_USESOUND, false);
        tide->System_SetState(TIDE_WINDOWED, !startFull);
        tide->System_SetState(TIDE_FRAMEFUNC, runStep);
        ASSERT_TRUE(tide->System_Initiate()) << tide->System_GetErrorMessage();
        const Box window{-1, -1, 320, 240};
        // The shown window matches SDL's idea of it, and `want` (its place
        // too, when `want` has one).
        auto expect = [&](const Box& want) {
            Box shown = ShownWindow(x);
            EXPECT_EQ(shown, SdlWindow());
            EXPECT_EQ(shown.w, want.w);
            EXPECT_EQ(shown.h, want.h);
            if (want.x >= 0) {
                EXPECT_EQ(shown, want);
            }
            return shown;
        };
        auto settle = [] {};
        Box before;
        steps = {
            [&] {
                before = expect(startFull ? full : window);
                pushAltEnter();
            },
            settle, settle,
            [&] {
                expect(startFull ? window : full);
                pushAltEnter();
            },
            settle, settle,
            [&] { expect(before); },
        };
        step = 0;
        tide->System_Start();
        tide->System_Shutdown();
        tide->Release();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    XCloseDisplay(x);
    xvfb.Kill();
}
