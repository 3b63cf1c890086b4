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
    tideSprite* spr = overed ? sprOver : sprNorm;
    if (spr) spr->Render(rect.x1, rect.y1);
}

void guiButton::MouseOver(bool over)
{
    if (!overed && over && cGame::resman)
        tide->Effect_Play(cGame::resman->GetEffect("button_over", 0));
    overed = over;
}

bool guiButton::MouseLButton(bool down) { return down; }
