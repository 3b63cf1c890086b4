#include "gfx/font.h"
#include "gui/controls.h"

tideGUIChoice::tideGUIChoice(int _id, float x, float y, float w, float h, tideFont* fnt)
    : pFont(fnt)
{
    Setup(_id, x, y, w, h);
}

bool tideGUIChoice::Step(int by, bool round)
{
    const int n = GetNumItems();
    if (n == 0) return false;
    int next = nChoice + by;
    if (round)
        next = ((next % n) + n) % n;
    else
        next = next < 0 ? 0 : next >= n ? n - 1 : next;
    const bool changed = next != nChoice;
    nChoice = next;
    return changed;
}

void tideGUIChoice::Render()
{
    if (ShowsKeyFocus()) RenderFocusFrame(rect, 0xC0FFE066);
    if (!pFont || items.empty()) return;
    const DWORD old = pFont->GetColor();
    pFont->SetColor(bOver ? 0xFFFFE066 : color);
    const float y = (rect.y1 + rect.y2 - pFont->GetHeight()) / 2;
    pFont->Render(rect.x1 + 6, y, TEXT_LEFT, "<");
    pFont->Render((rect.x1 + rect.x2) / 2, y, TEXT_CENTER, items[static_cast<size_t>(nChoice)].c_str());
    pFont->Render(rect.x2 - 6, y, TEXT_RIGHT, ">");
    pFont->SetColor(old);
}

bool tideGUIChoice::MouseLButton(bool down)
{
    if (!down) return false;
    // The manager's pointer of this frame: a tap moves and presses at once.
    const bool leftArrow = gui && gui->mx < rect.x1 + (rect.x2 - rect.x1) / 4;
    return Step(leftArrow ? -1 : 1, true);
}

bool tideGUIChoice::KeyClick(int key, int chr)
{
    (void)chr;
    switch (key) {
    case TIDEK_LEFT: return Step(-1, false);
    case TIDEK_RIGHT: return Step(1, false);
    case TIDEK_HOME: return Step(-GetNumItems(), false);
    case TIDEK_END: return Step(GetNumItems(), false);
    case TIDEK_ENTER:
    case TIDEK_SPACE: return Step(1, true);
    default: return false;
    }
}
