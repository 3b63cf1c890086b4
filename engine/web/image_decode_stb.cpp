// The web build's picture decoder: stb_image, limited to the formats the
// desktop build accepts.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

#include "engine/image_decode.h"

bool tideDecodeImage(const std::string& data, tideImage* out, std::string* why) {
    const auto* bytes = reinterpret_cast<const stbi_uc*>(data.data());
    const int size = data.size() > size_t(INT32_MAX) ? 0 : int(data.size());
    int w = 0, h = 0, comp = 0;
    if (size == 0 || !stbi_info_from_memory(bytes, size, &w, &h, &comp)) {
        *why = "not a PNG, JPEG, BMP or GIF image";
        return false;
    }
    stbi_uc* rgba = stbi_load_from_memory(bytes, size, &w, &h, &comp, 4);
    if (!rgba) {
        *why = stbi_failure_reason();
        return false;
    }
    out->width = w;
    out->height = h;
    out->pixels.resize(size_t(w) * size_t(h));
    for (size_t i = 0; i < out->pixels.size(); i++) {
        const stbi_uc* p = rgba + i * 4;
        out->pixels[i] = DWORD(p[3]) << 24 | DWORD(p[0]) << 16 | DWORD(p[1]) << 8 | DWORD(p[2]);
    }
    stbi_image_free(rgba);
    return true;
}
