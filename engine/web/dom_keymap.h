// Browser keyboard and mouse codes to the engine's virtual-key codes, the
// same codes the desktop build gives for the same keys.
#pragma once

// From KeyboardEvent.code ("KeyA", "ArrowLeft", "NumpadEnter", ...): the
// physical key, so layouts map as they do on the desktop. 0 when unknown.
int tideVkFromDomCode(const char* code);
// From MouseEvent.button (0 left, 1 middle, 2 right). 0 when unknown.
int tideVkFromDomButton(int button);
