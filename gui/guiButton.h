// guiButton: the game's menu button. Drawn with a normal and a highlighted
// sprite, it plays its hover sound (the game gives it "button_over") when the
// mouse enters it and reports its action in the frame of the press.
#pragma once

#include "gui/gui.h"

class guiButton : public tideGUIObject {
public:
    // The sprites and the sound stay their owner's (the resource manager's).
    guiButton(int id, float x, float y, float w, float h, tideSprite* sprNorm, tideSprite* sprOver,
              HEFFECT sndOver = 0);
    ~guiButton() override;

    void Render() override;
    void MouseOver(bool over) override;
    bool MouseLButton(bool down) override;
    // Focus from the arrow keys shows as the highlight; Enter or Space press.
    void Focus(bool focused) override;
    bool KeyClick(int key, int chr) override;

    tideSprite* sprNorm;
    tideSprite* sprOver;
    HEFFECT sndOver;
    bool overed = false;
    bool keyfocus = false;  // focused, and not by the mouse
};
