// What each resource kind makes on its first Get and releases on Free.
#include <algorithm>

#include "gfx/animation.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/particle.h"
#include "gfx/sprite.h"
#include "res/resource_manager.h"
#include "res/resources.h"
#include "res/strtable.h"

namespace {

// Makes the resource once; a failed making leaves the handle 0 so that the
// next Get tries again.
template <class Make>
uintptr_t get_once(uintptr_t& handle, Make make) {
    if (!handle) handle = make();
    return handle;
}

// Releases what Get made, if anything, and marks it unmade.
template <class Release>
void free_once(uintptr_t& handle, Release release) {
    if (handle) release(handle);
    handle = 0;
}

template <class T>
T* as(uintptr_t handle) {
    return reinterpret_cast<T*>(handle);
}
template <class T>
uintptr_t handle_of(T* object) {
    return reinterpret_cast<uintptr_t>(object);
}

// The drawing state a Sprite or Animation block gives its object.
void apply_sprite_params(tideSprite* spr, const RSprite* rc) {
    spr->SetColor(rc->color, -1);
    spr->SetZ(rc->z, -1);
    spr->SetBlendMode(rc->blend);
    spr->SetHotSpot(rc->hotx, rc->hoty);
    spr->SetFlip(rc->bXFlip, rc->bYFlip, false);
}

}  // namespace

uintptr_t RResource::Get(tideResourceManager*) {
    return get_once(handle, [&] { return handle_of(tide->Resource_Load(filename)); });
}

void RResource::Free() {
    free_once(handle, [&](uintptr_t h) { tide->Resource_Free(as<void>(h)); });
}

uintptr_t RTexture::Get(tideResourceManager*) {
    return get_once(handle, [&] { return uintptr_t(tide->Texture_Load(filename, 0, mipmap)); });
}

void RTexture::Free() {
    free_once(handle, [&](uintptr_t h) { tide->Texture_Free(HTEXTURE(h)); });
}

uintptr_t REffect::Get(tideResourceManager*) {
    return get_once(handle, [&] { return uintptr_t(tide->Effect_Load(filename, 0)); });
}

void REffect::Free() {
    free_once(handle, [&](uintptr_t h) { tide->Effect_Free(HEFFECT(h)); });
}

uintptr_t RMusic::Get(tideResourceManager*) {
    return get_once(handle, [&] {
        HMUSIC mus = tide->Music_Load(filename, 0);
        if (mus) tide->Music_SetAmplification(mus, amplify);
        return uintptr_t(mus);
    });
}

void RMusic::Free() {
    free_once(handle, [&](uintptr_t h) { tide->Music_Free(HMUSIC(h)); });
}

uintptr_t RStream::Get(tideResourceManager*) {
    return get_once(handle, [&] { return uintptr_t(tide->Stream_Load(filename, 0)); });
}

void RStream::Free() {
    free_once(handle, [&](uintptr_t h) { tide->Stream_Free(HSTREAM(h)); });
}

uintptr_t RTarget::Get(tideResourceManager*) {
    return get_once(handle, [&] { return uintptr_t(tide->Target_Create(width, height, zbuffer)); });
}

void RTarget::Free() {
    free_once(handle, [&](uintptr_t h) { tide->Target_Free(HTARGET(h)); });
}

uintptr_t RSprite::Get(tideResourceManager* rm) {
    return get_once(handle, [&] {
        made.sprite = std::make_shared<tideSprite>(rm->GetTexture(texname, resgroup), tx, ty, w, h);
        apply_sprite_params(made.sprite.get(), this);
        return handle_of(made.sprite.get());
    });
}

std::shared_ptr<tideSprite> RSprite::Share(tideResourceManager* rm) {
    Get(rm);
    return made.sprite;
}

void RSprite::Free() {
    free_once(handle, [&](uintptr_t) { made.sprite.reset(); });
}

uintptr_t RAnimation::Get(tideResourceManager* rm) {
    return get_once(handle, [&] {
        tideAnimation* anim =
            new tideAnimation(rm->GetTexture(texname, resgroup), frames, fps, tx, ty, w, h);
        apply_sprite_params(anim, this);
        anim->SetMode(mode);
        return handle_of(anim);
    });
}

void RAnimation::Free() {
    free_once(handle, [](uintptr_t h) { delete as<tideAnimation>(h); });
}

uintptr_t RFont::Get(tideResourceManager*) {
    return get_once(handle, [&] {
        tideFont* fnt = new tideFont(filename, mipmap);
        fnt->SetColor(color);
        fnt->SetZ(z);
        fnt->SetBlendMode(blend);
        fnt->SetScale(scale);
        fnt->SetProportion(proportion);
        fnt->SetTracking(tracking);
        fnt->SetSpacing(spacing);
        fnt->SetRotation(rotation);
        return handle_of(fnt);
    });
}

void RFont::Free() {
    free_once(handle, [](uintptr_t h) { delete as<tideFont>(h); });
}

uintptr_t RParticle::Get(tideResourceManager* rm) {
    return get_once(handle, [&] {
        RSprite* rs = static_cast<RSprite*>(FindRes(rm, RES_SPRITE, spritename));
        borrowed.sprite = rs ? rs->Share(rm) : nullptr;
        return handle_of(new tideParticleSystem(filename, borrowed.sprite.get()));
    });
}

void RParticle::Free() {
    free_once(handle, [](uintptr_t h) { delete as<tideParticleSystem>(h); });
    borrowed.sprite.reset();
}

uintptr_t RDistort::Get(tideResourceManager* rm) {
    return get_once(handle, [&] {
        // A mesh needs at least one cell, and a huge one would exhaust memory.
        int c = std::clamp(cols, MINNODES, MAXNODES);
        int r = std::clamp(rows, MINNODES, MAXNODES);
        if (c != cols || r != rows)
            tide->System_Log("Distortion %s: mesh %d, %d out of range %d..%d, made %d, %d.", name,
                             cols, rows, MINNODES, MAXNODES, c, r);
        tideDistortionMesh* dm = new tideDistortionMesh(c, r);
        dm->SetTexture(rm->GetTexture(texname, resgroup));
        dm->SetTextureRect(tx, ty, w, h);
        dm->SetBlendMode(blend);
        dm->Clear(color, z);
        return handle_of(dm);
    });
}

void RDistort::Free() {
    free_once(handle, [](uintptr_t h) { delete as<tideDistortionMesh>(h); });
}

uintptr_t RStringTable::Get(tideResourceManager*) {
    return get_once(handle, [&] { return handle_of(new tideStringTable(filename)); });
}

void RStringTable::Free() {
    free_once(handle, [](uintptr_t h) { delete as<tideStringTable>(h); });
}
