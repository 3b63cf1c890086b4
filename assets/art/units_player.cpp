// The player's kinds: Aqua the diver, Torp the torpedo-man, Bati the submarine.
#include <cmath>

#include "assets/art/palette.h"
#include "assets/art/units.h"

namespace art {

namespace {
const double TAU = 2 * M_PI;
}

void paintEye(cairo_t* cr, double x, double y, double r, double lookX, double lookY,
              double browTilt) {
    ellipse(cr, x, y, r, r * 1.1);
    fillStroke(cr, pal::white, pal::ink, r * 0.28);
    ellipse(cr, x + lookX * r * 0.4, y + lookY * r * 0.4, r * 0.5, r * 0.55);
    fill(cr, pal::ink);
    ellipse(cr, x + lookX * r * 0.4 - r * 0.18, y + lookY * r * 0.4 - r * 0.2, r * 0.17, r * 0.17);
    fill(cr, pal::white);
    if (browTilt != 0) {
        cairo_move_to(cr, x - r * 1.1, y - r * 1.3 - browTilt * r * 0.5);
        cairo_line_to(cr, x + r * 1.1, y - r * 1.3 + browTilt * r * 0.5);
        stroke(cr, pal::ink, r * 0.4);
    }
}

void paintPropeller(cairo_t* cr, double x, double y, double radius, double angle) {
    // Seen from the side: two blades whose length follows the rotation.
    for (int b = 0; b < 2; b++) {
        double a = angle + b * M_PI;
        double len = std::sin(a) * radius;
        ellipse(cr, x, y + len / 2, radius * 0.28, std::fabs(len) / 2 + 1.0);
        fillStroke(cr, mix(pal::sunDeep, pal::sun, 0.5 + 0.5 * std::cos(a)), pal::ink, 1.2);
    }
    ellipse(cr, x, y, radius * 0.3, radius * 0.3);
    fillStroke(cr, pal::steel, pal::ink, 1.2);
}

void paintRisingBubbles(cairo_t* cr, double x, double y, double t, double height, double size) {
    for (int i = 0; i < 3; i++) {
        double f = std::fmod(t + i / 3.0, 1.0);
        double bx = x + std::sin((f + i) * TAU) * size * 0.8;
        double by = y - f * height;
        double fade = f < 0.8 ? 1.0 : (1.0 - f) / 0.2;
        bubble(cr, bx, by, size * (0.6 + 0.5 * f), fade);
    }
}

namespace {

// A flipper on a foot at (x, y), pointing back and down; `kick` swings it.
void paintFlipper(cairo_t* cr, double x, double y, double kick, const Color& c) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, kick * 0.5);
    cairo_move_to(cr, -3, -2);
    cairo_curve_to(cr, -8, 1, -12, 2, -15, 5);
    cairo_line_to(cr, -3, 6);
    cairo_curve_to(cr, 1, 5, 4, 3, 4, 0);
    cairo_close_path(cr);
    fillStroke(cr, c, pal::ink, 1.5);
    cairo_restore(cr);
}

// Two legs from the hips down to the flippers at the bottom of the cell.
void paintKickingLegs(cairo_t* cr, double kick, const Color& near, const Color& far,
                      const Color& fin) {
    for (int leg = 0; leg < 2; leg++) {
        double k = leg == 0 ? kick : -kick;
        double hx = leg == 0 ? -7 : 1, fx = hx - 3 + k * 3, fy = 26 - std::fabs(k) * 2;
        taper(cr, {{hx, 12}, {hx - 1 + k * 2, 19}, {fx, fy}}, 8, 6);
        fillStroke(cr, leg == 0 ? far : near, pal::ink, 1.6);
        paintFlipper(cr, fx, fy + 1, k, fin);
    }
}

// An upright torso from shoulders at `top` down to the hips, in one flat
// colour: the health number is drawn over its middle.
void paintTorso(cairo_t* cr, double left, double top, const Color& c) {
    cairo_move_to(cr, left, top + 6);
    cairo_curve_to(cr, left, top + 1, left + 5, top, -1, top);
    cairo_curve_to(cr, 7, top, 12, top + 3, 12, top + 9);
    cairo_line_to(cr, 12, 12);
    cairo_curve_to(cr, 12, 17, 8, 18, -1, 18);
    cairo_curve_to(cr, -10, 18, -14, 17, -14, 12);
    cairo_close_path(cr);
    fillStroke(cr, c, pal::ink, 1.8);
}

}  // namespace

// Upright figures keep the middle of the body, where the health number is
// drawn, one flat colour.
void paintAqua(cairo_t* cr, double t, Action action) {
    bool moving = action == Action::Move;
    double wave = std::sin(t * TAU);
    double kick = wave * (moving ? 0.9 : 0.3);
    cairo_save(cr);
    cairo_translate(cr, 0, std::cos(t * TAU) * (moving ? 1.0 : 1.5));
    if (moving) cairo_rotate(cr, 0.08);

    const Color suit = rgb(0xFF8A3D), suitDark = rgb(0xD9541E), fin = rgb(0x1FB5A8);
    const Color hood = rgb(0x24456E);
    paintKickingLegs(cr, kick, suit, suitDark, fin);
    // Air tank on the back.
    roundedRect(cr, -21, -17, 10, 27, 5);
    linearFill(cr, -21, 0, -11, 0, {{0, rgb(0xFFE680)}, {1, pal::sunDeep}}, true);
    stroke(cr, pal::ink, 1.6);
    roundedRect(cr, -19, -21, 6, 5, 1.5);
    fillStroke(cr, pal::steel, pal::ink, 1.2);
    paintTorso(cr, -13, -15, suit);
    // Teal trim on the shoulders only.
    cairo_move_to(cr, -11, -11);
    cairo_curve_to(cr, -6, -14, 4, -14, 10, -10);
    stroke(cr, withAlpha(fin, 0.95), 2.2);
    // Head: dark hood and a big mask looking ahead.
    ellipse(cr, 0, -22, 9, 8.5);
    fillStroke(cr, hood, pal::ink, 1.8);
    roundedRect(cr, 1, -28, 12, 10, 4);
    fillStroke(cr, rgb(0xFFD23F), pal::ink, 1.5);
    roundedRect(cr, 3, -26.5, 8.5, 7, 3);
    linearFill(cr, 0, -26.5, 0, -19.5, {{0, rgb(0xC9F6FF)}, {1, rgb(0x5CC8F0)}});
    ellipse(cr, 8.5, -23, 1.2, 1.4);
    fill(cr, pal::ink);
    ellipse(cr, 5.5, -25, 1.4, 0.9);
    fill(cr, pal::white);
    // Regulator and its hose to the tank.
    cairo_move_to(cr, 9, -16);
    cairo_curve_to(cr, 2, -12, -8, -18, -14, -16);
    stroke(cr, rgb(0x3A3F55), 2);
    ellipse(cr, 10, -16, 2.4, 2.2);
    fillStroke(cr, rgb(0x3A3F55), pal::ink, 1);
    // Harpoon gun held forward at chest height, above the number.
    double aim = action == Action::Attack ? 0 : wave * 0.6;
    roundedRect(cr, 2, -9 + aim, 24, 4.5, 2);
    fillStroke(cr, rgb(0x8B99AD), pal::ink, 1.3);
    roundedRect(cr, 4, -6 + aim, 6, 8, 2);
    fillStroke(cr, rgb(0x9C5B2E), pal::ink, 1.3);
    cairo_move_to(cr, 25, -9.5 + aim);
    cairo_line_to(cr, 31.5, -6.75 + aim);
    cairo_line_to(cr, 25, -4 + aim);
    cairo_close_path(cr);
    fillStroke(cr, pal::steel, pal::ink, 1.2);
    // The arm holding it.
    taper(cr, {{-4, -10}, {1, -4}, {7, -3 + aim}}, 5.5, 4.5);
    fillStroke(cr, suitDark, pal::ink, 1.4);
    ellipse(cr, 7.5, -3 + aim, 2.8, 2.8);
    fillStroke(cr, hood, pal::ink, 1.2);
    cairo_restore(cr);
    paintRisingBubbles(cr, 12, -22, t, moving ? 8 : 10, 1.8);
}

// The torpedo-man: a diver in a brass helmet with a torpedo launcher on his
// shoulder. His strike fires it point-blank: recoil and a blast at the muzzle.
void paintTorp(cairo_t* cr, double t, Action action) {
    bool moving = action == Action::Move;
    double wave = std::sin(t * TAU);
    double recoil = 0, blast = 0;
    if (action == Action::Attack) {
        // Brace, fire at the middle, settle back.
        recoil = t < 0.35 ? t / 0.35 * 1.5 : t < 0.5 ? 1.5 - (t - 0.35) / 0.15 * 5.5
                                                     : -4 * (1 - (t - 0.5) / 0.5);
        blast = t < 0.4 ? 0 : t < 0.6 ? (t - 0.4) / 0.2 : std::fmax(0, 1 - (t - 0.6) / 0.3);
    }
    double kick = action == Action::Attack ? 0 : wave * (moving ? 0.9 : 0.25);
    double bob = action == Action::Attack ? 0 : std::cos(t * TAU) * (moving ? 1.0 : 1.4);
    cairo_save(cr);
    cairo_translate(cr, recoil, bob);

    const Color suit = rgb(0x2F5E8E), suitDark = rgb(0x1E3F66), boot = rgb(0x3A3F55);
    const Color brass = rgb(0xF2B134), brassDark = rgb(0xB9771B), red = rgb(0xE63946);
    paintKickingLegs(cr, kick, suit, suitDark, boot);
    paintTorso(cr, -14, -13, suit);
    // Brass diving helmet with a round window and the face behind it.
    ellipse(cr, -4, -19.5, 10.5, 10);
    radialFill(cr, -7, -24, 1, 12, {{0, rgb(0xFFE08A)}, {0.6, brass}, {1, brassDark}}, true);
    stroke(cr, pal::ink, 1.8);
    ellipse(cr, 1, -20, 6, 6);
    fillStroke(cr, brassDark, pal::ink, 1.4);
    ellipse(cr, 1, -20, 4.4, 4.4);
    fill(cr, rgb(0xFFC9A0));
    paintEye(cr, 2.5, -21, 1.3, 0.9, 0, action == Action::Attack ? 1.0 : 0.5);
    cairo_move_to(cr, 0.5, -17.5);
    cairo_line_to(cr, 4, -17.8);
    stroke(cr, pal::ink, 1.0);
    ellipse(cr, 1, -20, 4.4, 4.4);
    fill(cr, rgb(0xD8FAFF, 0.3));
    ellipse(cr, -9, -25, 2.4, 1.4);
    fill(cr, rgb(0xFFFFFF, 0.7));
    // Launcher on the shoulder: a tube with a rear flare, red bands and the
    // torpedo's nose in the muzzle.
    cairo_save(cr);
    cairo_translate(cr, 0, -9);
    cairo_move_to(cr, -30, -7);
    cairo_line_to(cr, -24, -5);
    cairo_line_to(cr, -24, 5);
    cairo_line_to(cr, -30, 7);
    cairo_close_path(cr);
    fillStroke(cr, rgb(0x5E6F88), pal::ink, 1.4);
    roundedRect(cr, -25, -5.5, 50, 11, 3);
    linearFill(cr, 0, -5.5, 0, 5.5, {{0, rgb(0xB5C99A)}, {0.5, rgb(0x6B8F4E)}, {1, rgb(0x3F5A2C)}},
               true);
    stroke(cr, pal::ink, 1.6);
    for (double bx : {-16.0, 14.0}) {
        cairo_rectangle(cr, bx, -5.5, 3.5, 11);
        fillStroke(cr, red, pal::ink, 1.0);
    }
    cairo_move_to(cr, 25, -4);
    cairo_curve_to(cr, 30, -4, 31.5, -1, 31.5, 0);
    cairo_curve_to(cr, 31.5, 1, 30, 4, 25, 4);
    cairo_close_path(cr);
    fillStroke(cr, red, pal::ink, 1.3);
    // Sight on top.
    roundedRect(cr, 2, -9.5, 6, 4.5, 1);
    fillStroke(cr, boot, pal::ink, 1.1);
    cairo_restore(cr);
    // Arm up to the grip under the tube.
    taper(cr, {{-3, -7}, {3, -2}, {9, -3}}, 5.5, 4.5);
    fillStroke(cr, suitDark, pal::ink, 1.4);
    ellipse(cr, 9.5, -3.5, 2.8, 2.8);
    fillStroke(cr, boot, pal::ink, 1.2);
    cairo_restore(cr);
    if (blast > 0) {
        // Blast star at the muzzle.
        double cx = 25 + recoil, cy = -9, s = 4 + blast * 6;
        softGlow(cr, cx, cy, s * 1.3, rgb(0xFFF3B0, 0.8 * blast));
        cairo_new_path(cr);
        for (int i = 0; i < 10; i++) {
            double a = i * TAU / 10 - M_PI / 2;
            double r = (i % 2 == 0) ? s : s * 0.45;
            cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
        }
        cairo_close_path(cr);
        fillStroke(cr, rgb(0xFFF3B0), rgb(0xFF9F1C), 1.5);
    }
    if (action != Action::Attack) paintRisingBubbles(cr, -6, -30, t, 6, 1.6);
}

void paintBati(cairo_t* cr, double t, Action) {
    double bob = std::sin(t * TAU) * 2.5;
    double tilt = std::sin(t * TAU + 1) * 0.025;
    cairo_save(cr);
    cairo_translate(cr, 2, 8 + bob);
    cairo_rotate(cr, tilt);
    cairo_scale(cr, 0.88, 0.88);

    const Color hull = pal::sun, hullDark = rgb(0xE08A12);
    // Propeller and rudder at the back.
    paintPropeller(cr, -56, 2, 14, t * TAU * 3);
    cairo_move_to(cr, -44, -2);
    cairo_line_to(cr, -56, -20);
    cairo_line_to(cr, -48, -20);
    cairo_line_to(cr, -36, -4);
    cairo_close_path(cr);
    fillStroke(cr, pal::coral, pal::ink, 2.2);
    // Conning tower and periscope.
    cairo_move_to(cr, 18, -24);
    cairo_line_to(cr, 18, -44);
    cairo_line_to(cr, 27, -44);
    stroke(cr, pal::ink, 6.5);
    cairo_move_to(cr, 18, -24);
    cairo_line_to(cr, 18, -44);
    cairo_line_to(cr, 27, -44);
    stroke(cr, rgb(0x9AA8BC), 3.5);
    roundedRect(cr, 26, -48, 5, 8, 1.5);
    fillStroke(cr, rgb(0x5CC8F0), pal::ink, 1.5);
    roundedRect(cr, -14, -38, 38, 22, 8);
    linearFill(cr, 0, -38, 0, -16, {{0, rgb(0xFFE680)}, {1, hullDark}}, true);
    stroke(cr, pal::ink, 2.4);
    ellipse(cr, 6, -28, 4.5, 4.5);
    fillStroke(cr, rgb(0x9EE6FA), pal::ink, 1.8);
    // Hull.
    cairo_move_to(cr, -46, -6);
    cairo_curve_to(cr, -46, -22, -30, -24, -8, -24);
    cairo_line_to(cr, 26, -24);
    cairo_curve_to(cr, 50, -24, 58, -8, 58, 2);
    cairo_curve_to(cr, 58, 14, 48, 26, 24, 26);
    cairo_line_to(cr, -18, 26);
    cairo_curve_to(cr, -38, 26, -46, 14, -46, -6);
    cairo_close_path(cr);
    linearFill(cr, 0, -24, 0, 26, {{0, rgb(0xFFF1A8)}, {0.35, hull}, {1, hullDark}}, true);
    stroke(cr, pal::ink, 2.6);
    // Shine along the top.
    cairo_move_to(cr, -30, -15);
    cairo_curve_to(cr, -20, -20, 10, -20, 30, -18);
    stroke(cr, rgb(0xFFFFFF, 0.6), 3.5);
    // Red band and rivets.
    cairo_move_to(cr, -44, 8);
    cairo_curve_to(cr, -10, 12, 30, 12, 57, 8);
    stroke(cr, pal::coral, 4);
    for (int i = 0; i < 9; i++) {
        ellipse(cr, -34 + i * 10, 16, 1.2, 1.2);
        fill(cr, withAlpha(pal::ink, 0.6));
    }
    // Portholes.
    for (int i = 0; i < 3; i++) {
        double px = -24 + i * 20, py = -5;
        ellipse(cr, px, py, 8, 8);
        fillStroke(cr, rgb(0xF4A259), pal::ink, 2);
        ellipse(cr, px, py, 5.5, 5.5);
        linearFill(cr, 0, py - 5.5, 0, py + 5.5, {{0, rgb(0xC9F6FF)}, {1, rgb(0x3FA7D6)}});
        ellipse(cr, px - 2, py - 2.2, 1.8, 1.2);
        fill(cr, pal::white);
    }
    // Torpedo tube at the nose.
    ellipse(cr, 52, 6, 3.5, 5);
    fillStroke(cr, rgb(0x3A3F55), pal::ink, 1.8);
    cairo_restore(cr);
    paintRisingBubbles(cr, -50, 4 + bob, t, 34, 3.2);
}

}  // namespace art
