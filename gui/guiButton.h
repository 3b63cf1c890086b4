// guiButton: the game's menu button. Drawn with a normal and a highlighted
// sprite from the resource manager, it plays "button_over" when the mouse
// enters it and reports its action in the frame of the press.
#pragma once

#include "gui/gui.h"

class guiButton : public tideGUIObject {
public:
    // The sprites stay the resource manager's.
    guiButton(int id, float x, float y, float w, float h, tideSprite* sprNorm, tideSprite* sprOver);
    ~guiButton() override;

    void Render() override;
    void MouseOver(bool over) override;
    bool MouseLButton(bool down) override;
    // Focus from the arrow keys shows as the highlight; Enter or Space press.
    void Focus(bool focused) override;
    bool KeyClick(int key, int chr) override;

    tideSprite* sprNorm;
    tideSprite* sprOver;
    bool overed = false;
    bool keyfocus = false;  // focused, and not by the mouse
};
