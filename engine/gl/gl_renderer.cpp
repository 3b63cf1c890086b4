#include "engine/gl/gl_renderer.h"

#include <algorithm>
#include <cstddef>

#include "engine/gl/gl_api.h"
#include "engine/gl/gl_shaders.h"

static_assert(sizeof(tideVertex) == 24, "vertices are uploaded as they are");

namespace {

// True when a shader or program reached `status`; otherwise its info log
// goes into `error`.
bool succeeded(GLuint obj, GLenum status, void (*getiv)(GLuint, GLenum, GLint*),
               void (*getLog)(GLuint, GLsizei, GLsizei*, GLchar*), const char* what,
               std::string* error) {
    GLint ok = 0;
    getiv(obj, status, &ok);
    if (ok) return true;
    char log[512] = {};
    getLog(obj, sizeof(log), nullptr, log);
    *error = std::string(what) + " failed: " + log;
    return false;
}

GLuint compile(GLenum type, const char* source, std::string* error) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    if (succeeded(shader, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog, "shader compile",
                  error))
        return shader;
    glDeleteShader(shader);
    return 0;
}

GLuint link(std::string* error) {
    GLuint vs = compile(GL_VERTEX_SHADER, tideGlVertexShader(), error);
    GLuint fs = vs ? compile(GL_FRAGMENT_SHADER, tideGlFragmentShader(), error) : 0;
    if (!fs) {
        if (vs) glDeleteShader(vs);
        return 0;
    }
    GLuint prog = glCreateProgram();
    glAttachShader(prog, vs);
    glAttachShader(prog, fs);
    glLinkProgram(prog);
    glDeleteShader(vs);
    glDeleteShader(fs);
    if (succeeded(prog, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog, "shader link", error))
        return prog;
    glDeleteProgram(prog);
    return 0;
}

// Fills the bound texture from packed ARGB pixels (B,G,R,A bytes), or leaves
// it undefined when `bgra` is null. OpenGL ES takes no BGRA source format, so
// there the bytes are reordered on the way.
void texImage(int w, int h, const void* bgra) {
#if TIDE_GLES
    std::vector<uint32_t> rgba;
    if (bgra) {
        const auto* src = static_cast<const uint32_t*>(bgra);
        rgba.resize(size_t(w) * size_t(h));
        for (size_t i = 0; i < rgba.size(); i++) {
            const uint32_t p = src[i];
            rgba[i] = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
        }
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 bgra ? rgba.data() : nullptr);
#else
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
#endif
}

void clearDepth() {
#if TIDE_GLES
    glClearDepthf(1.0f);
#else
    glClearDepth(1.0);
#endif
}

// Trimming a quad by less than this share of its area saves too little to
// be worth the new corners.
const double kMinTrim = 0.1;

bool allOpaque(const DWORD* px, size_t n) {
    for (size_t i = 0; i < n; i++)
        if ((px[i] >> 24) != 0xFF) return false;
    return true;
}

GLuint makeTexture(int w, int h, const void* bgra, bool linear) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    texImage(w, h, bgra);
    return name;
}

bool framebufferComplete(std::string* error) {
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE) return true;
    if (error) *error = "framebuffer incomplete (status " + std::to_string(status) + ")";
    return false;
}

// Depth only orders a 2D game's layers: 16 bits tell z values 1/65535 apart
// and take half the memory of 24 (1.5 MiB less for a 1024x768 frame).
GLuint makeDepthBuffer(int w, int h) {
    GLuint rb = 0;
    glGenRenderbuffers(1, &rb);
    glBindRenderbuffer(GL_RENDERBUFFER, rb);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, rb);
    return rb;
}

void clearFramebuffer(float r, float g, float b, float a) {
    glClearColor(r, g, b, a);
    clearDepth();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace

bool tideGlRenderer::Init(int w, int h, bool linearFilter, std::string* error) {
    logicalW = w;
    logicalH = h;
    linear = linearFilter;

    program = link(error);
    if (!program) return false;
    glUseProgram(program);
    uScale = glGetUniformLocation(program, "uScale");
    uColorAdd = glGetUniformLocation(program, "uColorAdd");
    glUniform1i(glGetUniformLocation(program, "uTex"), 0);

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, tideQuadBatch::kCapacity * 4 * sizeof(tideVertex), nullptr,
                 GL_STREAM_DRAW);
    const GLsizei stride = sizeof(tideVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(tideVertex, x));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          (void*)offsetof(tideVertex, col));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(tideVertex, tx));

    // Corners come clockwise from the top-left: two triangles 0-1-2, 0-2-3.
    std::vector<GLushort> indices(tideQuadBatch::kCapacity * 6);
    for (int q = 0; q < tideQuadBatch::kCapacity; q++) {
        const GLushort b = GLushort(q * 4);
        const GLushort quad[6] = {b, GLushort(b + 1), GLushort(b + 2),
                                  b, GLushort(b + 2), GLushort(b + 3)};
        std::copy(quad, quad + 6, &indices[q * 6]);
    }
    glGenBuffers(1, &ibo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(GLushort), indices.data(),
                 GL_STATIC_DRAW);

    const DWORD white = 0xFFFFFFFF;
    whiteTexture = makeTexture(1, 1, &white, false);

    glGenFramebuffers(1, &screenFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, screenFbo);
    glGenRenderbuffers(1, &screenColor);
    glBindRenderbuffer(GL_RENDERBUFFER, screenColor);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, screenColor);
    screenDepth = makeDepthBuffer(w, h);
    if (!framebufferComplete(error)) {
        Shutdown();
        return false;
    }

    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glActiveTexture(GL_TEXTURE0);
    bindFramebuffer(screenFbo, w, h);
    clearFramebuffer(0, 0, 0, 1);
    boundTexture = blendOn = blendAlpha = colorAdd = depthMask = -1;
    setDepthMask(true);
    if (glGetError() != GL_NO_ERROR) {
        *error = "OpenGL set-up failed";
        Shutdown();
        return false;
    }
    return true;
}

void tideGlRenderer::Shutdown() {
    if (!program) return;
    endRun();
    batch.Clear();
    batchTexture = nullptr;
    glDeleteFramebuffers(1, &screenFbo);
    glDeleteRenderbuffers(1, &screenColor);
    glDeleteRenderbuffers(1, &screenDepth);
    glDeleteTextures(1, &whiteTexture);
    glDeleteBuffers(1, &vbo);
    glDeleteBuffers(1, &ibo);
    glDeleteVertexArrays(1, &vao);
    glDeleteProgram(program);
    coverage.clear();
    program = vao = vbo = ibo = screenFbo = screenColor = screenDepth = whiteTexture = 0;
}

void tideGlRenderer::bindFramebuffer(unsigned fbo, int w, int h) {
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glViewport(0, 0, w, h);
    glUniform2f(uScale, 2.0f / float(w), 2.0f / float(h));
}

void tideGlRenderer::setDepthMask(bool on) {
    if (depthMask == int(on)) return;
    glDepthMask(on ? GL_TRUE : GL_FALSE);
    depthMask = on;
}

bool tideGlRenderer::BeginScene(tideTarget* target, tideTexture* targetTex) {
    if (!Ready()) return false;
    flush();
    unclip();
    if (target) {
        if (!target->device || !targetTex) return false;
        bindFramebuffer(target->device, targetTex->width, targetTex->height);
    } else {
        bindFramebuffer(screenFbo, logicalW, logicalH);
    }
    sceneTarget = target ? targetTex : nullptr;
    sceneNoDepth = target && !target->deviceDepth;
    setDepthMask(true);
    clearDepth();
    glClear(GL_DEPTH_BUFFER_BIT);
    return true;
}

void tideGlRenderer::EndScene() {
    if (!Ready()) return;
    flush();
    unclip();
    const bool toTarget = sceneTarget != nullptr;
    // Stray drawing between scenes lands in the screen frame, not in a target.
    bindFramebuffer(screenFbo, logicalW, logicalH);
    sceneTarget = nullptr;
    if (toTarget) glFinish();
}

void tideGlRenderer::Clear(DWORD color) {
    if (!Ready()) return;
    flush();
    // A clipped clear leaves the rest of the target as it was.
    if (sceneTarget)
        sceneTarget->opaque = GETA(color) == 0xFF ? sceneTarget->opaque || !clipped : false;
    setDepthMask(true);
    clearFramebuffer(GETR(color) / 255.0f, GETG(color) / 255.0f, GETB(color) / 255.0f,
                     GETA(color) / 255.0f);
}

void tideGlRenderer::SetClipping(int x, int y, int w, int h) {
    if (!Ready()) return;
    flush();
    const int sw = sceneTarget ? sceneTarget->width : logicalW;
    const int sh = sceneTarget ? sceneTarget->height : logicalH;
    if (w <= 0 || h <= 0) {
        unclip();
        return;
    }
    clipX0 = std::clamp(x, 0, sw);
    clipY0 = std::clamp(y, 0, sh);
    // The far edges in 64 bits: a rectangle far off the scene must not overflow.
    clipX1 = int(std::clamp<long long>(x + (long long)std::min(w, sw), clipX0, sw));
    clipY1 = int(std::clamp<long long>(y + (long long)std::min(h, sh), clipY0, sh));
    if (!clipped) glEnable(GL_SCISSOR_TEST);
    clipped = true;
    opaqueOutsideClip = sceneTarget && sceneTarget->opaque;
    // The scene's rows run top-down in its framebuffer, as GL counts them.
    glScissor(clipX0, clipY0, clipX1 - clipX0, clipY1 - clipY0);
}

void tideGlRenderer::unclip() {
    if (!clipped) return;
    glDisable(GL_SCISSOR_TEST);
    clipped = false;
}

void tideGlRenderer::upload(tideTexture& tex) {
    const size_t n = size_t(tex.width) * size_t(tex.height);
    const void* pixels = tex.pixels.size() >= n ? tex.pixels.data() : nullptr;
    tex.opaque = pixels && allOpaque(tex.pixels.data(), n);
    if (tex.device) {
        glBindTexture(GL_TEXTURE_2D, tex.device);
        texImage(tex.width, tex.height, pixels);
    } else {
        tex.device = makeTexture(tex.width, tex.height, pixels, linear);
    }
    // The pixels are at hand only now: a picture's memory copy is dropped
    // once it is on the device.
    tideCoverageMap map;
    if (pixels && !tex.opaque && map.Build(tex.pixels.data(), tex.width, tex.height))
        coverage[tex.device] = std::move(map);
    else
        coverage.erase(tex.device);
    boundTexture = int(tex.device);
    tex.dirty = false;
    // Dropped at once, not at the frame's end: a level's first frame uploads
    // many pictures, and would otherwise hold all of them twice.
    if (tex.fromFile) std::vector<DWORD>().swap(tex.pixels);
}

unsigned tideGlRenderer::textureFor(tideTexture* tex) {
    if (!tex || tex->width <= 0 || tex->height <= 0) return whiteTexture;
    // A target's pixels live on the device; its memory copy is never newer.
    bool stale = !tex->device || (tex->dirty && !tex->isTarget);
    if (stale) {
        // Quads already waiting may sample the old pixels.
        if (batchTexture == tex) flush();
        upload(*tex);
    }
    return tex->device;
}

void tideGlRenderer::addQuad(const tideQuad& quad, tideTexture* tex) {
    if (!Ready()) return;
    tideBatchState s;
    s.texture = textureFor(tex);
    // Adding to the white stand-in of an untextured quad would wash it out.
    s.blend = s.texture == whiteTexture ? quad.blend & ~BLEND_COLORADD : quad.blend;
    if (!batch.Fits(s)) flush();
    batch.Add(s, quad.v);
    batchTexture = tex;
    batchBlend = quad.blend;
}

void tideGlRenderer::flush() {
    syncRun();
    endRun();
    if (batch.Count() == 0) return;
    const tideBatchState& s = batch.State();
    trimPending(s);
    const int n = batch.Count();
    if (n == 0) {
        batchTexture = nullptr;
        return;
    }
    if (boundTexture != int(s.texture)) {
        glBindTexture(GL_TEXTURE_2D, s.texture);
        boundTexture = int(s.texture);
    }
    // Alpha blending of opaque texels under opaque vertex colours gives the
    // source itself: a software rasteriser fills such quads faster unblended.
    const int blend = !pendingOpaque(s);
    if (blendOn != blend) {
        if (blend)
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);
        blendOn = blend;
    }
    const int alpha = (s.blend & BLEND_ALPHABLEND) != 0;
    if (blendAlpha != alpha) {
        glBlendFunc(GL_SRC_ALPHA, alpha ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
        blendAlpha = alpha;
    }
    const int add = (s.blend & BLEND_COLORADD) != 0;
    if (colorAdd != add) {
        glUniform1i(uColorAdd, add);
        colorAdd = add;
    }
    setDepthMask((s.blend & BLEND_ZWRITE) != 0);
    glBufferData(GL_ARRAY_BUFFER, n * 4 * sizeof(tideVertex), batch.Vertices(), GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, n * 6, GL_UNSIGNED_SHORT, nullptr);
    drawCalls++;
    if (sceneTarget) {
        // Additive or unblended quads keep full alpha full; a full-window
        // fill of alpha makes the whole target opaque again.
        const bool kept = sceneTarget->opaque && (!blend || !(s.blend & BLEND_ALPHABLEND));
        sceneTarget->opaque = kept || (pendingFillsAlpha(s) && (!clipped || opaqueOutsideClip));
    }
    batch.Clear();
    batchTexture = nullptr;
}

void tideGlRenderer::trimPending(const tideBatchState& s) {
    // A quad that writes depth writes it under its transparent texels too.
    if (!trimQuads || (s.blend & BLEND_ZWRITE) || !batchTexture) return;
    auto it = coverage.find(s.texture);
    if (it == coverage.end()) return;
    const tideCoverageMap& map = it->second;
    const int w = batchTexture->width, h = batchTexture->height;
    splits.clear();
    splitQuads.clear();
    double bandsSaved = 0;
    int index = 0;
    tideBands bands;
    batch.Rewrite([&](tideVertex* v) {
        switch (tideTrimQuad(v, map, trimCaches, w, h, {kMinTrim, bandCost}, &bands, &trimmedArea)) {
        case tideTrim::kDropped: return false;
        case tideTrim::kBanded:
            splits.push_back({index, bands.count});
            splitQuads.insert(splitQuads.end(), bands.v, bands.v + bands.count * 4);
            bandsSaved += bands.saved;
            break;
        default: break;
        }
        index++;
        return true;
    });
    // Bands that would overflow the batch leave their quads trimmed as one.
    if (!splits.empty() && batch.Splice(splits, splitQuads.data())) trimmedArea += bandsSaved;
}

bool tideGlRenderer::sourceOpaque(const tideBatchState& s, int first, int count) const {
    if (s.texture != whiteTexture && !(batchTexture && batchTexture->opaque)) return false;
    const tideVertex* v = batch.Vertices() + first * 4;
    for (int i = 0; i < count * 4; i++)
        if ((v[i].col >> 24) != 0xFF) return false;
    return true;
}

bool tideGlRenderer::pendingOpaque(const tideBatchState& s) const {
    return (s.blend & BLEND_ALPHABLEND) && sourceOpaque(s, 0, batch.Count());
}

bool tideGlRenderer::pendingFillsAlpha(const tideBatchState& s) const {
    // Additive alpha from a full-alpha quad saturates; a quad reaches every
    // pixel it covers only where no depth buffer can hide it.
    const int last = batch.Count() - 1;
    if ((s.blend & BLEND_ALPHABLEND) || !sceneNoDepth || last < 0 || !sourceOpaque(s, last, 1)) return false;
    const tideVertex* v = batch.Vertices() + last * 4;
    // Corners clockwise from the top-left, at or beyond the drawable area's.
    const float x0 = clipped ? float(clipX0) : 0, y0 = clipped ? float(clipY0) : 0;
    const float x1 = float(clipped ? clipX1 : sceneTarget->width),
                y1 = float(clipped ? clipY1 : sceneTarget->height);
    return v[0].x <= x0 && v[0].y <= y0 && v[1].x >= x1 && v[1].y <= y0 && v[2].x >= x1 &&
           v[2].y >= y1 && v[3].x <= x0 && v[3].y >= y1;
}

void tideGlRenderer::Present(const tideLetterbox& box, int drawableW, int drawableH) {
    if (!Ready()) return;
    flush();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, screenFbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, drawableW, drawableH);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // Row 0 of the frame is its top: flip while scaling.
    const int top = drawableH - box.y;
    const bool same = box.w == logicalW && box.h == logicalH;
    glBlitFramebuffer(0, 0, logicalW, logicalH, box.x, top, box.x + box.w, top - box.h,
                      GL_COLOR_BUFFER_BIT, same ? GL_NEAREST : GL_LINEAR);
    bindFramebuffer(screenFbo, logicalW, logicalH);
}

bool tideGlRenderer::ReadScreen(std::vector<uint8_t>* rgba) {
    if (!Ready()) return false;
    flush();
    GLint current = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &current);
    rgba->resize(size_t(logicalW) * size_t(logicalH) * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, screenFbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, logicalW, logicalH, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(current));
    return true;
}

void tideGlRenderer::TextureFreed(tideTexture& tex) {
    if (!tex.device) return;
    if (Ready()) {
        if (batchTexture == &tex || sceneTarget == &tex) flush();
        if (sceneTarget == &tex) sceneTarget = nullptr;
        GLuint name = tex.device;
        glDeleteTextures(1, &name);
        coverage.erase(name);
        if (boundTexture == int(name)) boundTexture = -1;
    }
    tex.device = 0;
}

bool tideGlRenderer::TargetCreated(tideTarget& target, tideTexture& tex) {
    if (!Ready() || tex.width <= 0 || tex.height <= 0) return false;
    flush();
    GLint current = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &current);
    if (!tex.device) tex.device = makeTexture(tex.width, tex.height, nullptr, linear);
    tex.dirty = false;
    tex.opaque = false;
    boundTexture = int(tex.device);
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, tex.device, 0);
    target.device = fbo;
    if (target.zbuffer) target.deviceDepth = makeDepthBuffer(tex.width, tex.height);
    bool ok = framebufferComplete(nullptr);
    if (ok) {
        setDepthMask(true);
        // A new target is cleared whole, even when made inside a clipped scene.
        if (clipped) glDisable(GL_SCISSOR_TEST);
        clearFramebuffer(0, 0, 0, 0);
        if (clipped) glEnable(GL_SCISSOR_TEST);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(current));
    if (!ok) TargetFreed(target);
    return ok;
}

void tideGlRenderer::TargetFreed(tideTarget& target) {
    if (Ready()) {
        flush();
        GLuint fbo = target.device, depth = target.deviceDepth;
        if (fbo) glDeleteFramebuffers(1, &fbo);
        if (depth) glDeleteRenderbuffers(1, &depth);
    }
    target.device = target.deviceDepth = 0;
}
