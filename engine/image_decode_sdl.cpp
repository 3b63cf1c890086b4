#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstring>
#include <mutex>

#include "engine/image_decode.h"

namespace {
// SDL_image's other readers (SVG, XCF, XPM, ...) add attack surface for no
// use, and its SVG reader leaks on broken files.
bool rasterImage(SDL_RWops* rw) {
    return IMG_isPNG(rw) || IMG_isJPG(rw) || IMG_isBMP(rw) || IMG_isGIF(rw);
}
}  // namespace

// Pictures are decoded on several threads at once; SDL_image sets its
// readers up on first use, which must happen once, before any of them.
bool tideDecodeImage(const std::string& data, tideImage* out, std::string* why) {
    static std::once_flag readers;
    std::call_once(readers, [] { IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG); });
    SDL_RWops* rw = SDL_RWFromConstMem(data.data(), int(data.size()));
    if (rw && !rasterImage(rw)) {
        SDL_RWclose(rw);
        *why = "not a PNG, JPEG, BMP or GIF image";
        return false;
    }
    SDL_Surface* img = rw ? IMG_Load_RW(rw, 1) : nullptr;
    if (!img) {
        *why = IMG_GetError();
        return false;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(img, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(img);
    if (!argb) {
        *why = SDL_GetError();
        return false;
    }
    out->width = argb->w;
    out->height = argb->h;
    out->pixels.resize(size_t(argb->w) * size_t(argb->h));
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; y++)
        memcpy(&out->pixels[size_t(y) * size_t(argb->w)],
               static_cast<const char*>(argb->pixels) + size_t(y) * size_t(argb->pitch),
               size_t(argb->w) * 4);
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return true;
}
