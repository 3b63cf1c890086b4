#include <cstdarg>
#include <cstdio>

#include "gfx/font.h"
#include "gui/controls.h"

tideGUIText::tideGUIText(int _id, float x, float y, float w, float h, tideFont* fnt)
    : pFont(fnt), fTextX(x), nAlign(TEXT_LEFT)
{
    Setup(_id, x, y, w, h, true);
    fTextY = y + (h - (fnt ? fnt->GetHeight() : 0.0f)) / 2;
}

void tideGUIText::SetMode(int align)
{
    nAlign = align;
    if (align == TEXT_RIGHT)
        fTextX = rect.x2;
    else if (align == TEXT_CENTER)
        fTextX = (rect.x1 + rect.x2) / 2;
    else
        fTextX = rect.x1;
}

void tideGUIText::SetText(const char* text) { szText = text ? text : ""; }

void tideGUIText::printf(const char* format, ...)
{
    if (!format) {
        szText.clear();
        return;
    }
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (n < 0) {
        szText.clear();
    } else {
        szText.resize(size_t(n) + 1);
        std::vsnprintf(szText.data(), szText.size(), format, again);
        szText.resize(size_t(n));
    }
    va_end(again);
}

void tideGUIText::Render()
{
    if (!pFont) return;
    pFont->SetColor(color);
    pFont->Render(fTextX, fTextY, nAlign, szText.c_str());
}
