// A font's scale and colour for one piece of text: fonts are shared, so every
// change is undone when the style goes out of scope.
#pragma once

#include "gfx/font.h"

class FontStyle {
public:
    FontStyle(tideFont* f, float scale, DWORD col) : f(f) {
        if (!f) return;
        oldScale = f->GetScale();
        oldCol = f->GetColor();
        f->SetScale(scale);
        f->SetColor(col);
    }
    ~FontStyle() {
        if (!f) return;
        f->SetScale(oldScale);
        f->SetColor(oldCol);
    }
    FontStyle(const FontStyle&) = delete;
    FontStyle& operator=(const FontStyle&) = delete;

private:
    tideFont* f;
    float oldScale = 1;
    DWORD oldCol = 0xFFFFFFFF;
};
