#include "gfx/font.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "gfx/trunc.h"

Tide* tideFont::tide = nullptr;
char tideFont::buffer[tideFont::kBufferSize];

static const char kHeader[] = "[TIDEFONT]";

tideFont::tideFont(const char* filename, bool mipmap)
    : hTexture(0), fHeight(0), fScale(1), fProportion(1), fRot(0), fTracking(0), fSpacing(1),
      dwCol(0xFFFFFFFF), fZ(0.5f), nBlend(BLEND_DEFAULT) {
    tide = tideCreate(TIDE_VERSION);
    for (int i = 0; i < 256; i++) {
        letters[i] = nullptr;
        pre[i] = post[i] = 0;
    }

    DWORD size = 0;
    void* data = tide->Resource_Load(filename, &size);
    if (!data) return;
    std::vector<char> desc(size + 1);
    std::memcpy(desc.data(), data, size);
    desc[size] = 0;
    tide->Resource_Free(data);

    char line[kLineMax + 1];
    char* next = _get_line(desc.data(), line);
    if (!next || std::strcmp(line, kHeader) != 0) {
        tide->System_Log("Font %s has incorrect format.", filename);
        return;
    }

    while ((next = _get_line(next, line))) {
        if (!std::strncmp(line, "Bitmap", 6)) {
            if (!ParseBitmap(filename, line, mipmap)) break;
        } else if (!std::strncmp(line, "Char", 4)) {
            ParseChar(line);
        }
    }
}

tideFont::~tideFont() {
    for (tideSprite* s : letters) delete s;
    if (hTexture) tide->Texture_Free(hTexture);
    for (HTEXTURE t : earlierTextures) tide->Texture_Free(t);
    tide->Release();
}

char* tideFont::_get_line(char* file, char* line) {
    if (!*file) return nullptr;
    int i = 0, n = 0;
    for (; file[i] && file[i] != '\n' && file[i] != '\r'; i++)
        if (n < kLineMax) line[n++] = file[i];
    line[n] = 0;
    while (file[i] == '\n' || file[i] == '\r') i++;
    return file + i;
}

bool tideFont::ParseBitmap(const char* filename, const char* line, bool mipmap) {
    char name[kLineMax + 1];
    if (std::sscanf(line, "Bitmap = %255s", name) != 1) return true;

    // The bitmap lies in the font file's folder.
    const char* slash = std::strrchr(filename, '\\');
    if (!slash) slash = std::strrchr(filename, '/');
    int dirLen = slash ? int(slash - filename) + 1 : 0;

    char path[kPathMax + 1];
    std::snprintf(path, sizeof path, "%.*s%s", dirLen, filename, name);

    // A second bitmap replaces the first, which stays alive for the glyphs
    // made from it until the font goes.
    if (hTexture) earlierTextures.push_back(hTexture);
    hTexture = tide->Texture_Load(path, 0, mipmap);
    return hTexture != 0;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void tideFont::ParseChar(const char* line) {
    const char* p = std::strchr(line, '=');
    if (!p) return;
    p++;
    while (*p == ' ') p++;

    int code;
    if (*p == '"') {
        // The closing quote is stepped over unexamined.
        if (!p[1] || !p[2]) return;
        code = (unsigned char)p[1];
        p += 3;
    } else {
        if (HexDigit(*p) < 0) return;
        code = 0;
        for (; HexDigit(*p) >= 0; p++) {
            code = code * 16 + HexDigit(*p);
            if (code > 255) return;
        }
    }

    int x, y, w, h, a, c;
    if (std::sscanf(p, " , %d , %d , %d , %d , %d , %d", &x, &y, &w, &h, &a, &c) != 6) return;

    delete letters[code];
    letters[code] = new tideSprite(hTexture, float(x), float(y), float(w), float(h));
    pre[code] = float(a);
    post[code] = float(c);
    if (float(h) > fHeight) fHeight = float(h);
}

int tideFont::Glyph(unsigned char c) const {
    const int fallback = '?';
    if (letters[c]) return c;
    if (letters[fallback]) return fallback;
    return -1;
}

float tideFont::GetStringWidth(const char* string, bool bMultiline) const {
    float widest = 0;
    const char* p = string;
    while (*p) {
        float linew = 0;
        for (; *p && *p != '\n'; p++) {
            int g = Glyph((unsigned char)*p);
            if (g >= 0) linew += letters[g]->GetWidth() + pre[g] + post[g] + fTracking;
        }
        if (!bMultiline) return linew * fScale * fProportion;
        if (linew > widest) widest = linew;
        while (*p == '\n' || *p == '\r') p++;
    }
    return widest * fScale * fProportion;
}

float tideFont::LineStart(float x, int align, const char* line) const {
    if (align == TEXT_RIGHT) return x - GetStringWidth(line, false);
    if (align == TEXT_CENTER) return x - float(tideTruncToInt(GetStringWidth(line, false) / 2.0f));
    return x;
}

void tideFont::Render(float x, float y, int align, const char* string) {
    align &= TEXT_HORZMASK;
    float pen = LineStart(x, align, string);
    float hscale = fScale * fProportion;

    for (const char* p = string; *p; p++) {
        if (*p == '\n') {
            y += float(tideTruncToInt(fHeight * fScale * fSpacing));
            pen = LineStart(x, align, p + 1);
            continue;
        }
        int g = Glyph((unsigned char)*p);
        if (g < 0) continue;
        pen += pre[g] * hscale;
        letters[g]->RenderEx(pen, y, fRot, hscale, fScale);
        pen += (letters[g]->GetWidth() + post[g] + fTracking) * hscale;
    }
}

void tideFont::VFormat(const char* format, va_list args) {
    std::vsnprintf(buffer, sizeof buffer, format, args);
    buffer[sizeof buffer - 1] = 0;
}

void tideFont::printf(float x, float y, int align, const char* format, ...) {
    va_list args;
    va_start(args, format);
    VFormat(format, args);
    va_end(args);
    Render(x, y, align, buffer);
}

void tideFont::printfb(float x, float y, float w, float h, int align, const char* format, ...) {
    va_list args;
    va_start(args, format);
    VFormat(format, args);
    va_end(args);

    // Word wrap: a word ends at a space, a line feed or the end of the text.
    char* lineStart = buffer;
    char* word = buffer;
    for (;;) {
        char* end = word;
        while (*end && *end != ' ' && *end != '\n') end++;
        char stop = *end;
        *end = 0;
        float lineW = GetStringWidth(lineStart, false);
        *end = stop;

        if (lineW > w) {
            if (word == lineStart) {
                // A word too wide on its own keeps a line to itself.
                if (stop == ' ') *end = stop = '\n';
            } else {
                word[-1] = '\n';
                lineStart = word;
            }
        }
        if (!stop) break;
        if (stop == '\n') lineStart = end + 1;
        word = end + 1;
    }

    int lines = 1;
    for (const char* p = buffer; *p; p++)
        if (*p == '\n') lines++;

    float height = fHeight * fSpacing * fScale * float(lines);
    float textX = x, textY = y;
    switch (align & TEXT_HORZMASK) {
    case TEXT_RIGHT: textX = x + w; break;
    case TEXT_CENTER: textX = x + float(tideTruncToInt(w / 2.0f)); break;
    default: break;
    }
    switch (align & TEXT_VERTMASK) {
    case TEXT_BOTTOM: textY = y + h - height; break;
    case TEXT_MIDDLE: textY = y + float(tideTruncToInt((h - height) / 2.0f)); break;
    default: break;
    }
    Render(textX, textY, align, buffer);
}

void tideFont::SetColor(DWORD col) {
    dwCol = col;
    for (tideSprite* s : letters)
        if (s) s->SetColor(col);
}

void tideFont::SetZ(float z) {
    fZ = z;
    for (tideSprite* s : letters)
        if (s) s->SetZ(z);
}

void tideFont::SetBlendMode(int blend) {
    nBlend = blend;
    for (tideSprite* s : letters)
        if (s) s->SetBlendMode(blend);
}
