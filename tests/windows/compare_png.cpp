// compare_png A.png B.png [DIFF.png]: whether two screenshots of the same
// frame agree within the tolerance the browser test allows between two GL
// paths (tests/web/browser_test.mjs): a pixel matches when no channel differs
// by more than 8; at most 1.5% of the pixels may not, and none by more than
// 64. Prints the counts; exit status 0 when they agree, 1 when not, 2 on an
// unreadable file. DIFF.png shows the pixels off in red over a dimmed frame.
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kChannelTolerance = 8;
constexpr double kMaxOffShare = 0.015;
constexpr int kMaxChannelDiff = 64;

SDL_Surface* LoadRgba(const char* path) {
    SDL_Surface* raw = IMG_Load(path);
    if (!raw) {
        std::fprintf(stderr, "compare_png: can't read %s: %s\n", path, IMG_GetError());
        return nullptr;
    }
    SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    return s;
}

const Uint8* Pixel(const SDL_Surface* s, int x, int y) {
    return static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: compare_png A.png B.png [DIFF.png]\n");
        return 2;
    }
    SDL_Surface* a = LoadRgba(argv[1]);
    SDL_Surface* b = LoadRgba(argv[2]);
    if (!a || !b) return 2;
    if (a->w != b->w || a->h != b->h) {
        std::printf("sizes differ: %dx%d and %dx%d\n", a->w, a->h, b->w, b->h);
        return 1;
    }
    SDL_Surface* diff = SDL_CreateRGBSurfaceWithFormat(0, a->w, a->h, 32, SDL_PIXELFORMAT_RGBA32);
    long off = 0;
    int worst = 0;
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            const Uint8* pa = Pixel(a, x, y);
            const Uint8* pb = Pixel(b, x, y);
            int d = 0;
            for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(int(pa[c]) - int(pb[c])));
            worst = std::max(worst, d);
            if (d > kChannelTolerance) off++;
            Uint8* out = static_cast<Uint8*>(diff->pixels) + y * diff->pitch + x * 4;
            const Uint8 dim = Uint8((pa[0] + pa[1] + pa[2]) / 9);
            out[0] = d > kChannelTolerance ? 255 : dim;
            out[1] = out[2] = d > kChannelTolerance ? 0 : dim;
            out[3] = 255;
        }
    }
    if (argc == 4) IMG_SavePNG(diff, argv[3]);
    const double share = double(off) / (double(a->w) * a->h);
    const bool same = share <= kMaxOffShare && worst <= kMaxChannelDiff;
    std::printf("%s: %ld pixels off (%.3f%%), largest channel difference %d\n",
                same ? "agree" : "DIFFER", off, share * 100, worst);
    SDL_FreeSurface(diff);
    SDL_FreeSurface(a);
    SDL_FreeSurface(b);
    return same ? 0 : 1;
}
