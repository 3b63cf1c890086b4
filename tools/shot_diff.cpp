// thalomir-shotdiff: compares two screenshots channel by channel.
//
//   thalomir-shotdiff A.png B.png [TOLERANCE [SHARE MAX]]
//
// Prints the largest difference of any channel and how many pixels differ
// by more than TOLERANCE (default 2); exits 0 when none does, 1 when some
// do or the sizes differ, 2 when a picture cannot be read. With SHARE and
// MAX, shots of two GL paths may differ a little: it exits 0 when at most the
// share SHARE (0.015: 1.5%) of the pixels differ by more than TOLERANCE and
// none by more than MAX.
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <memory>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace {

struct Picture {
    int w = 0, h = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> rgba{nullptr, stbi_image_free};
};

bool Read(const char* path, Picture& p) {
    int n = 0;
    p.rgba.reset(stbi_load(path, &p.w, &p.h, &n, 4));
    if (!p.rgba) std::fprintf(stderr, "thalomir-shotdiff: can't read %s: %s\n", path, stbi_failure_reason());
    return p.rgba != nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: thalomir-shotdiff A.png B.png [TOLERANCE [SHARE MAX]]\n");
        return 2;
    }
    const int tol = argc >= 4 ? std::atoi(argv[3]) : 2;
    const double share = argc == 6 ? std::atof(argv[4]) : 0;
    const int max = argc == 6 ? std::atoi(argv[5]) : 255;
    Picture a, b;
    if (!Read(argv[1], a) || !Read(argv[2], b)) return 2;
    if (a.w != b.w || a.h != b.h) {
        std::printf("sizes differ: %dx%d and %dx%d\n", a.w, a.h, b.w, b.h);
        return 1;
    }
    int worst = 0;
    long over = 0;
    const unsigned char* pa = a.rgba.get();
    const unsigned char* pb = b.rgba.get();
    for (long i = 0; i < long(a.w) * a.h; i++) {
        int d = 0;
        for (int c = 0; c < 4; c++) d = std::max(d, std::abs(pa[i * 4 + c] - pb[i * 4 + c]));
        worst = std::max(worst, d);
        over += d > tol;
    }
    std::printf("max difference %d, %ld pixels over %d\n", worst, over, tol);
    return double(over) > share * double(a.w) * a.h || worst > max ? 1 : 0;
}
