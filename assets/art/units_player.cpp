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

void paintAqua(cairo_t* cr, double t, Action action) {
    bool moving = action == Action::Move;
    double wave = std::sin(t * TAU);
    double kick = wave * (moving ? 0.5 : 0.18);
    cairo_save(cr);
    cairo_translate(cr, 2 + (moving ? wave * 0.8 : 0),
                    1 + std::cos(t * TAU) * (moving ? 1.0 : 1.6));
    cairo_rotate(cr, moving ? -0.05 : -0.2);
    cairo_scale(cr, 1.08, 1.08);

    const Color suit = rgb(0xFF8A3D), suitDark = rgb(0xD9541E), flipper = rgb(0x1FB5A8);
    // Legs and flippers, behind the body.
    for (int leg = 0; leg < 2; leg++) {
        double k = leg == 0 ? kick : -kick;
        double kx = -14, ky = 3 + leg * 3 + k * 4;
        double fx = -19, fy = ky + k * 5;
        taper(cr, {{-7, 2.0 + leg * 3}, {kx, ky}, {fx, fy}}, 6.5, 5);
        fillStroke(cr, leg == 0 ? suitDark : suit, pal::ink, 1.6);
        cairo_save(cr);
        cairo_translate(cr, fx, fy);
        cairo_rotate(cr, k * 0.9);
        cairo_move_to(cr, 1, -3);
        cairo_curve_to(cr, -5, -6, -8, -4, -10, -5);
        cairo_line_to(cr, -9, 5);
        cairo_curve_to(cr, -8, 4, -4, 4, 1, 3);
        cairo_close_path(cr);
        fillStroke(cr, flipper, pal::ink, 1.6);
        cairo_restore(cr);
    }
    // Air tank on the back.
    roundedRect(cr, -13, -12.5, 20, 8, 4);
    linearFill(cr, 0, -12.5, 0, -4.5, {{0, rgb(0xFFE680)}, {1, pal::sunDeep}}, true);
    stroke(cr, pal::ink, 1.6);
    // Torso.
    ellipse(cr, -1, 1, 12, 7.5);
    linearFill(cr, 0, -6, 0, 8, {{0, rgb(0xFFB070)}, {1, suitDark}}, true);
    stroke(cr, pal::ink, 1.8);
    cairo_move_to(cr, -9, 2);
    cairo_line_to(cr, 7, 2);
    stroke(cr, withAlpha(flipper, 0.9), 2);
    // Head: dark hood, big mask.
    ellipse(cr, 12, -3, 7.5, 7.5);
    fillStroke(cr, rgb(0x24456E), pal::ink, 1.8);
    ellipse(cr, 15, -4, 5.2, 4.6);
    fillStroke(cr, rgb(0xFFD23F), pal::ink, 1.4);
    ellipse(cr, 15.4, -4, 3.8, 3.3);
    linearFill(cr, 0, -7, 0, -1, {{0, rgb(0xC9F6FF)}, {1, rgb(0x5CC8F0)}});
    ellipse(cr, 17, -4.3, 1.1, 1.3);
    fill(cr, pal::ink);
    ellipse(cr, 14, -5.6, 1.3, 0.9);
    fill(cr, pal::white);
    // Regulator.
    ellipse(cr, 17.5, 1.5, 2, 1.8);
    fillStroke(cr, rgb(0x3A3F55), pal::ink, 1);
    // Harpoon gun held forward.
    roundedRect(cr, 8, 4, 17, 3.5, 1.5);
    fillStroke(cr, rgb(0x8B99AD), pal::ink, 1.3);
    roundedRect(cr, 6, 4.5, 7, 6, 2);
    fillStroke(cr, rgb(0x9C5B2E), pal::ink, 1.3);
    cairo_move_to(cr, 25, 4.2);
    cairo_line_to(cr, 30, 5.75);
    cairo_line_to(cr, 25, 7.3);
    cairo_close_path(cr);
    fillStroke(cr, pal::steel, pal::ink, 1.2);
    // Arm holding it.
    taper(cr, {{3, 1}, {8, 5}, {12, 7}}, 4.5, 4);
    fillStroke(cr, suit, pal::ink, 1.4);
    ellipse(cr, 12, 7, 2.6, 2.6);
    fillStroke(cr, rgb(0x24456E), pal::ink, 1.2);
    cairo_restore(cr);
    paintRisingBubbles(cr, 18, -8, t, moving ? 18 : 22, 2.2);
}

void paintTorp(cairo_t* cr, double t, Action action) {
    double wave = std::sin(t * TAU);
    double lunge = 0, punch = 0;
    if (action == Action::Attack) {
        // Wind up, dash forward, punch at the middle, glide back.
        lunge = t < 0.2   ? -t / 0.2 * 3
                : t < 0.5 ? -3 + (t - 0.2) / 0.3 * 9
                          : 6 * (1 - (t - 0.5) / 0.5);
        punch = t < 0.3 ? 0 : t < 0.55 ? (t - 0.3) / 0.25 : std::fmax(0, 1 - (t - 0.55) / 0.3);
    }
    double bob = action == Action::Attack ? 0 : wave * (action == Action::Move ? 1.0 : 1.6);
    double spin = t * TAU * (action == Action::Idle ? 2 : 4);
    cairo_save(cr);
    cairo_translate(cr, -1 + lunge, 3 + bob);
    cairo_scale(cr, 0.9, 0.9);

    const Color hull = rgb(0xC7D3E3), hullDark = rgb(0x7E8FA8), red = rgb(0xE63946);
    paintPropeller(cr, -24, 0, 9, spin);
    // Tail fins.
    cairo_move_to(cr, -14, -7);
    cairo_line_to(cr, -22, -14);
    cairo_line_to(cr, -20, -5);
    cairo_close_path(cr);
    cairo_move_to(cr, -14, 7);
    cairo_line_to(cr, -22, 14);
    cairo_line_to(cr, -20, 5);
    cairo_close_path(cr);
    fillStroke(cr, red, pal::ink, 1.5);
    // Torpedo body.
    cairo_move_to(cr, -20, -6);
    cairo_curve_to(cr, -20, -10, -16, -10.5, -12, -10.5);
    cairo_line_to(cr, 12, -10.5);
    cairo_curve_to(cr, 22, -10.5, 27, -4, 27, 0);
    cairo_curve_to(cr, 27, 4, 22, 10.5, 12, 10.5);
    cairo_line_to(cr, -12, 10.5);
    cairo_curve_to(cr, -16, 10.5, -20, 10, -20, 6);
    cairo_close_path(cr);
    linearFill(cr, 0, -10.5, 0, 10.5, {{0, rgb(0xF4F8FC)}, {0.45, hull}, {1, hullDark}}, true);
    stroke(cr, pal::ink, 1.8);
    // Red nose cone and stripe.
    cairo_save(cr);
    cairo_rectangle(cr, 14, -12, 16, 24);
    cairo_clip(cr);
    cairo_move_to(cr, 12, -10.5);
    cairo_curve_to(cr, 22, -10.5, 27, -4, 27, 0);
    cairo_curve_to(cr, 27, 4, 22, 10.5, 12, 10.5);
    cairo_close_path(cr);
    linearFill(cr, 0, -10, 0, 10, {{0, rgb(0xFF7B84)}, {1, rgb(0xB3202C)}});
    cairo_restore(cr);
    cairo_move_to(cr, 14, -10);
    cairo_curve_to(cr, 15.5, -4, 15.5, 4, 14, 10);
    stroke(cr, pal::ink, 1.4);
    roundedRect(cr, -13, -10.5, 4, 21, 1);
    fillStroke(cr, red, pal::ink, 1.2);
    // Cockpit dome with the pilot's determined face.
    cairo_save(cr);
    cairo_rectangle(cr, -12, -30, 30, 21);
    cairo_clip(cr);
    ellipse(cr, 3, -9, 10, 10);
    linearFill(cr, 0, -19, 0, -9, {{0, rgb(0xD8FAFF, 0.95)}, {1, rgb(0x7ED6F2, 0.95)}}, true);
    stroke(cr, pal::ink, 1.8);
    cairo_restore(cr);
    ellipse(cr, 4, -11, 5.5, 5.2);
    fillStroke(cr, rgb(0xFFC9A0), pal::ink, 1.2);
    paintEye(cr, 5, -12, 1.6, 0.8, 0, action == Action::Attack ? 1.0 : 0.5);
    paintEye(cr, 8.2, -12, 1.5, 0.8, 0, action == Action::Attack ? 1.0 : 0.5);
    cairo_move_to(cr, 5, -8.4);
    cairo_line_to(cr, 8.5, -8.8);
    stroke(cr, pal::ink, 1.0);
    ellipse(cr, -1, -15, 2.2, 1.3);
    fill(cr, rgb(0xFFFFFF, 0.8));
    // Boxing glove, thrust forward in the strike.
    double fx = 6 + punch * 14, fy = 13 - punch * 5;
    taper(cr, {{-4, 9}, {(fx - 4) / 2, 13}, {fx - 2, fy}}, 4, 3.5);
    fillStroke(cr, hullDark, pal::ink, 1.3);
    ellipse(cr, fx, fy, 5.2, 4.6);
    radialFill(cr, fx - 1.5, fy - 1.5, 0.5, 6, {{0, rgb(0xFF8A8A)}, {1, rgb(0xC81D25)}}, true);
    stroke(cr, pal::ink, 1.5);
    cairo_restore(cr);
    if (punch > 0.6) {
        // Impact star in front of the glove.
        double cx = -1 + lunge + (fx + 6) * 0.9, cy = 3 + bob + fy * 0.9, s = 3 + punch * 4;
        cairo_new_path(cr);
        for (int i = 0; i < 10; i++) {
            double a = i * TAU / 10 - M_PI / 2;
            double r = (i % 2 == 0) ? s : s * 0.45;
            cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
        }
        cairo_close_path(cr);
        fillStroke(cr, rgb(0xFFF3B0), rgb(0xFF9F1C), 1.5);
    }
    if (action != Action::Attack) paintRisingBubbles(cr, -28, 0, t, 20, 2.0);
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
