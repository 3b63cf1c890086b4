#include "gfx/color.h"

#include "gfx/trunc.h"

void tideColorRGB::SetHWColor(DWORD col) {
    a = float(GETA(col)) / 255.0f;
    r = float(GETR(col)) / 255.0f;
    g = float(GETG(col)) / 255.0f;
    b = float(GETB(col)) / 255.0f;
}

DWORD tideColorRGB::GetHWColor() const {
    return (DWORD(tideTruncToInt(a * 255.0f)) << 24) + (DWORD(tideTruncToInt(r * 255.0f)) << 16) +
           (DWORD(tideTruncToInt(g * 255.0f)) << 8) + DWORD(tideTruncToInt(b * 255.0f));
}
