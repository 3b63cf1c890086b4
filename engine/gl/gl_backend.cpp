#include "engine/gl/gl_backend.h"

#include "engine/core.h"

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

bool tideGlBackend::ReadOpaqueScreen(std::vector<uint8_t>* rgba) {
    if (!renderer.ReadScreen(rgba)) return false;
    // Blending leaves partial alpha in the frame; a screenshot is opaque.
    for (size_t i = 3; i < rgba->size(); i += 4) (*rgba)[i] = 255;
    return true;
}
