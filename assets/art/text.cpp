#include "assets/art/text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

namespace art {

FontFace::FontFace(const std::string& path) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        std::fprintf(stderr, "cannot start FreeType\n");
        return;
    }
    library = lib;
    FT_Face f = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &f) != 0) {
        std::fprintf(stderr, "cannot load font %s\n", path.c_str());
        return;
    }
    ftFace = f;
    face = cairo_ft_font_face_create_for_ft_face(f, 0);
}

FontFace::~FontFace() {
    if (face) cairo_font_face_destroy(face);
    if (ftFace) FT_Done_Face(static_cast<FT_Face>(ftFace));
    if (library) FT_Done_FreeType(static_cast<FT_Library>(library));
}

static void selectFont(cairo_t* cr, const FontFace& font, double size) {
    cairo_set_font_face(cr, font.get());
    cairo_set_font_size(cr, size);
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(opt, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
}

double textWidth(cairo_t* cr, const FontFace& font, const std::string& text, double size) {
    if (!font.ok()) return 0;
    cairo_save(cr);
    selectFont(cr, font, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_restore(cr);
    return ext.x_advance;
}

void drawText(cairo_t* cr, const FontFace& font, const std::string& text, double x, double y,
              Align align, const TextStyle& s) {
    if (!font.ok()) return;
    cairo_save(cr);
    selectFont(cr, font, s.size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    double left = x;
    if (align == Align::Center) left = x - ext.x_advance / 2;
    if (align == Align::Right) left = x - ext.x_advance;

    auto path = [&](double dx, double dy) {
        cairo_new_path(cr);
        cairo_move_to(cr, left + dx, y + dy);
        cairo_text_path(cr, text.c_str());
    };
    if (s.shadow.a > 0) {
        path(s.shadowOffset, s.shadowOffset);
        if (s.outlineWidth > 0) stroke(cr, s.shadow, s.outlineWidth * 2, true);
        fill(cr, s.shadow);
    }
    path(0, 0);
    if (s.outlineWidth > 0) stroke(cr, s.outline, s.outlineWidth * 2, true);
    linearFill(cr, 0, y + ext.y_bearing, 0, y, {{0, s.top}, {1, s.bottom}});
    cairo_restore(cr);
}

}  // namespace art
