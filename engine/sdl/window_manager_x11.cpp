// X11: a window manager honours the full-screen state when it announces
// itself (_NET_SUPPORTING_WM_CHECK on the root window, naming a window that
// names itself back, so a manager that has quit does not count) and lists
// _NET_WM_STATE_FULLSCREEN among the hints it supports (_NET_SUPPORTED).
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "engine/sdl/window_manager.h"

namespace {

// A window named in a property may be gone by the time it is read: its
// BadWindow must not end the program through Xlib's default handler.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// The first item of a 32-bit property of type `type`, or 0.
unsigned long FirstItem(Display* d, Window w, Atom prop, Atom type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    unsigned long first = 0;
    if (XGetWindowProperty(d, w, prop, 0, 1, False, type, &actual, &format, &count, &after, &data) == Success &&
        actual == type && format == 32 && count == 1 && data)
        first = reinterpret_cast<unsigned long*>(data)[0];
    if (data) XFree(data);
    return first;
}

bool ManagerRuns(Display* d, Window root) {
    Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    Window child = FirstItem(d, root, check, XA_WINDOW);
    if (!child) return false;
    XErrorHandler old = XSetErrorHandler(IgnoreXError);
    Window self = FirstItem(d, child, check, XA_WINDOW);
    XSync(d, False);
    XSetErrorHandler(old);
    return self == child;
}

bool SupportsFullscreen(Display* d, Window root) {
    Atom supported = XInternAtom(d, "_NET_SUPPORTED", False);
    Atom fullscreen = XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    // The list is short (a few hundred atoms at most): read it whole.
    if (XGetWindowProperty(d, root, supported, 0, 4096, False, XA_ATOM, &actual, &format, &count, &after,
                           &data) == Success &&
        actual == XA_ATOM && format == 32 && data) {
        const Atom* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !found; ++i) found = atoms[i] == fullscreen;
    }
    if (data) XFree(data);
    return found;
}

}  // namespace

bool tideFullscreenHonoured(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    Display* d = info.info.x11.display;
    Window root = DefaultRootWindow(d);
    return ManagerRuns(d, root) && SupportsFullscreen(d, root);
}
