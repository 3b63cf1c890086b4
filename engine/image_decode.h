// Decoding a picture file's bytes into packed ARGB pixels. The desktop build
// reads through SDL_image, the web build through stb_image; both accept the
// raster formats games ship (PNG, JPEG, BMP, GIF) and nothing else.
#pragma once

#include <string>
#include <vector>

#include "engine/tide.h"

struct tideImage {
    int width = 0, height = 0;
    std::vector<DWORD> pixels; // ARGB, rows `width` apart
};

// False when the bytes are not a picture of those formats; `why` then says
// what is wrong in a few words.
bool tideDecodeImage(const std::string& data, tideImage* out, std::string* why);
