#include "assets/art/scenery.h"

#include <cmath>
#include <vector>

#define STB_PERLIN_IMPLEMENTATION
#include <stb_perlin.h>

#include "assets/art/palette.h"

namespace art {

void paintWater(Canvas& c, const Color& top, const Color& bottom) {
    cairo_rectangle(c.cr(), 0, 0, c.width(), c.height());
    linearFill(c.cr(), 0, 0, 0, c.height(), {{0, top}, {1, bottom}});
}

void paintLightRays(Canvas& c, gen::Rng& rng, int count, double alpha) {
    cairo_t* cr = c.cr();
    for (int i = 0; i < count; i++) {
        double x = rng.range(-0.1, 1.0) * c.width();
        double w = rng.range(30, 90);
        double slant = c.height() * 0.35;
        double len = c.height() * rng.range(0.6, 1.0);
        cairo_move_to(cr, x, 0);
        cairo_line_to(cr, x + w, 0);
        cairo_line_to(cr, x + w * 2.2 + slant * len / c.height(), len);
        cairo_line_to(cr, x + slant * len / c.height(), len);
        cairo_close_path(cr);
        linearFill(cr, 0, 0, 0, len, {{0, rgb(0xFFFFFF, alpha)}, {1, rgb(0xFFFFFF, 0)}});
    }
}

void paintCaustics(Canvas& c, double x, double y, double w, double h, double scale, double strength,
                   int seed) {
    c.forEachPixel([&](int px, int py, Color& p) {
        if (px < x || py < y || px >= x + w || py >= y + h) return;
        float n = stb_perlin_noise3_seed(float(px / scale), float(py / scale), 0.5f, 0, 0, 0, seed);
        float m = stb_perlin_noise3_seed(float(px / (scale * 0.5)), float(py / (scale * 0.5)), 1.5f,
                                         0, 0, 0, seed + 1);
        double ridge = 1.0 - std::fabs(n * 0.7 + m * 0.3);
        double light = std::pow(std::fmax(0.0, ridge), 10) * strength;
        p.r = std::fmin(1.0, p.r + light);
        p.g = std::fmin(1.0, p.g + light);
        p.b = std::fmin(1.0, p.b + light * 0.8);
    });
}

void paintSandFloor(Canvas& c, gen::Rng& rng, double top, double waviness) {
    cairo_t* cr = c.cr();
    double phase = rng.range(0, 6.28);
    cairo_move_to(cr, 0, c.height());
    for (int x = 0; x <= c.width(); x += 8) {
        double y = top + std::sin(x * 0.011 + phase) * waviness +
                   std::sin(x * 0.027 + phase * 2) * waviness * 0.4;
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, c.width(), c.height());
    cairo_close_path(cr);
    linearFill(cr, 0, top - waviness, 0, c.height(), {{0, pal::sand}, {1, pal::sandDark}}, true);
    stroke(cr, withAlpha(pal::sandDark, 0.9), 3);
    // Ripples and pebbles.
    for (int i = 0; i < 40; i++) {
        double px = rng.range(0, c.width());
        double py = rng.range(top + waviness + 6, c.height() - 4);
        if (i % 2 == 0) {
            cairo_move_to(cr, px - 12, py);
            cairo_curve_to(cr, px - 4, py - 4, px + 4, py - 4, px + 12, py);
            stroke(cr, withAlpha(pal::sandDark, 0.6), 2);
        } else {
            ellipse(cr, px, py, rng.range(2, 4.5), rng.range(1.5, 3));
            fill(cr, mix(pal::sandDark, rgb(0x8D6E4A), rng.unit()));
        }
    }
}

void paintRock(cairo_t* cr, gen::Rng& rng, double cx, double cy, double rx, double ry) {
    const int n = 10;
    std::vector<Point> pts;
    for (int i = 0; i < n; i++) {
        double a = i * 2 * M_PI / n;
        double k = rng.range(0.82, 1.08);
        pts.push_back({cx + std::cos(a) * rx * k, cy + std::sin(a) * ry * k});
    }
    // Smooth closed curve through the points.
    cairo_move_to(cr, (pts[0].x + pts[n - 1].x) / 2, (pts[0].y + pts[n - 1].y) / 2);
    for (int i = 0; i < n; i++) {
        const Point& p = pts[i];
        const Point& q = pts[(i + 1) % n];
        cairo_curve_to(cr, p.x, p.y, p.x, p.y, (p.x + q.x) / 2, (p.y + q.y) / 2);
    }
    cairo_close_path(cr);
    linearFill(cr, cx - rx, cy - ry, cx + rx * 0.3, cy + ry,
               {{0, rgb(0x8A9BB5)}, {0.5, rgb(0x5B6C8A)}, {1, rgb(0x33405E)}}, true);
    stroke(cr, pal::ink, 2.5);
    ellipse(cr, cx - rx * 0.35, cy - ry * 0.45, rx * 0.3, ry * 0.15);
    fill(cr, rgb(0xFFFFFF, 0.25));
}

void paintSeaweed(cairo_t* cr, gen::Rng& rng, double x, double baseY, double height) {
    double phase = rng.range(0, 6.28);
    double bend = rng.range(-1, 1);
    std::vector<Point> pts;
    for (int i = 0; i <= 12; i++) {
        double s = i / 12.0;
        pts.push_back(
            {x + std::sin(s * 5 + phase) * 7 * s + bend * s * s * 14, baseY - s * height});
    }
    Color c = mix(pal::weedDark, pal::weed, rng.unit());
    taper(cr, pts, height * 0.11 + 4, 2.5);
    linearFill(cr, 0, baseY, 0, baseY - height,
               {{0, mix(c, pal::ink, 0.3)}, {1, mix(c, rgb(0xC8F560), 0.4)}}, true);
    stroke(cr, pal::ink, 2);
    // Leaves.
    for (int i = 3; i < 12; i += 3) {
        double side = (i / 3) % 2 ? 1 : -1;
        const Point& p = pts[i];
        taper(cr, {{p.x, p.y}, {p.x + side * 8, p.y - 6}, {p.x + side * 14, p.y - 6}}, 5, 1.5);
        fillStroke(cr, c, pal::ink, 1.5);
    }
}

static void coralBranch(cairo_t* cr, gen::Rng& rng, double x, double y, double angle, double len,
                        double width, int depth, std::vector<std::vector<Point>>& out,
                        std::vector<double>& widths) {
    double ex = x + std::cos(angle) * len, ey = y + std::sin(angle) * len;
    double mx = (x + ex) / 2 + rng.range(-3, 3), my = (y + ey) / 2;
    out.push_back({{x, y}, {mx, my}, {ex, ey}});
    widths.push_back(width);
    if (depth == 0) return;
    coralBranch(cr, rng, ex, ey, angle - rng.range(0.3, 0.6), len * 0.72, width * 0.72, depth - 1,
                out, widths);
    coralBranch(cr, rng, ex, ey, angle + rng.range(0.3, 0.6), len * 0.72, width * 0.72, depth - 1,
                out, widths);
}

void paintCoral(cairo_t* cr, gen::Rng& rng, double x, double baseY, double size,
                const Color& color) {
    std::vector<std::vector<Point>> branches;
    std::vector<double> widths;
    coralBranch(cr, rng, x, baseY, -M_PI / 2 + rng.range(-0.2, 0.2), size * 0.42, size * 0.16, 3,
                branches, widths);
    // Outline pass first, then the fill, so joints merge into one shape.
    for (size_t i = 0; i < branches.size(); i++) {
        taper(cr, branches[i], widths[i] + 4, widths[i] * 0.75 + 4);
        fill(cr, pal::ink);
    }
    for (size_t i = 0; i < branches.size(); i++) {
        taper(cr, branches[i], widths[i], widths[i] * 0.75);
        fill(cr, color);
    }
    for (size_t i = 0; i < branches.size(); i += 2) {
        const Point& tip = branches[i].back();
        ellipse(cr, tip.x, tip.y, widths[i] * 0.3 + 1, widths[i] * 0.3 + 1);
        fill(cr, mix(color, pal::white, 0.5));
    }
}

void paintStarfish(cairo_t* cr, double x, double y, double r, double angle, const Color& color) {
    cairo_new_path(cr);
    for (int i = 0; i < 10; i++) {
        double a = angle + i * M_PI / 5 - M_PI / 2;
        double rr = i % 2 == 0 ? r : r * 0.45;
        cairo_line_to(cr, x + std::cos(a) * rr, y + std::sin(a) * rr);
    }
    cairo_close_path(cr);
    radialFill(cr, x, y, 0, r, {{0, mix(color, pal::white, 0.4)}, {1, color}}, true);
    stroke(cr, pal::ink, 1.8);
    for (int i = 0; i < 5; i++) {
        double a = angle + i * 2 * M_PI / 5 - M_PI / 2;
        ellipse(cr, x + std::cos(a) * r * 0.5, y + std::sin(a) * r * 0.5, 1.2, 1.2);
        fill(cr, rgb(0xFFFFFF, 0.8));
    }
}

void paintShell(cairo_t* cr, double x, double y, double r, double angle) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_move_to(cr, 0, r * 0.5);
    cairo_curve_to(cr, -r * 1.3, -r * 0.2, -r * 0.6, -r, 0, -r);
    cairo_curve_to(cr, r * 0.6, -r, r * 1.3, -r * 0.2, 0, r * 0.5);
    cairo_close_path(cr);
    linearFill(cr, 0, -r, 0, r * 0.5, {{0, rgb(0xFFE3D3)}, {1, rgb(0xF59E84)}}, true);
    stroke(cr, pal::ink, 1.6);
    for (int i = -2; i <= 2; i++) {
        cairo_move_to(cr, 0, r * 0.45);
        cairo_line_to(cr, i * r * 0.32, -r * 0.85);
        stroke(cr, withAlpha(pal::ink, 0.45), 1.1);
    }
    cairo_restore(cr);
}

void paintFish(cairo_t* cr, double x, double y, double size, bool facingLeft, const Color& color) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (facingLeft) cairo_scale(cr, -1, 1);
    cairo_scale(cr, size / 20.0, size / 20.0);
    cairo_move_to(cr, -10, 0);
    cairo_line_to(cr, -18, -7);
    cairo_line_to(cr, -17, 7);
    cairo_close_path(cr);
    fillStroke(cr, mix(color, pal::ink, 0.2), pal::ink, 1.5);
    ellipse(cr, 0, 0, 12, 7.5);
    linearFill(cr, 0, -7.5, 0, 7.5, {{0, mix(color, pal::white, 0.35)}, {1, color}}, true);
    stroke(cr, pal::ink, 1.6);
    cairo_move_to(cr, -2, -6);
    cairo_curve_to(cr, 0, -2, 0, 2, -2, 6);
    stroke(cr, withAlpha(pal::ink, 0.5), 1.2);
    ellipse(cr, 6, -1.5, 2.2, 2.2);
    fill(cr, pal::white);
    ellipse(cr, 6.6, -1.5, 1.1, 1.1);
    fill(cr, pal::ink);
    cairo_restore(cr);
}

void paintBubbleColumn(cairo_t* cr, gen::Rng& rng, double x, double bottom, double top,
                       double size) {
    double y = bottom;
    while (y > top) {
        double r = size * rng.range(0.5, 1.2);
        bubble(cr, x + rng.range(-size, size), y, r, rng.range(0.6, 1.0));
        y -= r * 2 + rng.range(4, 14);
    }
}

}  // namespace art
