// Writes the battle pictures:
//   make_battle_art <res folder>
// map.png (the arena), cells.png (cell highlights, selection rings, glow,
// aiming cursor) and projectiles.png (harpoon, torpedo, spike).
#include <cmath>
#include <cstdio>
#include <string>

#include "assets/art/canvas.h"
#include "assets/art/palette.h"
#include "assets/art/scenery.h"
#include "assets/common/rng.h"

using namespace art;

namespace {

// The board's drawn area: columns 1..14 and rows 1..9 of 64-pixel cells.
const double ARENA_L = 64, ARENA_T = 64, ARENA_R = 960, ARENA_B = 640;

bool writeMap(const std::string& dir) {
    Canvas c(1024, 768);
    cairo_t* cr = c.cr();
    gen::Rng rng(7001);
    paintWater(c, rgb(0x3FC1E8), rgb(0x0E5C9E));
    paintLightRays(c, rng, 9, 0.12);
    paintCaustics(c, ARENA_L, ARENA_T, ARENA_R - ARENA_L, ARENA_B - ARENA_T, 70, 0.16, 11);

    // A faint frame around the arena so its edge reads at a glance.
    roundedRect(cr, ARENA_L - 3, ARENA_T - 3, ARENA_R - ARENA_L + 6, ARENA_B - ARENA_T + 6, 10);
    stroke(cr, rgb(0xFFFFFF, 0.35), 3);

    // Surface shimmer in the top row.
    for (int k = 0; k < 3; k++) {
        cairo_move_to(cr, 0, 10 + k * 9);
        for (int x = 0; x <= 1024; x += 16)
            cairo_line_to(cr, x, 10 + k * 9 + std::sin(x * 0.03 + k) * 3);
        stroke(cr, rgb(0xFFFFFF, 0.35 - k * 0.1), 2.5 - k * 0.6);
    }

    // Rock walls with plants in the side columns.
    for (int side = 0; side < 2; side++) {
        double x = side == 0 ? 28 : 996;
        for (int i = 0; i < 8; i++) {
            double y = 60 + i * 80 + rng.range(-10, 10);
            paintRock(cr, rng, x + rng.range(-8, 8), y, rng.range(34, 44), rng.range(34, 46));
        }
        for (int i = 0; i < 4; i++) {
            double y = 140 + i * 150 + rng.range(-20, 20);
            double px = side == 0 ? 54 : 970;
            if (i % 2 == 0)
                paintCoral(cr, rng, px, y, rng.range(44, 60),
                           i % 4 == 0 ? pal::coral : pal::coralPink);
            else
                paintSeaweed(cr, rng, px, y, rng.range(50, 70));
        }
    }

    // Sandy floor under the arena, with the turn-order shelf.
    paintSandFloor(c, rng, 660, 6);
    for (int i = 0; i < 7; i++) {
        double x = 40 + i * 160 + rng.range(-20, 20);
        if (x > 150 && x < 880) x = i % 2 ? 60 + rng.range(0, 40) : 930 + rng.range(0, 50);
        paintSeaweed(cr, rng, x, 760, rng.range(60, 100));
    }
    paintStarfish(cr, 70, 735, 15, 0.3, rgb(0xFF8C42));
    paintShell(cr, 960, 740, 13, -0.4);
    paintCoral(cr, rng, 20, 768, 80, pal::coral);
    paintCoral(cr, rng, 1004, 768, 70, pal::coralPink);

    // Turn-order shelf: the badges sit on its centre line (y = 700).
    roundedRect(cr, 112, 670, 800, 60, 30);
    linearFill(cr, 0, 670, 0, 730, {{0, rgb(0x0B2E5C, 0.78)}, {1, rgb(0x061A38, 0.85)}}, true);
    stroke(cr, rgb(0xFFFFFF, 0.55), 3);
    roundedRect(cr, 118, 676, 788, 14, 7);
    fill(cr, rgb(0xFFFFFF, 0.08));
    return c.save(dir + "/map.png");
}

// A rounded square outline with a soft inner fill, centred in `size`.
void cellFrame(cairo_t* cr, double x, double y, double size, const Color& c, double fillAlpha) {
    double inset = size * 0.05;
    roundedRect(cr, x + inset, y + inset, size - 2 * inset, size - 2 * inset, size * 0.16);
    fill(cr, withAlpha(c, fillAlpha), true);
    stroke(cr, withAlpha(c, 0.9), size * 0.05);
}

void roseGlow(cairo_t* cr, double x, double y, double size) {
    double c = size / 2;
    softGlow(cr, x + c, y + c, c, rgb(0xFF4F8B, 0.55));
    cellFrame(cr, x, y, size, rgb(0xFF6FA3), 0.18);
    roundedRect(cr, x + size * 0.12, y + size * 0.12, size * 0.76, size * 0.76, size * 0.12);
    stroke(cr, rgb(0xFFD6E5, 0.7), size * 0.025);
}

void ring(cairo_t* cr, double cx, double cy, double r, const Color& c) {
    ellipse(cr, cx, cy, r, r);
    stroke(cr, withAlpha(c, 0.35), 7);
    ellipse(cr, cx, cy, r, r);
    stroke(cr, c, 3);
    ellipse(cr, cx, cy, r - 2.5, r - 2.5);
    stroke(cr, rgb(0xFFFFFF, 0.6), 1);
}

bool writeCells(const std::string& dir) {
    Canvas c(256, 192);
    cairo_t* cr = c.cr();
    cellFrame(cr, 0, 0, 64, pal::white, 0.2);      // white: cell under the mouse
    roseGlow(cr, 64, 0, 64);                       // cellglow_rose
    ring(cr, 160, 32, 27, pal::sun);               // sel1: golden selection ring
    ring(cr, 224, 32, 27, pal::playerSide);        // sel2
    softGlow(cr, 32, 96, 31, rgb(0xFFF3B0, 0.9));  // glow1
    roseGlow(cr, 128, 64, 128);                    // cellglow_rose_2x

    // cursor_attack: a crosshair, 48x48 at (64, 64).
    double x = 88, y = 88;
    crosshair(cr, x, y, rgb(0xFF5A5F));
    ellipse(cr, x, y, 2.5, 2.5);
    fillStroke(cr, rgb(0xFFF3B0), pal::ink, 1.2);
    return c.save(dir + "/cells.png");
}

bool writeProjectiles(const std::string& dir) {
    Canvas c(64, 64);
    cairo_t* cr = c.cr();
    // Harpoon spear, 40x12 at (0, 0), pointing right.
    cairo_move_to(cr, 3, 6);
    cairo_line_to(cr, 30, 6);
    stroke(cr, pal::ink, 4);
    cairo_move_to(cr, 3, 6);
    cairo_line_to(cr, 30, 6);
    stroke(cr, rgb(0xD8E2EE), 2);
    cairo_move_to(cr, 28, 2);
    cairo_line_to(cr, 39, 6);
    cairo_line_to(cr, 28, 10);
    cairo_line_to(cr, 31, 6);
    cairo_close_path(cr);
    fillStroke(cr, pal::steel, pal::ink, 1.3);
    cairo_move_to(cr, 2, 2);
    cairo_line_to(cr, 8, 6);
    cairo_line_to(cr, 2, 10);
    stroke(cr, pal::sunDeep, 2);

    // Torpedo, 48x18 at (0, 16).
    for (int i = 0; i < 3; i++) bubble(cr, 3 + i * 3, 22 + i * 3.5, 1.6 + i * 0.3, 0.9);
    roundedRect(cr, 10, 19, 32, 12, 6);
    linearFill(cr, 0, 19, 0, 31, {{0, rgb(0xF4F8FC)}, {0.5, rgb(0x9FB0C6)}, {1, rgb(0x5E6F88)}},
               true);
    stroke(cr, pal::ink, 1.6);
    cairo_move_to(cr, 36, 19.3);
    cairo_curve_to(cr, 44, 19.3, 47, 23, 47, 25);
    cairo_curve_to(cr, 47, 27, 44, 30.7, 36, 30.7);
    cairo_close_path(cr);
    fillStroke(cr, rgb(0xE63946), pal::ink, 1.4);
    cairo_move_to(cr, 11, 20);
    cairo_line_to(cr, 6, 17);
    cairo_line_to(cr, 6, 33);
    cairo_line_to(cr, 11, 30);
    cairo_close_path(cr);
    fillStroke(cr, pal::sun, pal::ink, 1.3);

    // Venom spike, 32x12 at (0, 40).
    softGlow(cr, 18, 46, 10, rgb(0xFF7FC8, 0.6));
    cairo_move_to(cr, 2, 42);
    cairo_curve_to(cr, 12, 43, 24, 44, 31, 46);
    cairo_curve_to(cr, 24, 48, 12, 49, 2, 50);
    cairo_curve_to(cr, 4, 47, 4, 45, 2, 42);
    cairo_close_path(cr);
    linearFill(cr, 0, 42, 32, 46, {{0, rgb(0xB84BE0)}, {1, rgb(0xFFD1F0)}}, true);
    stroke(cr, pal::ink, 1.3);
    return c.save(dir + "/projectiles.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_battle_art <res folder>\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = writeMap(dir);
    ok = writeCells(dir) && ok;
    ok = writeProjectiles(dir) && ok;
    return ok ? 0 : 1;
}
