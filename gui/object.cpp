#include "gui/gui.h"

Tide* tideGUIObject::tide = nullptr;

tideGUIObject::tideGUIObject() { tide = tideCreate(TIDE_VERSION); }

tideGUIObject::~tideGUIObject() { tide->Release(); }

bool tideGUIObject::ShowsKeyFocus() const
{
    if (!gui || gui->ctrlFocus != this) return false;
    const tideDevice d = tide->Input_GetDevice();
    return d == TIDE_DEVICE_KEYBOARD || d == TIDE_DEVICE_GAMEPAD;
}

void tideGUIObject::RenderFocusFrame(const tideRect& r, DWORD col)
{
    const float t = 2; // line width
    const float x1 = r.x1 - t, y1 = r.y1 - t, x2 = r.x2 + t, y2 = r.y2 + t;
    const float sides[4][4] = {{x1, y1, x2, y1 + t}, {x1, y2 - t, x2, y2},
                               {x1, y1 + t, x1 + t, y2 - t}, {x2 - t, y1 + t, x2, y2 - t}};
    for (const auto& s : sides) {
        tideQuad q{};
        const float xs[4] = {s[0], s[2], s[2], s[0]}, ys[4] = {s[1], s[1], s[3], s[3]};
        for (int i = 0; i < 4; ++i) q.v[i] = tideVertex{xs[i], ys[i], 0.5f, col, 0, 0};
        q.blend = BLEND_DEFAULT;
        tide->Gfx_RenderQuad(&q);
    }
}
