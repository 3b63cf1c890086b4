#include "gui/guiButton.h"

#include "gfx/sprite.h"

guiButton::guiButton(int _id, float x, float y, float w, float h, tideSprite* _sprNorm,
                     tideSprite* _sprOver, HEFFECT _sndOver)
    : sprNorm(_sprNorm), sprOver(_sprOver), sndOver(_sndOver)
{
    Setup(_id, x, y, w, h);
}

guiButton::~guiButton() {}

void guiButton::Render()
{
    tideSprite* spr = overed || (keyfocus && ShowsKeyFocus()) ? sprOver : sprNorm;
    if (spr) spr->Render(rect.x1, rect.y1);
}

void guiButton::MouseOver(bool over)
{
    if (!overed && over && sndOver) tide->Effect_Play(sndOver);
    overed = over;
}

bool guiButton::MouseLButton(bool down)
{
    // The manager focuses a clicked control first; that focus is the mouse's.
    keyfocus = false;
    return down;
}

void guiButton::Focus(bool focused) { keyfocus = focused; }

bool guiButton::KeyClick(int key, int chr)
{
    (void)chr;
    return key == TIDEK_ENTER || key == TIDEK_SPACE;
}
