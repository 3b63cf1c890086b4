#include "gfx/sprite.h"
#include "gui/controls.h"

tideGUIButton::tideGUIButton(int _id, float x, float y, float w, float h, HTEXTURE tex,
                             float tx, float ty)
    : sprNormal(new tideSprite(tex, tx, ty, w, h)),
      sprPressed(new tideSprite(tex, tx + w, ty, w, h))
{
    Setup(_id, x, y, w, h);
}

tideGUIButton::~tideGUIButton()
{
    delete sprNormal;
    delete sprPressed;
}

void tideGUIButton::Render() { (bDown ? sprPressed : sprNormal)->Render(rect.x1, rect.y1); }

bool tideGUIButton::MouseLButton(bool down)
{
    if (down) {
        bDownBefore = bDown;
        bDown = true;
        return false;
    }
    bDown = bToggle ? !bDownBefore : false;
    return true;
}
