// Bakes a bitmap font, by default the battle font "font2":
//   make_font <res folder> <font .ttf> [name pixel-height]
// writes <name>.png and its description <name>.fnt.
#include <cstdio>
#include <fstream>
#include <string>

#include "assets/font/font_baker.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: make_font <res folder> <font .ttf> [name pixel-height]\n");
        return 2;
    }
    std::string dir = argv[1];
    std::string name = argc == 5 ? argv[3] : "font2";
    fontbake::Options opt;
    if (argc == 5) {
        opt.pixelHeight = std::stof(argv[4]);
        // Thicker outline and a wider atlas for the big letters.
        opt.outline = 3;
        opt.atlasWidth = 1024;
    }
    fontbake::BakedFont font;
    if (!fontbake::bake(argv[2], opt, font)) return 1;
    if (!fontbake::writeAtlas(font, opt, dir + "/" + name + ".png")) return 1;
    std::ofstream out(dir + "/" + name + ".fnt", std::ios::binary);
    out << fontbake::describe(font, name + ".png");
    return out.good() ? 0 : 1;
}
