// The sea creatures: Paul the octopus, the shark and Medu the jellyfish.
#include <cmath>
#include <vector>

#include "assets/art/palette.h"
#include "assets/art/units.h"

namespace art {

namespace {
const double TAU = 2 * M_PI;

// A curling arm from (x, y): `dir` is its starting angle, `curl` bends it
// more and more along its length.
std::vector<Point> curlingArm(double x, double y, double dir, double len, double curl, int n = 14) {
    std::vector<Point> pts;
    double a = dir;
    double step = len / (n - 1);
    for (int i = 0; i < n; i++) {
        pts.push_back({x, y});
        x += std::cos(a) * step;
        y += std::sin(a) * step;
        a += curl * (double(i) / n) * 0.5;
    }
    return pts;
}

void suckers(cairo_t* cr, const std::vector<Point>& arm, double size) {
    for (size_t i = 2; i + 1 < arm.size(); i += 2) {
        double f = 1.0 - double(i) / arm.size();
        ellipse(cr, arm[i].x, arm[i].y, size * f + 0.6, size * f + 0.6);
        fill(cr, rgb(0xFFD1F0, 0.9));
    }
}
}  // namespace

void paintPaul(cairo_t* cr, double t, Action action) {
    double wave = std::sin(t * TAU);
    double pulse = action == Action::Move ? wave : wave * 0.45;
    double slap = 0;
    if (action == Action::Attack)
        slap = t < 0.5 ? std::sin(t / 0.5 * M_PI / 2) : std::cos((t - 0.5) / 0.5 * M_PI / 2);
    cairo_save(cr);
    cairo_translate(cr, 6, 2 - pulse * 3);

    const Color skin = rgb(0xB04FD8), skinDark = rgb(0x6F2A9E), skinLight = rgb(0xE29BFF);
    // Back arms, darker.
    for (int i = 0; i < 3; i++) {
        double baseX = -18 + i * 18;
        double phase = t * TAU + i * 1.7;
        auto arm = curlingArm(baseX, 12, M_PI / 2 + 0.5 - i * 0.5 + std::sin(phase) * 0.15,
                              40 + pulse * 6, (i == 2 ? -1 : 1) * (0.5 + 0.25 * std::sin(phase)));
        taper(cr, arm, 13, 3);
        fillStroke(cr, skinDark, pal::ink, 2);
    }
    // Front arms; in the strike the front-left one lashes out to the left.
    for (int i = 0; i < 4; i++) {
        double baseX = -22 + i * 15;
        double phase = t * TAU + i * 1.3;
        double dir = M_PI / 2 + 0.8 - i * 0.52 + std::sin(phase) * 0.18;
        double len = 44 + pulse * 6;
        double curl = (i < 2 ? 1 : -1) * (0.55 + 0.3 * std::sin(phase + 0.5));
        if (i == 0 && action == Action::Attack) {
            dir = M_PI / 2 + 0.8 + slap * 1.3;
            len = 44 + slap * 12;
            curl = 0.6 - slap * 0.9;
        }
        auto arm = curlingArm(baseX, 14, dir, len, curl);
        taper(cr, arm, 14, 3.5);
        linearFill(cr, 0, 10, 0, 60, {{0, skin}, {1, skinLight}}, true);
        stroke(cr, pal::ink, 2.2);
        suckers(cr, arm, 1.8);
        if (i == 0 && slap > 0.75) {
            // Motion lines behind the lashing tip.
            Point tip = arm.back();
            for (int k = 0; k < 3; k++) {
                cairo_move_to(cr, tip.x + 6, tip.y - 8 + k * 8);
                cairo_line_to(cr, tip.x + 16, tip.y - 6 + k * 6);
                stroke(cr, rgb(0xFFFFFF, 0.8), 2);
            }
        }
    }
    // Mantle.
    cairo_move_to(cr, -30, 12);
    cairo_curve_to(cr, -42, -10, -30, -50, 2, -50);
    cairo_curve_to(cr, 34, -50, 44, -12, 30, 12);
    cairo_curve_to(cr, 20, 20, -20, 20, -30, 12);
    cairo_close_path(cr);
    radialFill(cr, -6, -32, 4, 62, {{0, skinLight}, {0.55, skin}, {1, skinDark}}, true);
    stroke(cr, pal::ink, 2.8);
    // Spots and shine.
    const double spots[][3] = {
        {14, -36, 4}, {22, -22, 3}, {-20, -30, 3}, {6, -44, 2.5}, {26, -34, 2}};
    for (const auto& s : spots) {
        ellipse(cr, s[0], s[1], s[2], s[2] * 0.8);
        fill(cr, withAlpha(skinDark, 0.55));
    }
    ellipse(cr, -14, -38, 8, 5);
    fill(cr, rgb(0xFFFFFF, 0.45));
    // Face looking left, a bit grumpy.
    double squint = action == Action::Attack ? 1.2 : 0.6;
    paintEye(cr, -14, -10, 8, -0.7, 0.1, squint);
    paintEye(cr, 8, -12, 7.5, -0.7, 0.1, -squint);
    cairo_move_to(cr, -10, 6);
    if (action == Action::Attack)
        cairo_curve_to(cr, -6, 1, 0, 1, 4, 6);
    else
        cairo_curve_to(cr, -6, 9, 0, 9, 4, 5);
    stroke(cr, pal::ink, 2.4);
    cairo_restore(cr);
}

void paintShark(cairo_t* cr, double t, Action action) {
    double wave = std::sin(t * TAU);
    double swish = wave * (action == Action::Move ? 0.35 : 0.18);
    double lunge = 0, jaw = 0;
    if (action == Action::Attack) {
        lunge = -std::sin(t * M_PI) * 12;
        jaw = t < 0.4 ? t / 0.4 : t < 0.55 ? 1 - (t - 0.4) / 0.15 : 0;
        swish = std::sin(t * TAU * 2) * 0.3;
    }
    cairo_save(cr);
    cairo_translate(cr, -2 + lunge * 0.6,
                    6 + (action == Action::Attack ? 0 : std::cos(t * TAU) * 2));
    cairo_scale(cr, 0.88, 0.88);

    const Color back = rgb(0x5B84B8), backDark = rgb(0x34557F), belly = rgb(0xF2F7FB);
    // Tail, swishing about its root.
    cairo_save(cr);
    cairo_translate(cr, 38, -2);
    cairo_rotate(cr, swish);
    cairo_move_to(cr, -4, -6);
    cairo_curve_to(cr, 8, -14, 16, -26, 24, -40);
    cairo_curve_to(cr, 24, -22, 20, -8, 16, 0);
    cairo_curve_to(cr, 20, 8, 24, 18, 26, 30);
    cairo_curve_to(cr, 14, 20, 6, 12, -4, 6);
    cairo_close_path(cr);
    linearFill(cr, 0, -40, 0, 30, {{0, back}, {1, backDark}}, true);
    stroke(cr, pal::ink, 2.4);
    cairo_restore(cr);
    // Back pectoral fin.
    cairo_move_to(cr, -2, 10);
    cairo_curve_to(cr, 6, 18, 12, 28, 10, 34);
    cairo_curve_to(cr, 4, 28, -4, 20, -10, 14);
    cairo_close_path(cr);
    fillStroke(cr, backDark, pal::ink, 2);
    // Dorsal fin.
    cairo_move_to(cr, -12, -22);
    cairo_curve_to(cr, -4, -34, 4, -46, 12, -52);
    cairo_curve_to(cr, 12, -40, 14, -30, 20, -20);
    cairo_close_path(cr);
    linearFill(cr, 0, -52, 0, -20, {{0, back}, {1, backDark}}, true);
    stroke(cr, pal::ink, 2.4);
    // Body.
    auto body = [&]() {
        cairo_move_to(cr, -58, 2);
        cairo_curve_to(cr, -56, -16, -36, -26, -8, -26);
        cairo_curve_to(cr, 16, -26, 34, -14, 42, -4);
        cairo_curve_to(cr, 34, 8, 16, 22, -6, 22);
        cairo_curve_to(cr, -30, 22, -52, 18, -58, 2);
        cairo_close_path(cr);
    };
    body();
    linearFill(cr, 0, -26, 0, 22, {{0, rgb(0x7FA6D6)}, {0.5, back}, {1, backDark}});
    // White belly.
    cairo_save(cr);
    body();
    cairo_clip(cr);
    cairo_move_to(cr, -60, 4);
    cairo_curve_to(cr, -40, 0, 0, 2, 44, -2);
    cairo_line_to(cr, 44, 30);
    cairo_line_to(cr, -60, 30);
    cairo_close_path(cr);
    linearFill(cr, 0, 0, 0, 22, {{0, rgb(0xFFFFFF)}, {1, rgb(0xC9DCEB)}});
    cairo_restore(cr);
    body();
    stroke(cr, pal::ink, 2.8);
    // Gills.
    for (int i = 0; i < 3; i++) {
        cairo_move_to(cr, -20 + i * 5, -8);
        cairo_curve_to(cr, -22 + i * 5, -2, -22 + i * 5, 2, -20 + i * 5, 8);
        stroke(cr, withAlpha(pal::ink, 0.7), 1.8);
    }
    // Mouth with teeth; the jaw drops open in the bite.
    double open = jaw * 18;
    cairo_move_to(cr, -52, 6);
    cairo_curve_to(cr, -46, 10 + open, -36, 12 + open, -28, 9);
    cairo_curve_to(cr, -36, 9, -46, 6, -52, 6);
    cairo_close_path(cr);
    fillStroke(cr, open > 1 ? rgb(0x8E1B3A) : rgb(0xB33951), pal::ink, 2);
    for (int i = 0; i < 5; i++) {
        double x = -49 + i * 4.5;
        cairo_move_to(cr, x - 1.8, 6.8 + i * 0.5);
        cairo_line_to(cr, x, 10.5 + i * 0.5);
        cairo_line_to(cr, x + 1.8, 6.8 + i * 0.5);
        cairo_close_path(cr);
        fillStroke(cr, belly, pal::ink, 0.8);
    }
    // Eye with an angry brow.
    paintEye(cr, -38, -9, 5, -0.6, 0.1, -1.0);
    // Front pectoral fin.
    cairo_move_to(cr, -24, 12);
    cairo_curve_to(cr, -22, 22, -16, 32, -8, 36);
    cairo_curve_to(cr, -10, 26, -10, 18, -8, 12);
    cairo_close_path(cr);
    linearFill(cr, 0, 12, 0, 36, {{0, back}, {1, backDark}}, true);
    stroke(cr, pal::ink, 2.2);
    cairo_restore(cr);
    if (action == Action::Attack && jaw < 0.2 && t > 0.45 && t < 0.75) {
        // "Chomp" marks where the jaws met.
        for (int k = 0; k < 3; k++) {
            double a = M_PI + (k - 1) * 0.6;
            double mx = -2 + lunge * 0.6 - 56 * 0.88, my = 6 + 8 * 0.88;
            cairo_move_to(cr, mx + std::cos(a) * 4, my + std::sin(a) * 4);
            cairo_line_to(cr, mx + std::cos(a) * 10, my + std::sin(a) * 10);
            stroke(cr, rgb(0xFFFFFF, 0.9), 2.2);
        }
    }
}

void paintMedu(cairo_t* cr, double t, Action action) {
    bool moving = action == Action::Move;
    double wave = std::sin(t * TAU);
    double pulse = wave * (moving ? 1.0 : 0.55);
    double rise = moving ? -wave * 2.5 : -wave * 1.2;
    cairo_save(cr);
    cairo_translate(cr, 0, rise - 5);
    cairo_scale(cr, 1.12, 1.12);

    const Color bell = rgb(0xFF7FC8), bellDeep = rgb(0xB84BE0);
    // Tentacles trail below the bell.
    for (int i = 0; i < 5; i++) {
        double bx = -11 + i * 5.5;
        std::vector<Point> pts;
        for (int k = 0; k < 10; k++) {
            double s = k / 9.0;
            double sway = std::sin(t * TAU - s * 4 + i) * (2 + s * 3) * (moving ? 1.3 : 1);
            pts.push_back({bx + sway + (bx * 0.2) * s, 2 + s * (24 - pulse * 2)});
        }
        taper(cr, pts, 2.6, 1.2);
        fill(cr, withAlpha(mix(bell, pal::white, 0.3), 0.9));
    }
    // Bell: wider when it squeezes, taller when it relaxes.
    double w = 19 + pulse * 1.6, h = 17 - pulse * 1.4;
    cairo_move_to(cr, -w, 2);
    cairo_curve_to(cr, -w, -h * 1.25, w, -h * 1.25, w, 2);
    for (int k = 0; k < 5; k++) {
        double x0 = w - k * (2 * w / 5), x1 = x0 - 2 * w / 5;
        cairo_curve_to(cr, x0 - 1, 6, x1 + 1, 6, x1, 2);
    }
    cairo_close_path(cr);
    radialFill(
        cr, -4, -h * 0.6, 2, w * 1.4,
        {{0, rgb(0xFFE3F4, 0.95)}, {0.5, withAlpha(bell, 0.92)}, {1, withAlpha(bellDeep, 0.92)}},
        true);
    stroke(cr, pal::ink, 1.8);
    // Glowing spots and shine.
    for (int i = 0; i < 3; i++) {
        double gx = -8 + i * 8, gy = -6 - (i == 1 ? 4 : 0);
        softGlow(cr, gx, gy, 4, rgb(0xFFF5A0, 0.9));
    }
    ellipse(cr, -8, -h * 0.7, 4.5, 2.5);
    fill(cr, rgb(0xFFFFFF, 0.7));
    // Mischievous face.
    paintEye(cr, -5.5, -3, 3, -0.6, 0.2, 0.7);
    paintEye(cr, 4.5, -3, 3, -0.6, 0.2, -0.7);
    cairo_move_to(cr, -3, 2);
    cairo_curve_to(cr, -1, 3.5, 1, 3.5, 3, 2);
    stroke(cr, pal::ink, 1.3);
    cairo_restore(cr);
}

}  // namespace art
