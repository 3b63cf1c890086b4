#include "assets/font/font_baker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace fontbake {

namespace {

bool readFile(const std::string& path, std::vector<unsigned char>& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !data.empty();
}

// Outline coverage: the glyph dilated by a disc of radius r with a soft edge.
void dilate(const BakedFont& f, const Glyph& g, int r, std::vector<float>& out) {
    for (int y = g.y; y < g.y + g.h; y++)
        for (int x = g.x; x < g.x + g.w; x++) {
            float best = 0;
            for (int dy = -r - 1; dy <= r + 1; dy++)
                for (int dx = -r - 1; dx <= r + 1; dx++) {
                    int sx = x + dx, sy = y + dy;
                    if (sx < g.x || sy < g.y || sx >= g.x + g.w || sy >= g.y + g.h) continue;
                    float edge = std::clamp(float(r) + 0.5f - std::sqrt(float(dx * dx + dy * dy)),
                                            0.0f, 1.0f);
                    best = std::max(best, f.alpha[size_t(sy) * f.atlasW + sx] * edge);
                }
            out[size_t(y) * f.atlasW + x] = best;
        }
}

}  // namespace

bool bake(const std::string& ttfPath, const Options& opt, BakedFont& out) {
    std::vector<unsigned char> ttf;
    stbtt_fontinfo info;
    if (!readFile(ttfPath, ttf) ||
        !stbtt_InitFont(&info, ttf.data(), stbtt_GetFontOffsetForIndex(ttf.data(), 0))) {
        std::fprintf(stderr, "cannot read font %s\n", ttfPath.c_str());
        return false;
    }
    float scale = stbtt_ScaleForPixelHeight(&info, opt.pixelHeight);
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
    int pad = opt.outline + 1;
    out.baseline = pad + int(std::ceil(ascent * scale));
    out.lineHeight = out.baseline + int(std::ceil(-descent * scale)) + pad;
    out.atlasW = opt.atlasWidth;
    out.glyphs.clear();

    // Lay the glyphs out in rows first, then render into the atlas.
    struct Box {
        int x0, y0, x1, y1;
    };
    std::vector<Box> boxes;
    int penX = 0, penY = 0;
    for (int code = opt.first; code <= opt.last; code++) {
        int advance, lsb;
        stbtt_GetCodepointHMetrics(&info, code, &advance, &lsb);
        Box b{0, 0, 0, 0};
        stbtt_GetCodepointBitmapBox(&info, code, scale, scale, &b.x0, &b.y0, &b.x1, &b.y1);
        int adv = int(std::lround(advance * scale));
        Glyph g{code, 0, 0, 0, out.lineHeight, 0, 0};
        if (b.x1 <= b.x0) {
            g.w = std::max(1, adv);  // blank glyph (space): just its advance
            g.post = opt.tracking;
        } else {
            g.w = b.x1 - b.x0 + 2 * pad;
            g.pre = b.x0 - pad;
            g.post = adv - (g.pre + g.w) + opt.tracking;
        }
        if (penX + g.w > out.atlasW) {
            penX = 0;
            penY += out.lineHeight + 1;
        }
        g.x = penX;
        g.y = penY;
        penX += g.w + 1;
        out.glyphs.push_back(g);
        boxes.push_back(b);
    }
    int needed = penY + out.lineHeight;
    out.atlasH = 1;
    while (out.atlasH < needed) out.atlasH *= 2;
    out.alpha.assign(size_t(out.atlasW) * out.atlasH, 0.0f);
    out.outline.assign(out.alpha.size(), 0.0f);

    std::vector<unsigned char> bitmap;
    for (size_t i = 0; i < out.glyphs.size(); i++) {
        const Glyph& g = out.glyphs[i];
        const Box& b = boxes[i];
        int bw = b.x1 - b.x0, bh = b.y1 - b.y0;
        if (bw <= 0 || bh <= 0) continue;
        bitmap.assign(size_t(bw) * bh, 0);
        stbtt_MakeCodepointBitmap(&info, bitmap.data(), bw, bh, bw, scale, scale, g.code);
        for (int y = 0; y < bh; y++) {
            int ay = g.y + out.baseline + b.y0 + y;
            if (ay < g.y || ay >= g.y + g.h) continue;  // clipped to the line box
            for (int x = 0; x < bw; x++)
                out.alpha[size_t(ay) * out.atlasW + g.x + pad + x] =
                    bitmap[size_t(y) * bw + x] / 255.0f;
        }
        dilate(out, g, opt.outline, out.outline);
    }
    return true;
}

std::string describe(const BakedFont& font, const std::string& bitmapName) {
    std::string s = "[TIDEFONT]\nBitmap=" + bitmapName + "\n";
    char line[96];
    for (const Glyph& g : font.glyphs) {
        std::snprintf(line, sizeof(line), "Char=%02X,%d,%d,%d,%d,%d,%d\n", g.code, g.x, g.y, g.w,
                      g.h, g.pre, g.post);
        s += line;
    }
    return s;
}

bool writeAtlas(const BakedFont& font, const Options& opt, const std::string& path) {
    art::Canvas c(font.atlasW, font.atlasH);
    c.forEachPixel([&](int x, int y, art::Color& p) {
        size_t i = size_t(y) * font.atlasW + x;
        float a = font.alpha[i], o = font.outline[i];
        double total = a + o * (1 - a);
        if (total <= 0) {
            p = {0, 0, 0, 0};
            return;
        }
        // Glyph over outline, un-premultiplied.
        double wo = o * (1 - a) / total, wa = a / total;
        p.r = opt.fill.r * wa + opt.outlineColor.r * wo;
        p.g = opt.fill.g * wa + opt.outlineColor.g * wo;
        p.b = opt.fill.b * wa + opt.outlineColor.b * wo;
        p.a = total;
    });
    return c.save(path);
}

}  // namespace fontbake
