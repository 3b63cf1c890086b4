// Writes the battle's information pictures:
//   make_board_art <res folder>
// board_info.png: the move tint, the in-reach mark, the out-of-range pointer,
// the turn-order bar's marks, the damage tags, the unit panel and the
// hatching of cells an enemy could strike.
#include <cmath>
#include <cstdio>
#include <string>

#include "assets/art/canvas.h"
#include "assets/art/palette.h"

using namespace art;

namespace {

// Cells the acting unit may step to: a light teal wash with a dashed rim,
// see-through enough for the sea floor to show.
void moveTint(cairo_t* cr, double x, double y) {
    roundedRect(cr, x + 4, y + 4, 56, 56, 9);
    fill(cr, withAlpha(pal::teal, 0.22), true);
    const double dash[] = {7, 5};
    cairo_set_dash(cr, dash, 2, 0);
    stroke(cr, rgb(0xB8FFF4, 0.85), 2.2);
    cairo_set_dash(cr, nullptr, 0, 0);
}

// Enemies in reach: four red corner brackets at the cell's edge, leaving
// the unit itself uncovered.
void rangeMark(cairo_t* cr, double x, double y) {
    for (int pass = 0; pass < 2; pass++) {
        Color col = pass == 0 ? withAlpha(pal::ink, 0.8) : rgb(0xFF5A5F);
        double w = pass == 0 ? 5 : 2.6;
        for (int k = 0; k < 4; k++) {
            double sx = k % 2 ? -1 : 1, sy = k / 2 ? -1 : 1;
            double cx = x + (k % 2 ? 61 : 3), cy = y + (k / 2 ? 61 : 3);
            cairo_move_to(cr, cx, cy + sy * 14);
            cairo_line_to(cr, cx, cy);
            cairo_line_to(cr, cx + sx * 14, cy);
            stroke(cr, col, w);
        }
    }
}

// The pointer over an enemy out of reach: a grey crosshair struck through.
void outOfRangeCursor(cairo_t* cr, double x, double y) {
    crosshair(cr, x, y, rgb(0xC9D3DF));
    cairo_move_to(cr, x - 12, y + 12);
    cairo_line_to(cr, x + 12, y - 12);
    stroke(cr, pal::ink, 7);
    cairo_move_to(cr, x - 12, y + 12);
    cairo_line_to(cr, x + 12, y - 12);
    stroke(cr, rgb(0xFF5A5F), 3.5);
}

// Cells an enemy could strike: dark-edged red stripes running down to the
// left, so the danger reads by its pattern even without its colour. The
// stripes start on the cell's edges every 8 pixels, so neighbouring cells
// join into one hatched field.
void threatHatch(cairo_t* cr, double x, double y) {
    cairo_save(cr);
    cairo_rectangle(cr, x + 1, y + 1, 62, 62);
    cairo_clip(cr);
    for (int pass = 0; pass < 2; pass++) {
        for (int k = -64; k < 64; k += 8) {
            cairo_move_to(cr, x + k, y + 64);
            cairo_line_to(cr, x + k + 64, y);
        }
        stroke(cr, pass == 0 ? withAlpha(pal::ink, 0.55) : rgb(0xFF5A5F, 0.95), pass == 0 ? 4.6 : 2.4);
    }
    cairo_restore(cr);
}

// A ring around a turn-order badge.
void badgeRing(cairo_t* cr, double cx, double cy, const Color& c) {
    ellipse(cr, cx, cy, 25, 25);
    stroke(cr, withAlpha(c, 0.4), 6);
    ellipse(cr, cx, cy, 25, 25);
    stroke(cr, c, 3);
}

// A badge's unit has acted: a small tick in a disc.
void doneTick(cairo_t* cr, double cx, double cy) {
    ellipse(cr, cx, cy, 9, 9);
    fillStroke(cr, rgb(0x5E6F88), pal::ink, 1.6);
    cairo_move_to(cr, cx - 4.5, cy + 0.5);
    cairo_line_to(cr, cx - 1, cy + 4);
    cairo_line_to(cr, cx + 5, cy - 4);
    stroke(cr, pal::white, 2.4);
}

void tag(cairo_t* cr, double x, double y, double w, double h, const Color& c) {
    roundedRect(cr, x + 1, y + 1, w - 2, h - 2, h / 2 - 1);
    fill(cr, withAlpha(c, 0.92), true);
    stroke(cr, pal::ink, 2);
}

void panel(cairo_t* cr, double x, double y, double w, double h) {
    roundedRect(cr, x + 1.5, y + 1.5, w - 3, h - 3, 14);
    linearFill(cr, 0, y, 0, y + h, {{0, rgb(0x0B2E5C, 0.82)}, {1, rgb(0x061A38, 0.88)}}, true);
    stroke(cr, rgb(0xFFFFFF, 0.55), 2.5);
}

bool writeBoardInfo(const std::string& dir) {
    Canvas c(512, 192);
    cairo_t* cr = c.cr();
    moveTint(cr, 0, 0);                               // move_tint 0, 0, 64, 64
    rangeMark(cr, 64, 0);                             // range_mark 64, 0, 64, 64
    outOfRangeCursor(cr, 152, 24);                    // cursor_far 128, 0, 48, 48
    doneTick(cr, 188, 12);                            // bar_done 176, 0, 24, 24
    badgeRing(cr, 28, 92, pal::sun);                  // bar_now 0, 64, 56, 56
    badgeRing(cr, 92, 92, pal::white);                // bar_hover 64, 64, 56, 56
    tag(cr, 128, 64, 76, 22, rgb(0xC81D25));          // damage_tag 128, 64, 76, 22
    tag(cr, 128, 96, 76, 22, rgb(0x6A1B9A));          // damage_tag_kill 128, 96, 76, 22
    panel(cr, 0, 128, 400, 56);                       // info_panel 0, 128, 400, 56
    threatHatch(cr, 256, 0);                          // threat_hatch 256, 0, 64, 64
    return c.save(dir + "/board_info.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_board_art <res folder>\n");
        return 2;
    }
    return writeBoardInfo(argv[1]) ? 0 : 1;
}
