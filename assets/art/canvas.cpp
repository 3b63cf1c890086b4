#include "assets/art/canvas.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace art {

Color rgb(unsigned hex, double a) {
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, a};
}

Color mix(const Color& a, const Color& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Color withAlpha(const Color& c, double a) {
    return {c.r, c.g, c.b, a};
}

Canvas::Canvas(int width, int height) : w(width), h(height) {
    surf = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    context = cairo_create(surf);
    cairo_set_antialias(context, CAIRO_ANTIALIAS_GOOD);
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(context, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas() {
    cairo_destroy(context);
    cairo_surface_destroy(surf);
}

bool Canvas::save(const std::string& path) const {
    cairo_surface_flush(surf);
    cairo_status_t st = cairo_surface_write_to_png(surf, path.c_str());
    if (st != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), cairo_status_to_string(st));
        return false;
    }
    return true;
}

void Canvas::draw(const Canvas& src, double x, double y, double scale) const {
    cairo_save(context);
    cairo_translate(context, x, y);
    cairo_scale(context, scale, scale);
    cairo_set_source_surface(context, src.surf, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(context), CAIRO_FILTER_GOOD);
    cairo_paint(context);
    cairo_restore(context);
}

void Canvas::forEachPixel(const std::function<void(int, int, Color&)>& fn) {
    cairo_surface_flush(surf);
    unsigned char* data = cairo_image_surface_get_data(surf);
    int stride = cairo_image_surface_get_stride(surf);
    for (int y = 0; y < h; y++) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < w; x++) {
            uint32_t p = row[x];
            double a = (p >> 24) / 255.0;
            Color c{0, 0, 0, a};
            if (a > 0) {
                c.r = ((p >> 16) & 0xFF) / 255.0 / a;
                c.g = ((p >> 8) & 0xFF) / 255.0 / a;
                c.b = (p & 0xFF) / 255.0 / a;
            }
            fn(x, y, c);
            auto ch = [](double v) {
                return uint32_t(std::lround(std::fmin(1.0, std::fmax(0.0, v)) * 255.0));
            };
            double na = std::fmin(1.0, std::fmax(0.0, c.a));
            row[x] = (ch(na) << 24) | (ch(c.r * na) << 16) | (ch(c.g * na) << 8) | ch(c.b * na);
        }
    }
    cairo_surface_mark_dirty(surf);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::fmin(r, std::fmin(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void taper(cairo_t* cr, const std::vector<Point>& c, double w0, double w1) {
    size_t n = c.size();
    if (n < 2) return;
    std::vector<Point> left(n), right(n);
    for (size_t i = 0; i < n; i++) {
        const Point& a = c[i > 0 ? i - 1 : 0];
        const Point& b = c[i + 1 < n ? i + 1 : n - 1];
        double dx = b.x - a.x, dy = b.y - a.y;
        double len = std::hypot(dx, dy);
        if (len < 1e-9) len = 1;
        double half = (w0 + (w1 - w0) * double(i) / double(n - 1)) / 2;
        left[i] = {c[i].x - dy / len * half, c[i].y + dx / len * half};
        right[i] = {c[i].x + dy / len * half, c[i].y - dx / len * half};
    }
    cairo_new_sub_path(cr);
    cairo_move_to(cr, left[0].x, left[0].y);
    for (size_t i = 1; i < n; i++) cairo_line_to(cr, left[i].x, left[i].y);
    double endAngle = std::atan2(c[n - 1].y - c[n - 2].y, c[n - 1].x - c[n - 2].x);
    cairo_arc_negative(cr, c[n - 1].x, c[n - 1].y, w1 / 2, endAngle + M_PI / 2,
                       endAngle - M_PI / 2);
    for (size_t i = n - 1; i-- > 0;) cairo_line_to(cr, right[i].x, right[i].y);
    double startAngle = std::atan2(c[1].y - c[0].y, c[1].x - c[0].x);
    cairo_arc_negative(cr, c[0].x, c[0].y, w0 / 2, startAngle - M_PI / 2, startAngle + M_PI / 2);
    cairo_close_path(cr);
}

static void source(cairo_t* cr, const Color& c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void fill(cairo_t* cr, const Color& c, bool keep) {
    source(cr, c);
    keep ? cairo_fill_preserve(cr) : cairo_fill(cr);
}

void stroke(cairo_t* cr, const Color& c, double width, bool keep) {
    source(cr, c);
    cairo_set_line_width(cr, width);
    keep ? cairo_stroke_preserve(cr) : cairo_stroke(cr);
}

void fillStroke(cairo_t* cr, const Color& inside, const Color& line, double width) {
    fill(cr, inside, true);
    stroke(cr, line, width);
}

static void paintPattern(cairo_t* cr, cairo_pattern_t* p, std::initializer_list<Stop> stops,
                         bool keep) {
    for (const Stop& s : stops)
        cairo_pattern_add_color_stop_rgba(p, s.offset, s.color.r, s.color.g, s.color.b, s.color.a);
    cairo_set_source(cr, p);
    keep ? cairo_fill_preserve(cr) : cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void linearFill(cairo_t* cr, double x0, double y0, double x1, double y1,
                std::initializer_list<Stop> stops, bool keep) {
    paintPattern(cr, cairo_pattern_create_linear(x0, y0, x1, y1), stops, keep);
}

void radialFill(cairo_t* cr, double cx, double cy, double r0, double r1,
                std::initializer_list<Stop> stops, bool keep) {
    paintPattern(cr, cairo_pattern_create_radial(cx, cy, r0, cx, cy, r1), stops, keep);
}

void bubble(cairo_t* cr, double x, double y, double r, double alpha) {
    ellipse(cr, x, y, r, r);
    radialFill(cr, x, y, 0, r,
               {{0.0, rgb(0xFFFFFF, 0.05 * alpha)},
                {0.75, rgb(0xBFF4FF, 0.25 * alpha)},
                {1.0, rgb(0xE8FCFF, 0.7 * alpha)}},
               true);
    stroke(cr, rgb(0xFFFFFF, 0.55 * alpha), std::fmax(0.8, r * 0.12));
    ellipse(cr, x - r * 0.35, y - r * 0.38, r * 0.28, r * 0.2);
    fill(cr, rgb(0xFFFFFF, 0.85 * alpha));
}

void softGlow(cairo_t* cr, double x, double y, double r, const Color& c) {
    ellipse(cr, x, y, r, r);
    radialFill(cr, x, y, 0, r, {{0.0, c}, {0.5, withAlpha(c, c.a * 0.45)}, {1.0, withAlpha(c, 0)}});
}

void desaturate(Canvas& c, double amount, double brightness) {
    c.forEachPixel([&](int, int, Color& p) {
        double grey = 0.3 * p.r + 0.59 * p.g + 0.11 * p.b;
        p = mix(p, Color{grey, grey, grey, p.a}, amount);
        p.r *= brightness;
        p.g *= brightness;
        p.b *= brightness;
    });
}

void crosshair(cairo_t* cr, double x, double y, const Color& c) {
    for (int pass = 0; pass < 2; pass++) {
        Color col = pass == 0 ? rgb(0x13254A) : c;
        double w = pass == 0 ? 6 : 3;
        ellipse(cr, x, y, 14, 14);
        stroke(cr, col, w);
        for (int k = 0; k < 4; k++) {
            double a = k * M_PI / 2;
            cairo_move_to(cr, x + std::cos(a) * 9, y + std::sin(a) * 9);
            cairo_line_to(cr, x + std::cos(a) * 21, y + std::sin(a) * 21);
            stroke(cr, col, w);
        }
    }
}

}  // namespace art
