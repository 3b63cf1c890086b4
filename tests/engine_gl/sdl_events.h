// Mouse events as the window system delivers them, pushed into SDL's queue
// for a real-time engine's frame loop to read.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

inline void PushSdlEvent(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }

inline void PushLeftButton(bool down, int x, int y) {
    SDL_Event b{};
    b.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    b.button.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    b.button.button = SDL_BUTTON_LEFT;
    b.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    b.button.clicks = 1;
    b.button.x = x;
    b.button.y = y;
    PushSdlEvent(b);
}

// Both edges of a tap, in one frame's events.
inline void PushTap(int x, int y) {
    PushLeftButton(true, x, y);
    PushLeftButton(false, x, y);
}
