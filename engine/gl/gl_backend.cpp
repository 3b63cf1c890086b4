#include "engine/gl/gl_backend.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <string>

#include "engine/core.h"
#include "engine/files.h"

bool tideGlBackend::BeginScene(HTARGET target) {
    tideTarget* t = target ? core->GetTarget(target) : nullptr;
    if (target && !t) return false;
    screenScene = target == 0;
    return renderer.BeginScene(t, t ? core->GetTexture(t->tex) : nullptr);
}

void tideGlBackend::RenderQuad(const tideQuad& quad) {
    if (quad.tex != lastHandle) {
        lastTexture = quad.tex ? core->GetTexture(quad.tex) : nullptr;
        lastHandle = quad.tex;
    }
    renderer.RenderQuad(quad, lastTexture);
}

void tideGlBackend::TextureFreed(tideTexture& tex) {
    if (lastTexture == &tex) ForgetLastTexture();
    renderer.TextureFreed(tex);
}

bool tideGlBackend::TargetCreated(tideTarget& target) {
    tideTexture* tex = core->GetTexture(target.tex);
    return tex && renderer.TargetCreated(target, *tex);
}

// Encoded in memory and written whole: a snapshot is never half a file.
bool tideGlBackend::Snapshot(const char* path) {
    std::vector<uint8_t> rgba;
    if (!renderer.ReadScreen(&rgba)) return false;
    // Blending leaves partial alpha in the frame; a screenshot is opaque.
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    std::string png;
    auto append = [](void* to, void* data, int size) {
        static_cast<std::string*>(to)->append(static_cast<const char*>(data), size_t(size));
    };
    if (!stbi_write_png_to_func(append, &png, logicalW, logicalH, 4, rgba.data(), logicalW * 4)) {
        core->LogLine(std::string("Can't write snapshot: ") + path + " (not encoded)");
        return false;
    }
    if (tideFileStatus st = tideWriteFileAtomic(path, png); !st) {
        core->LogLine("Can't write snapshot: " + st.why);
        return false;
    }
    return true;
}
