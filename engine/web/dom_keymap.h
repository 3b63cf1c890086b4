// Browser keyboard and mouse codes to the engine's virtual-key codes, the
// same codes the desktop build gives for the same keys.
#pragma once

// From KeyboardEvent.code ("KeyA", "ArrowLeft", "NumpadEnter", ...): the
// physical key, so layouts map as they do on the desktop. 0 when unknown.
int tideVkFromDomCode(const char* code);
// From KeyboardEvent.key and .code: a key that types a Latin letter by that
// letter, whatever its place (the desktop's layouts map letters so too),
// any other key by its place. 0 when unknown.
int tideVkFromDomKey(const char* key, const char* code);
// From a standard-mapping Gamepad's button index (0 A, 1 B, ... 15 D-pad
// right). 0 for buttons the engine has no code for.
int tideVkFromStandardPadButton(int index);
// From MouseEvent.button (0 left, 1 middle, 2 right). 0 when unknown.
int tideVkFromDomButton(int button);
