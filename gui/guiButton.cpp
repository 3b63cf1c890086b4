#include "gui/guiButton.h"

#include "game/game.h"
#include "gfx/sprite.h"
#include "res/resource_manager.h"

guiButton::guiButton(int _id, float x, float y, float w, float h, tideSprite* _sprNorm,
                     tideSprite* _sprOver)
    : sprNorm(_sprNorm), sprOver(_sprOver)
{
    Setup(_id, x, y, w, h);
}

guiButton::~guiButton() {}

void guiButton::Render()
{
    tideSprite* spr = overed || keyfocus ? sprOver : sprNorm;
    if (spr) spr->Render(rect.x1, rect.y1);
}

void guiButton::MouseOver(bool over)
{
    if (!overed && over && cGame::resman)
        tide->Effect_Play(cGame::resman->GetEffect("button_over", 0));
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
