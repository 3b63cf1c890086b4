#include "units/projectile.h"

#include "gfx/sprite.h"
#include "gfx/vector.h"
#include "units/kinds.h"
#include "units/unit.h"

namespace {

const float kSpeed = 500.0f; // pixels per second

}  // namespace

int cProjectile::Ammo(int type, const char** sprite) {
    if (sprite) *sprite = Kinds().ProjectileSprite(type);
    return Kinds().ProjectileDamage(type);
}

cProjectile::cProjectile(int type, tcellpos _st, tcellpos _dest, cUnit* _target)
    : target(_target), start(_st), dest(_dest), tide(tideCreate(TIDE_VERSION)),
      host(_target ? _target->Host() : nullptr) {
    tideVector d(static_cast<float>(dest.first - start.first),
                 static_cast<float>(dest.second - start.second));
    ftime = d.Length() / kSpeed;
    angle = d.Angle();
    tide->System_Log("Shoot dest: %i %i", dest.first, dest.second);
    tide->System_Log("Shoot source: %i %i", start.first, start.second);
    if (host) host->ActionStarted();

    const char* sprite = nullptr;
    dmg = Ammo(type, &sprite);
    if (host) spr = host->Sprite(sprite);
}

cProjectile::~cProjectile() {
    if (host) host->ActionEnded();
    tide->Release();
}

void cProjectile::update(float dt) {
    time += dt;
    if (time > ftime && !dead) {
        if (target) target->TakeShot(dmg);
        dead = true;
    }
}

void cProjectile::render() {
    if (!spr) return;
    // A zero-length shot has nowhere to fly: it sits on its destination.
    float f = ftime > 0 ? time / ftime : 1.0f;
    float sx = static_cast<float>(start.first), sy = static_cast<float>(start.second);
    float x = sx + (static_cast<float>(dest.first) - sx) * f;
    float y = sy + (static_cast<float>(dest.second) - sy) * f;
    spr->RenderEx(x, y, angle, 1.0f, 0);
}
