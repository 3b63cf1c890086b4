// Bakes a bitmap font from a TrueType file with stb_truetype: white glyphs
// with a dark outline, packed into one atlas, plus the text description the
// game's font loader reads ("[TIDEFONT]", "Bitmap=", one "Char=" per glyph).
// Every glyph rectangle is the full line height with the baseline on the
// same row, because the format has no vertical offset per glyph.
#pragma once

#include <string>
#include <vector>

#include "assets/art/canvas.h"

namespace fontbake {

struct Options {
    float pixelHeight = 18;  // em size in pixels
    int outline = 2;         // outline radius in pixels
    int first = 32, last = 126;
    int atlasWidth = 256;
    int tracking = 1;  // extra advance so outlines do not touch
    art::Color fill{1, 1, 1, 1};
    art::Color outlineColor{0.06, 0.11, 0.22, 1};
};

struct Glyph {
    int code;
    int x, y, w, h;  // rectangle in the atlas
    int pre, post;   // pixels before the rectangle and after it
};

struct BakedFont {
    int lineHeight = 0;
    int baseline = 0;  // row of the baseline inside every glyph rectangle
    int atlasW = 0, atlasH = 0;
    std::vector<float> alpha;    // glyph coverage, atlasW * atlasH
    std::vector<float> outline;  // outline coverage, atlasW * atlasH
    std::vector<Glyph> glyphs;
};

// Reads `ttfPath` and bakes the glyphs; false (with a message on stderr)
// when the file cannot be read or is not a font.
bool bake(const std::string& ttfPath, const Options& opt, BakedFont& out);

// The description file's text, naming `bitmapName` as its bitmap.
std::string describe(const BakedFont& font, const std::string& bitmapName);

// Writes the atlas as PNG, glyphs over their outline.
bool writeAtlas(const BakedFont& font, const Options& opt, const std::string& path);

}  // namespace fontbake
