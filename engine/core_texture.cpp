// Textures and render targets: pixels live in memory (ARGB); the backend keeps
// its own device copies.
#include <cstring>

#include "engine/core.h"
#include "engine/image_decode.h"

namespace {
// Larger images are refused: a corrupt header must not make us allocate gigabytes.
const int kMaxTextureSide = 16384;
// All textures together hold at most this many pixels (256 MiB), as video
// memory would: a script may ask for any number of big render targets.
const size_t kTexturePixelBudget = size_t(64) << 20;

// Whether a texture of w by h pixels is allowed next to the existing ones.
bool textureFits(const std::map<DWORD, tideTexture>& textures, int w, int h) {
    if (w <= 0 || h <= 0 || w > kMaxTextureSide || h > kMaxTextureSide) return false;
    size_t used = 0;
    for (const auto& [handle, t] : textures) used += size_t(t.width) * size_t(t.height);
    return used + size_t(w) * size_t(h) <= kTexturePixelBudget;
}
}  // namespace

bool tideCore::fileOrMemory(const char* filename, DWORD size, std::string& out) {
    if (size && filename) {
        out.assign(filename, size);
        return true;
    }
    return loadFile(filename, out);
}

tideTexture* tideCore::findTexture(HTEXTURE tex) {
    auto it = textures.find(tex);
    return it == textures.end() ? nullptr : &it->second;
}

tideTexture* tideCore::GetTexture(HTEXTURE tex) {
    tideTexture* t = findTexture(tex);
    if (t && !pendingImages.empty()) finishImage(tex, *t);
    if (t && !evicted.empty() && evicted.erase(tex)) rereadPicture(tex, *t);
    return t;
}

// A file that broke since it was first read gives a transparent picture of
// the same size, so that sprites cut from it stay valid.
void tideCore::rereadPicture(HTEXTURE tex, tideTexture& t) {
    auto file = reloadable.find(tex);
    if (file == reloadable.end()) return;
    std::string data, why = "can't read the file";
    tideImage img;
    bool ok = loadFile(file->second.c_str(), data) && tideDecodeImage(data, &img, &why);
    if (ok && (img.width != t.width || img.height != t.height)) {
        ok = false;
        why = "its size differs from its header's";
    }
    if (ok) {
        t.pixels = std::move(img.pixels);
    } else {
        System_Log("Can't load texture: %s (%s)", file->second.c_str(), why.c_str());
        t.pixels.assign(size_t(t.width) * size_t(t.height), 0);
    }
    t.dirty = true;
}

// A picture that turns out broken is logged as a failed load would have been,
// and becomes one transparent texel: its header's size may be anything.
void tideCore::finishImage(HTEXTURE tex, tideTexture& t) {
    auto it = pendingImages.find(tex);
    if (it == pendingImages.end()) return;
    PendingImage pending = std::move(it->second);
    pendingImages.erase(it);
    tideImage img;
    std::string why;
    bool ok = imageJobs->Take(*pending.job, &img, &why);
    if (ok && (img.width != t.width || img.height != t.height)) {
        ok = false;
        why = "its size differs from its header's";
    }
    const char* name = pending.filename.empty() ? nullptr : pending.filename.c_str();
    if (ok) {
        t.pixels = std::move(img.pixels);
        if (name) loaded(name);
    } else {
        if (firstLoadFailure(name, name ? 0 : 1))
            System_Log("Can't load texture: %s (%s)", name ? name : "(memory)", why.c_str());
        t.width = t.height = 1;
        t.pixels.assign(1, 0);
    }
    t.dirty = true;
}

tideTarget* tideCore::GetTarget(HTARGET target) {
    auto it = targets.find(target);
    return it == targets.end() ? nullptr : &it->second;
}

HTEXTURE tideCore::Texture_Create(int width, int height) { return createTexture(width, height, true); }

HTEXTURE tideCore::createTexture(int width, int height, bool pixels) {
    if (!textureFits(textures, width, height)) {
        System_Log("Can't create texture of %d x %d pixels", width, height);
        return 0;
    }
    HTEXTURE h = nextHandle++;
    tideTexture& t = textures[h];
    t.width = t.origWidth = width;
    t.height = t.origHeight = height;
    if (pixels) t.pixels.assign(size_t(width) * size_t(height), 0);
    return h;
}

HTEXTURE tideCore::Texture_Load(const char* filename, DWORD size, bool bMipmap) {
    (void)bMipmap; // the renderer filters linearly; no mipmaps are needed at 1:1 scale
    const char* what = size ? "(memory)" : (filename ? filename : "(null)");
    std::string data;
    if (!fileOrMemory(filename, size, data)) {
        if (firstLoadFailure(filename, size))
            System_Log("Can't load texture: %s", what);
        return 0;
    }
    int w = 0, hgt = 0;
    if (imageJobs && tidePngSize(data, &w, &hgt)) {
        if (!textureFits(textures, w, hgt)) {
            if (firstLoadFailure(filename, size))
                System_Log("Can't load texture: %s (%d x %d pixels)", what, w, hgt);
            return 0;
        }
        HTEXTURE h = nextHandle++;
        tideTexture& t = textures[h];
        t.width = t.origWidth = w;
        t.height = t.origHeight = hgt;
        // A broken picture is named when its pixels are first needed, and
        // only once, as if it had failed here.
        pendingImages[h] = {imageJobs->Submit(std::move(data)), size ? "" : what};
        if (!size) {
            reloadable[h] = what;
            t.fromFile = true;
        }
        return h;
    }
    tideImage img;
    std::string why;
    if (!tideDecodeImage(data, &img, &why)) {
        if (firstLoadFailure(filename, size))
            System_Log("Can't load texture: %s (%s)", what, why.c_str());
        return 0;
    }
    HTEXTURE h = 0;
    if (textureFits(textures, img.width, img.height)) {
        h = nextHandle++;
        tideTexture& t = textures[h];
        t.width = t.origWidth = img.width;
        t.height = t.origHeight = img.height;
        t.pixels = std::move(img.pixels);
        if (!size && filename) {
            reloadable[h] = filename;
            t.fromFile = true;
        }
        loaded(filename, size);
    } else if (firstLoadFailure(filename, size)) {
        System_Log("Can't load texture: %s (%d x %d pixels)", what, img.width, img.height);
    }
    return h;
}

void tideCore::Texture_Free(HTEXTURE tex) {
    auto it = textures.find(tex);
    if (it == textures.end()) return;
    if (it->second.isTarget) return; // owned by its render target
    auto pending = pendingImages.find(tex);
    if (pending != pendingImages.end()) {
        imageJobs->Drop(*pending->second.job);
        pendingImages.erase(pending);
    }
    reloadable.erase(tex);
    evicted.erase(tex);
    if (backend) backend->TextureFreed(it->second);
    textures.erase(it);
}

int tideCore::Texture_GetWidth(HTEXTURE tex, bool bOriginal) {
    tideTexture* t = findTexture(tex);
    return t ? (bOriginal ? t->origWidth : t->width) : 0;
}

int tideCore::Texture_GetHeight(HTEXTURE tex, bool bOriginal) {
    tideTexture* t = findTexture(tex);
    return t ? (bOriginal ? t->origHeight : t->height) : 0;
}

DWORD* tideCore::Texture_Lock(HTEXTURE tex, bool bReadOnly, int left, int top, int width,
                              int height) {
    tideTexture* t = GetTexture(tex);
    if (!t) return nullptr;
    // A locked picture keeps its memory copy from now on.
    auto file = reloadable.find(tex);
    if (file != reloadable.end()) {
        if (t->pixels.empty()) rereadPicture(tex, *t);
        reloadable.erase(file);
        t->fromFile = false;
    }
    // A target's memory copy holds what the target was created with.
    if (t->isTarget && t->pixels.empty()) t->pixels.assign(size_t(t->width) * size_t(t->height), 0);
    if (t->pixels.empty()) return nullptr;
    if (left < 0 || top < 0 || left >= t->width || top >= t->height || width < 0 || height < 0 ||
        left + width > t->width || top + height > t->height)
        return nullptr;
    // The device copy is refreshed before the texture is next drawn.
    if (!bReadOnly) {
        t->dirty = true;
        quadRun.end = quadRun.next; // the run may be drawing this texture
    }
    return &t->pixels[size_t(top) * size_t(t->width) + size_t(left)];
}

void tideCore::Texture_Unlock(HTEXTURE tex) { (void)tex; }

void tideCore::Texture_Evict(HTEXTURE tex) {
    tideTexture* t = findTexture(tex);
    // Given back already: a screen and its level's backdrop may both ask.
    if (!t || !reloadable.count(tex) || evicted.count(tex)) return;
    auto pending = pendingImages.find(tex);
    if (pending != pendingImages.end()) {
        imageJobs->Drop(*pending->second.job);
        pendingImages.erase(pending);
    }
    if (backend) backend->TextureFreed(*t);
    std::vector<DWORD>().swap(t->pixels);
    evicted.insert(tex);
}

void tideCore::Texture_Prefetch(HTEXTURE tex) {
    auto file = reloadable.find(tex);
    if (!imageJobs || !evicted.count(tex) || file == reloadable.end()) return;
    std::string data;
    if (!loadFile(file->second.c_str(), data)) return;  // read, and named, when needed
    evicted.erase(tex);
    pendingImages[tex] = {imageJobs->Submit(std::move(data)), file->second};
}

HTARGET tideCore::Target_Create(int width, int height, bool zbuffer) {
    // A target's pixels live on the device: a memory copy is made only for a lock.
    HTEXTURE tex = createTexture(width, height, false);
    if (!tex) return 0;
    GetTexture(tex)->isTarget = true;
    HTARGET h = nextHandle++;
    tideTarget& t = targets[h];
    t.tex = tex;
    t.width = width;
    t.height = height;
    t.zbuffer = zbuffer;
    if (backend && !backend->TargetCreated(t)) {
        System_Log("Can't create render target of %d x %d pixels", width, height);
        targets.erase(h);
        tideTexture* tt = GetTexture(tex);
        backend->TextureFreed(*tt);
        textures.erase(tex);
        return 0;
    }
    return h;
}

void tideCore::Target_Free(HTARGET target) {
    auto it = targets.find(target);
    if (it == targets.end()) return;
    HTEXTURE tex = it->second.tex;
    if (backend) backend->TargetFreed(it->second);
    targets.erase(it);
    auto ti = textures.find(tex);
    if (ti != textures.end()) {
        if (backend) backend->TextureFreed(ti->second);
        textures.erase(ti);
    }
}

HTEXTURE tideCore::Target_GetTexture(HTARGET target) {
    tideTarget* t = GetTarget(target);
    return t ? t->tex : 0;
}
