// Writes the pictures and the particle file of the game's feedback:
//   make_feedback_art <res folder>
// feedback.png (the end-of-battle banner's and summary's plates and the help
// panel: big, so kept apart from what a battle draws all along),
// badges.png (the hit flash, the bubble of the death burst, the won-level
// badge and the stars earned and not) and
// burst.psi (the death burst's 128-byte particle parameters).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "assets/art/canvas.h"
#include "assets/art/palette.h"

using namespace art;

namespace {

// A dark, see-through sea-glass plate with a light rim, as the slider plates.
void paintPlate(cairo_t* cr, double x, double y, double w, double h, double r, double alpha) {
    roundedRect(cr, x + 3, y + 3, w - 6, h - 6, r);
    linearFill(cr, 0, y, 0, y + h,
               {{0, rgb(0x0B2E5C, alpha)}, {1, rgb(0x061A38, std::fmin(1.0, alpha + 0.1))}}, true);
    stroke(cr, rgb(0xFFFFFF, 0.6), 2.5);
    roundedRect(cr, x + 10, y + 8, w - 20, std::fmin(18.0, h * 0.2), 8);
    fill(cr, rgb(0xFFFFFF, 0.08));
}

// A five-pointed star with an ink outline: gold when earned, a hollow
// outline when not (told apart by shape as well as colour).
void paintStar(cairo_t* cr, double cx, double cy, double r, bool earned) {
    for (int i = 0; i < 10; i++) {
        double a = -M_PI / 2 + i * M_PI / 5;
        double rr = i % 2 ? r * 0.45 : r;
        double px = cx + rr * std::cos(a), py = cy + rr * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, px, py);
        else
            cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (earned) {
        radialFill(cr, cx - r * 0.2, cy - r * 0.3, r * 0.1, r, {{0, rgb(0xFFF3A0)}, {1, pal::sunDeep}}, true);
        stroke(cr, pal::ink, r * 0.16);
    } else {
        fill(cr, rgb(0x06142B, 0.55), true);
        stroke(cr, rgb(0xC9D3DF, 0.9), r * 0.12);
    }
}

bool writePlates(const std::string& dir) {
    Canvas c(640, 864);
    cairo_t* cr = c.cr();
    paintPlate(cr, 0, 0, 640, 440, 22, 0.86);    // help panel
    paintPlate(cr, 0, 448, 560, 88, 30, 0.62);   // banner plate
    paintPlate(cr, 0, 544, 600, 312, 26, 0.84);  // end-of-battle summary plate
    return c.save(dir + "/feedback.png");
}

// The badges are painted where they lay beside the plates in one picture
// before, moved left as a whole, so their pixels stay as they were; the rows
// under them stay clear, as a picture's first row filters with its last.
bool writeBadges(const std::string& dir) {
    Canvas c(256, 72);
    cairo_t* cr = c.cr();
    cairo_translate(cr, -656, 0);
    paintStar(cr, 784 + 20, 20, 18, true);       // star_on 128, 0, 40, 40
    paintStar(cr, 832 + 20, 20, 18, false);      // star_off 176, 0, 40, 40

    // Hit flash: a soft white bloom over one cell.
    softGlow(cr, 656 + 32, 32, 32, rgb(0xFFFFFF, 0.85));
    softGlow(cr, 656 + 32, 32, 18, rgb(0xFFFFFF, 0.7));

    // The burst's bubble: outlined, so it reads on the bright water.
    ellipse(cr, 728 + 8, 8, 6, 6);
    radialFill(cr, 728 + 6, 6, 0.5, 7, {{0, rgb(0xFFFFFF, 0.95)}, {1, rgb(0xBFF4FF, 0.55)}}, true);
    stroke(cr, rgb(0x13254A, 0.8), 1.4);
    ellipse(cr, 728 + 5.5, 5.5, 1.6, 1.6);
    fill(cr, pal::white);

    // Won-level mark: a gold badge with a check, outlined like the level numbers.
    ellipse(cr, 752 + 14, 14, 11.5, 11.5);
    radialFill(cr, 752 + 11, 11, 1, 13, {{0, rgb(0xFFF3A0)}, {1, pal::sunDeep}}, true);
    stroke(cr, pal::ink, 2.5);
    cairo_move_to(cr, 752 + 8.5, 14.5);
    cairo_line_to(cr, 752 + 12.5, 18.5);
    cairo_line_to(cr, 752 + 19.5, 9.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgba(cr, 0.075, 0.145, 0.29, 1);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 2.6);
    cairo_stroke(cr);
    return c.save(dir + "/badges.png");
}

void put32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; i++) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void putf(unsigned char* p, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    put32(p, v);
}

// The death burst: a puff of bubbles that scatter and rise for under a second.
bool writeBurst(const std::string& dir) {
    unsigned char b[128] = {};
    put32(b + 4, 400);         // particles per second
    putf(b + 8, 0.15f);        // emitter lifetime
    putf(b + 12, 0.45f);       // particle life
    putf(b + 16, 0.9f);
    putf(b + 20, 0.0f);        // direction: up
    putf(b + 24, 6.2832f);     // spread: all round
    b[28] = 0;                 // not relative
    putf(b + 32, 70.0f);       // speed
    putf(b + 36, 200.0f);
    putf(b + 40, -90.0f);      // gravity: bubbles rise
    putf(b + 44, -40.0f);
    putf(b + 48, -60.0f);      // radial: slow down after the pop
    putf(b + 52, -20.0f);
    putf(b + 56, -30.0f);      // tangential swirl
    putf(b + 60, 30.0f);
    putf(b + 64, 1.8f);        // size start, end, variation
    putf(b + 68, 0.7f);
    putf(b + 72, 0.4f);
    putf(b + 76, 0.0f);        // no spin
    putf(b + 80, 0.0f);
    putf(b + 84, 0.0f);
    const float start[4] = {1.0f, 1.0f, 1.0f, 1.0f}, end[4] = {0.75f, 0.95f, 1.0f, 0.0f};
    for (int i = 0; i < 4; i++) {
        putf(b + 88 + 4 * i, start[i]);
        putf(b + 104 + 4 * i, end[i]);
    }
    putf(b + 120, 0.15f);      // color variation
    putf(b + 124, 0.2f);       // alpha variation
    std::ofstream out(dir + "/burst.psi", std::ios::binary);
    out.write(reinterpret_cast<const char*>(b), sizeof b);
    return out.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_feedback_art <res folder>\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = writePlates(dir);
    ok = writeBadges(dir) && ok;
    ok = writeBurst(dir) && ok;
    return ok ? 0 : 1;
}
