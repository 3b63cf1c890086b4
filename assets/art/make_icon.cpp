// Writes the program's icon at the sizes desktops ask for:
//   make_icon <folder> SIZE...
// as <folder>/SIZExSIZE/thalomir.png. Every size is drawn afresh from the
// same shapes (not scaled down from the largest), so small ones stay sharp:
// the yellow submarine on a tile of sea, the game's palette and outlines.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "assets/art/canvas.h"
#include "assets/art/palette.h"
#include "assets/art/units.h"

using namespace art;

namespace {

// The icon in a 128-unit square.
void paintIcon(cairo_t* cr, int size) {
    const double inset = 4, side = 128 - 2 * inset;
    roundedRect(cr, inset, inset, side, side, 26);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    linearFill(cr, 0, inset, 0, 128 - inset,
               {{0, pal::seaTop}, {0.45, pal::seaMid}, {1, pal::seaDeep}}, true);
    // Light from the surface and a strip of sand below.
    softGlow(cr, 40, 10, 70, rgb(0xFFFFFF, 0.35));
    cairo_move_to(cr, 0, 104);
    cairo_curve_to(cr, 40, 96, 80, 110, 128, 100);
    cairo_line_to(cr, 128, 128);
    cairo_line_to(cr, 0, 128);
    cairo_close_path(cr);
    linearFill(cr, 0, 98, 0, 128, {{0, pal::sand}, {1, pal::sandDark}});
    if (size >= 32) {
        bubble(cr, 98, 30, 7);
        bubble(cr, 108, 48, 4.5);
        bubble(cr, 24, 34, 4);
    }
    cairo_save(cr);
    cairo_translate(cr, 64, 62);
    cairo_scale(cr, 0.86, 0.86);
    paintBati(cr, 0, Action::Idle);
    cairo_restore(cr);
    cairo_restore(cr);
    // The tile's rim, thicker at small sizes so it survives.
    roundedRect(cr, inset, inset, side, side, 26);
    stroke(cr, pal::ink, size <= 16 ? 9 : (size <= 32 ? 6 : 4));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icon <folder> SIZE...\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        int size = std::atoi(argv[i]);
        if (size < 8 || size > 1024) {
            std::fprintf(stderr, "make_icon: bad size %s\n", argv[i]);
            return 2;
        }
        std::string dir = std::string(argv[1]) + "/" + std::to_string(size) + "x" + std::to_string(size);
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        Canvas c(size, size);
        cairo_scale(c.cr(), size / 128.0, size / 128.0);
        paintIcon(c.cr(), size);
        if (!c.save(dir + "/thalomir.png")) return 1;
    }
    return 0;
}
