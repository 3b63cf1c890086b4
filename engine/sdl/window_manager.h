// Whether the desktop puts a window into full screen when SDL asks it to.
// Under X11 that is the window manager's work (the EWMH full-screen state):
// with none running, or one that lacks the state, SDL reports the display's
// size while the window keeps its own, and a frame scaled to the reported
// size shows zoomed and cropped. The backend then covers the display with a
// borderless window itself.
#pragma once

#include <SDL.h>

bool tideFullscreenHonoured(SDL_Window* window);
