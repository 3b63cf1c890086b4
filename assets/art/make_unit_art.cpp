// Writes the unit animation sheets and the turn-order badges:
//   make_unit_art <res folder>
// Each sheet holds one animation per row, frames left to right.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/art/canvas.h"
#include "assets/art/palette.h"
#include "assets/art/units.h"

using namespace art;

namespace {

const int FRAMES = 8;

struct Kind {
    const char* file;  // sheet and badge base name
    UnitPainter paint;
    int frame;  // frame size in pixels
    std::vector<Action> rows;
    bool player;
    double badgeScale, badgeDx, badgeDy;  // portrait framing in the badge
};

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> list = {
        {"aqua", paintAqua, 64, {Action::Idle, Action::Move}, true, 0.95, -3, 15},
        {"torp", paintTorp, 64, {Action::Idle, Action::Move, Action::Attack}, true, 0.9, 1, 14},
        {"bati", paintBati, 128, {Action::Idle}, true, 0.36, 0, 0},
        {"paul", paintPaul, 128, {Action::Idle, Action::Move, Action::Attack}, false, 0.42, 0, 7},
        {"shark", paintShark, 128, {Action::Idle, Action::Move, Action::Attack}, false, 0.4, 4, 0},
        {"medu", paintMedu, 64, {Action::Idle, Action::Move}, false, 0.78, 0, 6},
    };
    return list;
}

void paintFrame(cairo_t* cr, const Kind& k, Action a, int i, double x, double y) {
    // Loops divide the cycle evenly; a strike runs from rest to rest.
    double t = a == Action::Attack ? double(i) / (FRAMES - 1) : double(i) / FRAMES;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, k.frame, k.frame);
    cairo_clip(cr);
    cairo_translate(cr, x + k.frame / 2.0, y + k.frame / 2.0);
    k.paint(cr, t, a);
    cairo_restore(cr);
}

bool writeSheet(const std::string& dir, const Kind& k) {
    Canvas c(k.frame * FRAMES, k.frame * int(k.rows.size()));
    for (size_t r = 0; r < k.rows.size(); r++)
        for (int i = 0; i < FRAMES; i++)
            paintFrame(c.cr(), k, k.rows[r], i, i * k.frame, r * k.frame);
    return c.save(dir + "/" + k.file + ".png");
}

// A round badge with the unit's portrait in the side's colour; the spent
// variant is greyed and darkened.
void paintBadge(Canvas& sheet, const Kind& k, int row, bool spent) {
    const int cell = 48;
    Canvas badge(cell, cell);
    cairo_t* cr = badge.cr();
    double c = cell / 2.0;
    Color side = k.player ? pal::playerSide : pal::enemySide;
    ellipse(cr, c, c, 21, 21);
    linearFill(cr, 0, c - 21, 0, c + 21,
               {{0, mix(side, pal::white, 0.45)}, {1, mix(side, pal::ink, 0.3)}}, true);
    stroke(cr, pal::ink, 2);
    ellipse(cr, c, c, 17, 17);
    linearFill(cr, 0, c - 17, 0, c + 17, {{0, pal::seaTop}, {1, pal::seaDeep}}, true);
    cairo_save(cr);
    cairo_clip(cr);
    cairo_translate(cr, c + k.badgeDx, c + k.badgeDy);
    cairo_scale(cr, k.badgeScale, k.badgeScale);
    k.paint(cr, 0.0, Action::Idle);
    cairo_restore(cr);
    ellipse(cr, c, c, 17, 17);
    stroke(cr, pal::ink, 1.6);
    ellipse(cr, c - 7, c - 10, 6, 3);
    fill(cr, rgb(0xFFFFFF, 0.35));
    if (spent) desaturate(badge, 0.85, 0.55);
    sheet.draw(badge, spent ? cell : 0, row * cell);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_unit_art <res folder>\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = true;
    for (const Kind& k : kinds()) ok = writeSheet(dir, k) && ok;

    Canvas markers(96, 48 * int(kinds().size()));
    for (size_t i = 0; i < kinds().size(); i++) {
        paintBadge(markers, kinds()[i], int(i), false);
        paintBadge(markers, kinds()[i], int(i), true);
    }
    ok = markers.save(dir + "/markers.png") && ok;
    return ok ? 0 : 1;
}
