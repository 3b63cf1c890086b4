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

    tideSprite* sprNorm;
    tideSprite* sprOver;
    bool overed = false;
};
