// Translation of SDL key and mouse-button codes to the Windows virtual-key
// codes the engine's input state is kept in.
#pragma once

#include <SDL.h>

// The virtual-key code of a key, 0 for keys the engine has no code for.
int tideVkFromSdlKey(SDL_Keycode key);
// The same for a pressed key: a letter key by the letter the layout gives it,
// and a key whose layout gives no Latin letter or digit (a Cyrillic or Greek
// layout) by its place on the keyboard.
int tideVkFromSdlKeysym(const SDL_Keysym& key);
// The gamepad key of a game controller button (SDL_CONTROLLER_BUTTON_*), 0
// for buttons the engine has no code for.
int tideVkFromSdlPadButton(Uint8 button);
// The virtual-key code of a mouse button (left 1, right 2, middle 4), 0 for others.
int tideVkFromSdlButton(Uint8 button);
// The character a key types that SDL reports as no text (Backspace, Tab,
// Enter, Escape), 0 for every other key.
int tideControlCharFromVk(int vk);
