// tideFont: text drawn with a bitmap font, one sprite quad per character.
#pragma once

#include <cstdarg>
#include <vector>

#include "engine/tide.h"
#include "gfx/sprite.h"

#define TEXT_LEFT 0
#define TEXT_RIGHT 1
#define TEXT_CENTER 2
#define TEXT_HORZMASK 0x03

#define TEXT_TOP 0
#define TEXT_BOTTOM 4
#define TEXT_MIDDLE 8
#define TEXT_VERTMASK 0x0C

class tideFont {
public:
    tideFont(const char* filename, bool mipmap = false);
    ~tideFont();
    tideFont(const tideFont&) = delete;
    tideFont& operator=(const tideFont&) = delete;

    // Only the horizontal part of `align` is used.
    void Render(float x, float y, int align, const char* string);
    // Formatted output is cut at 1023 characters.
    void printf(float x, float y, int align, const char* format, ...)
        __attribute__((format(printf, 5, 6)));
    // Wraps words into the box and places the block by both parts of `align`.
    void printfb(float x, float y, float w, float h, int align, const char* format, ...)
        __attribute__((format(printf, 7, 8)));

    void SetColor(DWORD col);
    void SetZ(float z);
    void SetBlendMode(int blend);
    void SetScale(float scale) { fScale = scale; }
    void SetProportion(float prop) { fProportion = prop; }
    void SetRotation(float rot) { fRot = rot; }
    void SetTracking(float tracking) { fTracking = tracking; }
    void SetSpacing(float spacing) { fSpacing = spacing; }

    DWORD GetColor() const { return dwCol; }
    float GetZ() const { return fZ; }
    int GetBlendMode() const { return nBlend; }
    float GetScale() const { return fScale; }
    float GetProportion() const { return fProportion; }
    float GetRotation() const { return fRot; }
    float GetTracking() const { return fTracking; }
    float GetSpacing() const { return fSpacing; }

    tideSprite* GetSprite(char chr) const { return letters[(unsigned char)chr]; }
    float GetPreWidth(char chr) const { return pre[(unsigned char)chr]; }
    float GetPostWidth(char chr) const { return post[(unsigned char)chr]; }
    float GetHeight() const { return fHeight; }
    // Scaled width of the widest line, or of the first line only.
    float GetStringWidth(const char* string, bool bMultiline = true) const;

    HTEXTURE hTexture;
    tideSprite* letters[256];
    float pre[256];
    float post[256];
    float fHeight;
    float fScale;
    float fProportion;
    float fRot;
    float fTracking;
    float fSpacing;
    DWORD dwCol;
    float fZ;
    int nBlend;

    static constexpr int kLineMax = 255;  // longest description line kept
    static constexpr int kPathMax = 259;  // longest bitmap path kept
    static constexpr int kBufferSize = 1024;

    // Copies the next line (at most kLineMax characters) into `line` and
    // returns where the following one starts, or null at the end of the text.
    static char* _get_line(char* file, char* line);

protected:
    // False when the bitmap failed to load and reading must stop.
    bool ParseBitmap(const char* filename, const char* line, bool mipmap);
    void ParseChar(const char* line);
    // Glyph index to draw for a character: itself, else '?', else -1.
    int Glyph(unsigned char c) const;
    // Pen start of the line at `line` for the horizontal alignment.
    float LineStart(float x, int align, const char* line) const;
    void VFormat(const char* format, va_list args);

    // Bitmaps of earlier "Bitmap" lines: their glyphs still draw from them.
    std::vector<HTEXTURE> earlierTextures;

    static Tide* tide;
    static char buffer[kBufferSize];
};
