// Text in pictures: a TrueType face loaded by path through FreeType (never
// through fontconfig, so the pictures do not depend on installed fonts),
// drawn by cairo with an optional vertical gradient, outline and shadow.
#pragma once

#include <cairo.h>

#include <string>

#include "assets/art/canvas.h"

namespace art {

class FontFace {
public:
    explicit FontFace(const std::string& path);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool ok() const { return face != nullptr; }
    cairo_font_face_t* get() const { return face; }

private:
    void* library = nullptr;  // FT_Library
    void* ftFace = nullptr;   // FT_Face
    cairo_font_face_t* face = nullptr;
};

enum class Align { Left, Center, Right };

struct TextStyle {
    double size = 24;
    Color top{1, 1, 1, 1};     // fill at the top of the letters
    Color bottom{1, 1, 1, 1};  // fill at the baseline
    Color outline{0, 0, 0, 0};
    double outlineWidth = 0;
    Color shadow{0, 0, 0, 0};
    double shadowOffset = 0;
};

// Draws `text` with its baseline at y, aligned on x.
void drawText(cairo_t* cr, const FontFace& font, const std::string& text, double x, double y,
              Align align, const TextStyle& style);
// Advance width of `text` at `size`.
double textWidth(cairo_t* cr, const FontFace& font, const std::string& text, double size);

}  // namespace art
