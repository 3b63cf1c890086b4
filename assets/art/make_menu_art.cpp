// Writes the menu pictures:
//   make_menu_art <res folder> <title font .ttf> <label font .ttf>
// orvo_logo.png (title logo), mmenu.png (main menu background), chlvl.png
// (level map), menu_ui.png (buttons, level buttons and the pieces the game
// lays the level map's trail and spots out with, cursor), sliders.png
// (slider backgrounds) and slider.png (the slider knob).
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/art/canvas.h"
#include "assets/art/palette.h"
#include "assets/art/scenery.h"
#include "assets/art/text.h"
#include "assets/common/rng.h"

using namespace art;

namespace {

struct Fonts {
    FontFace title;
    FontFace label;
};

void paintTitle(cairo_t* cr, const Fonts& f, double cx, double baseline, double size) {
    TextStyle s;
    s.size = size;
    s.top = rgb(0xFFF3A0);
    s.bottom = pal::sunDeep;
    s.outline = pal::ink;
    s.outlineWidth = size * 0.06;
    s.shadow = rgb(0x000000, 0.3);
    s.shadowOffset = size * 0.05;
    drawText(cr, f.title, "Thalomir", cx, baseline, Align::Center, s);
    // Gloss on the upper half of the letters.
    cairo_save(cr);
    cairo_rectangle(cr, 0, baseline - size * 0.75, 4000, size * 0.25);
    cairo_clip(cr);
    TextStyle gloss = s;
    gloss.top = gloss.bottom = rgb(0xFFFFFF, 0.35);
    gloss.outlineWidth = 0;
    gloss.shadow.a = 0;
    drawText(cr, f.title, "Thalomir", cx, baseline, Align::Center, gloss);
    cairo_restore(cr);
}

void paintSubtitle(cairo_t* cr, const Fonts& f, const std::string& text, double cx, double baseline,
                   double size) {
    TextStyle s;
    s.size = size;
    s.top = rgb(0xE6FDFF);
    s.bottom = rgb(0x9EEBFF);
    s.outline = pal::ink;
    s.outlineWidth = size * 0.1;
    drawText(cr, f.label, text, cx, baseline, Align::Center, s);
}

bool writeLogo(const std::string& dir, const Fonts& f) {
    Canvas c(1024, 512);
    cairo_t* cr = c.cr();
    gen::Rng rng(101);
    // A sunlit disc of sea behind the title.
    ellipse(cr, 512, 250, 470, 230);
    radialFill(cr, 512, 250, 40, 470,
               {{0, rgb(0x5FD8F0, 0.95)}, {0.7, rgb(0x1F8FCB, 0.9)}, {1, rgb(0x0B3F7A, 0)}});
    for (int i = 0; i < 14; i++) {
        double a = rng.range(0, 2 * M_PI);
        double r = rng.range(330, 430);
        bubble(cr, 512 + std::cos(a) * r, 250 + std::sin(a) * r * 0.45, rng.range(6, 16));
    }
    // Waves under the title.
    for (int k = 0; k < 3; k++) {
        cairo_move_to(cr, 180, 330 + k * 16);
        for (int x = 180; x <= 844; x += 8)
            cairo_line_to(cr, x, 330 + k * 16 + std::sin(x * 0.035 + k) * 6);
        stroke(cr, rgb(0xFFFFFF, 0.7 - k * 0.2), 5 - k);
    }
    paintTitle(cr, f, 512, 290, 170);
    paintSubtitle(cr, f, "tactics of the deep", 512, 420, 46);
    paintFish(cr, 190, 150, 46, false, pal::sunDeep);
    paintFish(cr, 840, 390, 40, true, pal::coralPink);
    return c.save(dir + "/orvo_logo.png");
}

void paintReefBand(Canvas& c, gen::Rng& rng, double top) {
    cairo_t* cr = c.cr();
    // Distant, hazy reef silhouettes.
    cairo_move_to(cr, 0, c.height());
    for (int x = 0; x <= c.width(); x += 24)
        cairo_line_to(cr, x,
                      top + std::sin(x * 0.013) * 22 + std::sin(x * 0.041) * 10 + rng.range(-4, 4));
    cairo_line_to(cr, c.width(), c.height());
    cairo_close_path(cr);
    fill(cr, rgb(0x0B4F8A, 0.55));
}

bool writeMainMenu(const std::string& dir, const Fonts& f) {
    Canvas c(1024, 768);
    cairo_t* cr = c.cr();
    gen::Rng rng(202);
    paintWater(c, rgb(0x6FE0F5), rgb(0x0C4A8A));
    paintLightRays(c, rng, 11, 0.16);
    paintCaustics(c, 0, 0, 1024, 768, 90, 0.12, 21);
    paintReefBand(c, rng, 560);
    // Schools of fish far off.
    for (int i = 0; i < 7; i++)
        paintFish(cr, 90 + i * 26, 330 + (i % 3) * 14, 16, false, rgb(0xFFE066));
    for (int i = 0; i < 6; i++)
        paintFish(cr, 800 + i * 24, 380 + (i % 2) * 16, 15, true, rgb(0x9EEBFF));
    paintFish(cr, 260, 470, 34, false, pal::coral);
    paintFish(cr, 820, 290, 30, true, pal::violet);
    paintSandFloor(c, rng, 690, 10);
    // Reef on both sides, leaving the middle open for the buttons.
    for (int side = 0; side < 2; side++) {
        double base = side == 0 ? 0 : 1024;
        double dir = side == 0 ? 1 : -1;
        paintRock(cr, rng, base + dir * 60, 690, 110, 70);
        paintRock(cr, rng, base + dir * 170, 720, 80, 50);
        paintCoral(cr, rng, base + dir * 70, 640, 150, side == 0 ? pal::coral : pal::coralPink);
        paintCoral(cr, rng, base + dir * 200, 690, 100, side == 0 ? pal::coralPink : pal::sunDeep);
        for (int i = 0; i < 4; i++)
            paintSeaweed(cr, rng, base + dir * (20 + i * 70), 768, rng.range(140, 230));
        paintCoral(cr, rng, base + dir * 300, 740, 80, pal::violet);
    }
    paintStarfish(cr, 340, 735, 18, 0.2, rgb(0xFF8C42));
    paintShell(cr, 700, 740, 15, 0.3);
    paintStarfish(cr, 760, 752, 13, 0.8, pal::rose);
    paintBubbleColumn(cr, rng, 130, 600, 80, 7);
    paintBubbleColumn(cr, rng, 900, 620, 120, 6);
    paintTitle(cr, f, 512, 210, 140);
    paintSubtitle(cr, f, "tactics of the deep", 512, 275, 38);
    return c.save(dir + "/mmenu.png");
}

// The sea the levels lie in; the game draws the trail and the levels' spots
// over it where the campaign file puts them.
bool writeLevelMap(const std::string& dir, const Fonts& f) {
    Canvas c(1024, 768);
    cairo_t* cr = c.cr();
    gen::Rng rng(303);
    // Shallow turquoise at the first level, the deep at the last.
    cairo_rectangle(cr, 0, 0, 1024, 768);
    linearFill(cr, 0, 0, 1024, 768,
               {{0, rgb(0x7FE8F5)}, {0.45, rgb(0x2A9FD6)}, {1, rgb(0x0A2E66)}});
    paintCaustics(c, 0, 0, 1024, 768, 80, 0.12, 31);
    // Reefs and sand banks scattered away from the route.
    const Point banks[] = {{80, 300},  {420, 120}, {560, 560}, {330, 470},
                           {860, 200}, {980, 420}, {150, 520}};
    for (const Point& b : banks) {
        ellipse(cr, b.x, b.y, rng.range(70, 110), rng.range(36, 50));
        fill(cr, rgb(0xF2D59A, 0.35));
    }
    paintRock(cr, rng, 420, 130, 40, 26);
    paintCoral(cr, rng, 440, 150, 70, pal::coral);
    paintSeaweed(cr, rng, 60, 330, 90);
    paintSeaweed(cr, rng, 90, 330, 70);
    paintRock(cr, rng, 560, 560, 46, 28);
    paintCoral(cr, rng, 548, 580, 80, pal::coralPink);
    paintCoral(cr, rng, 330, 490, 60, pal::sunDeep);
    paintStarfish(cr, 860, 200, 16, 0.4, rgb(0xFF8C42));
    paintShell(cr, 980, 420, 14, 0.2);
    paintFish(cr, 700, 160, 28, true, pal::sun);
    paintFish(cr, 250, 380, 22, false, pal::coralPink);
    paintFish(cr, 930, 520, 26, true, rgb(0x9EEBFF));
    paintBubbleColumn(cr, rng, 960, 740, 560, 6);
    paintBubbleColumn(cr, rng, 30, 620, 420, 5);

    // Treasure chest at the end of the dive.
    roundedRect(cr, 930, 690, 54, 36, 6);
    linearFill(cr, 0, 690, 0, 726, {{0, rgb(0xC8833F)}, {1, rgb(0x7A4A1E)}}, true);
    stroke(cr, pal::ink, 3);
    cairo_rectangle(cr, 930, 702, 54, 6);
    fillStroke(cr, pal::sun, pal::ink, 2);
    softGlow(cr, 957, 690, 26, rgb(0xFFE066, 0.8));

    TextStyle head;
    head.size = 46;
    head.top = rgb(0xFFF3A0);
    head.bottom = pal::sunDeep;
    head.outline = pal::ink;
    head.outlineWidth = 4;
    head.shadow = rgb(0, 0.3);
    head.shadowOffset = 3;
    drawText(cr, f.title, "Choose your dive", 750, 76, Align::Center, head);
    paintSubtitle(cr, f, "deeper waters, fiercer foes", 750, 112, 24);
    return c.save(dir + "/chlvl.png");
}

void paintButton(cairo_t* cr, const Fonts& f, double x, double y, double w, double h,
                 const std::string& label, bool over, double textSize = 23) {
    if (over) {
        roundedRect(cr, x + 1, y + 1, w - 2, h - 2, h / 2);
        stroke(cr, rgb(0x9EF6FF, 0.9), 4);
    }
    roundedRect(cr, x + 3, y + 3, w - 6, h - 6, (h - 6) / 2);
    if (over)
        linearFill(cr, 0, y, 0, y + h,
                   {{0, rgb(0xFFF8C8)}, {0.5, rgb(0xFFD84D)}, {1, rgb(0xFFA82E)}}, true);
    else
        linearFill(cr, 0, y, 0, y + h, {{0, rgb(0xFFE680)}, {0.5, pal::sun}, {1, pal::sunDeep}},
                   true);
    stroke(cr, pal::ink, 3);
    roundedRect(cr, x + 12, y + 6, w - 24, h * 0.32, h * 0.16);
    fill(cr, rgb(0xFFFFFF, over ? 0.55 : 0.4));
    TextStyle s;
    s.size = textSize;
    s.outline = pal::ink;
    s.outlineWidth = 3;
    drawText(cr, f.label, label, x + w / 2, y + h / 2 + textSize / 3, Align::Center, s);
}

void paintLevelButton(cairo_t* cr, double x, double y, bool over) {
    double c = 18.5;
    if (over) softGlow(cr, x + c, y + c, 18.5, rgb(0xFFF3B0, 0.9));
    ellipse(cr, x + c, y + c, 14, 14);
    linearFill(cr, 0, y + 4, 0, y + 33,
               over ? std::initializer_list<Stop>{{0, rgb(0xFFF8C8)}, {1, rgb(0xFFB347)}}
                    : std::initializer_list<Stop>{{0, rgb(0xFF9AB8)}, {1, rgb(0xD6336C)}},
               true);
    stroke(cr, pal::ink, 2.5);
    ellipse(cr, x + c, y + c, 7.5, 7.5);
    radialFill(cr, x + c - 2.5, y + c - 2.5, 0.5, 9, {{0, pal::white}, {1, rgb(0xD9E7F5)}}, true);
    stroke(cr, pal::ink, 1.5);
}

// The pieces of the level map the game places at run time: a sandy island
// (84x84, centred at x + 42, y + 42), the white disc for a level's number
// (28x28, tinted by the game) and two columns that the trail is stretched
// from along its length: its dark border (14 of 16 rows) and its sandy dashes
// (6 of 8 rows), each with a clear row either side. The game samples the
// middle 4 of each column's 12 pixels, so filtering never blends in the
// pixels beside them.
void paintLevelMapPieces(cairo_t* cr, double x, double y) {
    double cx = x + 42, cy = y + 42;
    softGlow(cr, cx, cy, 40, rgb(0xFFF3B0, 0.5));
    ellipse(cr, cx, cy, 27, 27);
    radialFill(cr, cx - 6, cy - 6, 2, 30, {{0, rgb(0xFFF1C4)}, {1, pal::sandDark}}, true);
    stroke(cr, pal::ink, 3);
    ellipse(cr, x + 102, y + 14, 12, 12);
    fillStroke(cr, pal::white, pal::ink, 2.5);
    cairo_rectangle(cr, x + 120, y + 1, 12, 14);
    fill(cr, rgb(0x0B2E5C, 0.55));
    cairo_rectangle(cr, x + 136, y + 1, 12, 6);
    fill(cr, rgb(0xFFF1C4));
}

void paintCursor(cairo_t* cr, double x, double y) {
    const double pts[][2] = {{2, 2}, {2, 24}, {8, 19}, {12.5, 28}, {16.5, 26}, {12, 17}, {20, 17}};
    cairo_new_path(cr);
    for (const auto& p : pts) cairo_line_to(cr, x + p[0], y + p[1]);
    cairo_close_path(cr);
    linearFill(cr, 0, y, 0, y + 28, {{0, pal::white}, {1, rgb(0xBFF4FF)}}, true);
    stroke(cr, pal::ink, 2);
}

bool writeMenuUi(const std::string& dir, const Fonts& f) {
    Canvas c(512, 384);
    cairo_t* cr = c.cr();
    const char* labels[] = {"Start", "Options", "Exit", "Back"};
    for (int row = 0; row < 4; row++)
        for (int over = 0; over < 2; over++)
            paintButton(cr, f, over * 176, row * 48, 168, 43, labels[row], over);
    // The options screen's way out of a battle; a longer label, smaller type.
    for (int over = 0; over < 2; over++)
        paintButton(cr, f, over * 176, 4 * 48, 168, 43, "Leave battle", over, 20);
    // The main menu's way back into a saved battle, and the battle's undo.
    for (int over = 0; over < 2; over++) {
        paintButton(cr, f, over * 176, 5 * 48, 168, 43, "Continue", over);
        paintButton(cr, f, over * 104, 6 * 48, 96, 40, "Undo", over, 21);
    }
    // The battle's buttons for a finger: pass the turn, and the options.
    for (int over = 0; over < 2; over++) {
        paintButton(cr, f, over * 104, 7 * 48, 96, 40, "Pass", over, 21);
        paintButton(cr, f, 208 + over * 72, 7 * 48, 64, 40, "Menu", over, 18);
    }
    paintLevelButton(cr, 352, 0, false);
    paintLevelButton(cr, 392, 0, true);
    paintLevelMapPieces(cr, 352, 88);
    paintCursor(cr, 352, 48);
    return c.save(dir + "/menu_ui.png");
}

// Slider backgrounds, 220x100 each: a label over a groove that lines up with
// the slider's knob path (x 30..190, y 75.5 in the picture).
bool writeSliders(const std::string& dir, const Fonts& f) {
    Canvas c(256, 320);
    cairo_t* cr = c.cr();
    const char* labels[] = {"Sound", "Music", "Speed"};
    for (int i = 0; i < 3; i++) {
        double y = i * 104;
        roundedRect(cr, 4, y + 4, 212, 92, 18);
        linearFill(cr, 0, y, 0, y + 100, {{0, rgb(0x0B2E5C, 0.72)}, {1, rgb(0x061A38, 0.82)}},
                   true);
        stroke(cr, rgb(0xFFFFFF, 0.6), 2.5);
        TextStyle s;
        s.size = 25;
        s.top = pal::white;
        s.bottom = rgb(0xBFF4FF);
        s.outline = pal::ink;
        s.outlineWidth = 3;
        drawText(cr, f.label, labels[i], 110, y + 40, Align::Center, s);
        roundedRect(cr, 24, y + 68.5, 172, 14, 7);
        linearFill(cr, 0, y + 68, 0, y + 83, {{0, rgb(0x06142B)}, {1, rgb(0x1F5A8F)}}, true);
        stroke(cr, rgb(0x9EEBFF, 0.8), 1.5);
        for (int k = 0; k <= 4; k++) {
            double tx = 30 + k * 40;
            cairo_move_to(cr, tx, y + 86);
            cairo_line_to(cr, tx, y + 90);
            stroke(cr, rgb(0xFFFFFF, 0.5), 1.5);
        }
    }
    bool ok = c.save(dir + "/sliders.png");

    Canvas knob(32, 32);
    ellipse(knob.cr(), 9.5, 9.5, 8.3, 8.3);
    radialFill(knob.cr(), 7, 7, 0.5, 10, {{0, pal::white}, {0.6, rgb(0xFFE680)}, {1, pal::sunDeep}},
               true);
    stroke(knob.cr(), pal::ink, 1.8);
    return knob.save(dir + "/slider.png") && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_menu_art <res folder> <title font> <label font>\n");
        return 2;
    }
    std::string dir = argv[1];
    Fonts f{FontFace(argv[2]), FontFace(argv[3])};
    if (!f.title.ok() || !f.label.ok()) return 1;
    bool ok = writeLogo(dir, f);
    ok = writeMainMenu(dir, f) && ok;
    ok = writeLevelMap(dir, f) && ok;
    ok = writeMenuUi(dir, f) && ok;
    ok = writeSliders(dir, f) && ok;
    return ok ? 0 : 1;
}
