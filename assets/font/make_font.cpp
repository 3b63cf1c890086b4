// Bakes the battle font "font2":
//   make_font <res folder> <font .ttf>
// writes font2.png and its description font2.fnt.
#include <cstdio>
#include <fstream>
#include <string>

#include "assets/font/font_baker.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_font <res folder> <font .ttf>\n");
        return 2;
    }
    std::string dir = argv[1];
    fontbake::Options opt;
    fontbake::BakedFont font;
    if (!fontbake::bake(argv[2], opt, font)) return 1;
    if (!fontbake::writeAtlas(font, opt, dir + "/font2.png")) return 1;
    std::ofstream out(dir + "/font2.fnt", std::ios::binary);
    out << fontbake::describe(font, "font2.png");
    return out.good() ? 0 : 1;
}
