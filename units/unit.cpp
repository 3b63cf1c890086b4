#include "units/unit.h"

#include <cstdlib>

#include "game/game.h"
#include "gfx/animation.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "res/resource_manager.h"
#include "units/projectile.h"

cUnit::cUnit() : tide(tideCreate(TIDE_VERSION)) {}

cUnit::~cUnit() {
    // A unit dropped in the middle of an action (a level left while its
    // strike plays) still owes the lock that action took.
    if (state != state_idle) cGame::UnlockControl();
    delete idle;
    delete move;
    delete attanim;
    tide->Release();
}

tideAnimation* cUnit::CopyAnimation(const char* name) {
    tideAnimation* res = cGame::NeedAnimation(name);
    return res ? new tideAnimation(*res) : nullptr;
}

void cUnit::Build(const cUnitKind& kind) {
    Unselect();
    idle = CopyAnimation(kind.idle);
    move = CopyAnimation(kind.move);
    if (kind.attack) attanim = CopyAnimation(kind.attack);
    turn_on = cGame::NeedSprite(kind.turn_on);
    turn_off = cGame::NeedSprite(kind.turn_off);
    tideResourceManager* rm = cGame::resman;
    if (rm) {
        snd_move = rm->GetEffect(kind.snd_move, 0);
        snd_attack = rm->GetEffect(kind.snd_attack, 0);
    }
    if (idle) idle->Play();
    if (move) move->Play();
    state = state_idle;
    cellsize = kind.cellsize;
    plcontrolled = kind.plcontrolled;
    ammotype = kind.ammotype;
    melee = kind.melee;
    title = kind.title ? kind.title : "";
    SetParam(cGame::global.*kind.param);
    actionpoint = 1;
}

void cUnit::SetParam(st_unitparam par) {
    health = par.health;
    damage = par.dmg;
    armor = par.armor;
    range = par.range;
}

int cUnit::Footprint(const cCell* anchor, cCell* out[4]) const {
    if (cellsize == 1) {
        out[0] = const_cast<cCell*>(anchor);
        return 1;
    }
    cGame* g = cGame::Instance();
    int x = anchor->GetX(), y = anchor->GetY();
    for (int i = 0; i < 4; ++i) out[i] = g->GetCell(tcellpos(x + i % 2, y + i / 2));
    return 4;
}

void cUnit::SetParent(cCell* p) {
    parent = p;
    if (!p) return;
    cCell* cells[4];
    int n = Footprint(p, cells);
    for (int i = 0; i < n; ++i)
        if (cells[i]) cells[i]->AddUnit(this);
}

void cUnit::LeaveBoard() {
    if (!parent) return;
    cCell* cells[4];
    int n = Footprint(parent, cells);
    for (int i = 0; i < n; ++i)
        if (cells[i] && cells[i]->GetUnit() == this) cells[i]->RemUnit();
}

tcellpos cUnit::CentrePoint() const {
    if (!parent) return tcellpos(0, 0);
    int off = cellsize == 1 ? 0 : 32;
    return tcellpos(parent->GetScrX() + off, parent->GetScrY() + off);
}

tcellpos cUnit::MarkerPoint() const {
    return tcellpos(position * 50 + 487 - (maxposition * 50) / 2, 700);
}

void cUnit::GetDamage(int dmg) {
    bool alive = !IsDead();
    int lost = dmg > armor ? dmg - armor : 0;
    health -= lost;
    // The board shows every strike, even one the armor takes whole.
    if (cGame* g = cGame::Instance()) {
        tcellpos c = CentrePoint();
        float x = static_cast<float>(c.first), y = static_cast<float>(c.second);
        g->fx.Hit(x, y, lost, cellsize);
        if (alive && IsDead()) g->fx.Death(x, y, cellsize);
    }
}

bool cUnit::CanMove(const cCell* dest) const {
    if (!dest || !parent) return false;
    int x = dest->GetX(), y = dest->GetY();
    // The footprint must stay on the drawn board; tested first so that no
    // cell off the grid is looked up.
    if (x < 1 || y < 1 || x + cellsize > 15 || y + cellsize > 10) return false;
    cCell* target[4];
    int n = Footprint(dest, target);
    for (int i = 0; i < n; ++i) {
        // Own cells count as free: a 2x2 unit may step onto its footprint.
        if (!target[i] || (target[i]->GetUnit() && target[i]->GetUnit() != this)) return false;
    }
    if (dest == parent) return false;
    return std::abs(x - parent->GetX()) <= 1 && std::abs(y - parent->GetY()) <= 1;
}

bool cUnit::Move(cCell* dest) {
    if (!CanMove(dest)) return false;
    state = state_move;
    time = move_time;
    start_point = parent;
    LeaveBoard();
    SetParent(dest);
    cGame::LockControl();
    actionpoint = 0;
    tide->Effect_Play(snd_move);
    return true;
}

void cUnit::Shoot(cCell* dest) {
    cUnit* u = dest ? dest->GetUnit() : nullptr;
    if (!u) return;
    tcellpos src = CentrePoint();
    tcellpos dst = u->CentrePoint();
    if (melee) {
        u->GetDamage(damage);
        if (attanim) {
            attanim->SetFrame(0);
            attanim->Play();
        }
        state = state_attack;
        cGame::LockControl();
    } else {
        cGame::SetProjectile(new cProjectile(ammotype, src, dst, u));
    }
    tide->Effect_Play(snd_attack);
    actionpoint = 0;
}

void cUnit::RenderHealth() const {
    if (state != state_idle) return;
    tcellpos c = CentrePoint();
    if (tideFont* fnt = cGame::GetFont1())
        fnt->printf(static_cast<float>(c.first), static_cast<float>(c.second), TEXT_CENTER, "%i", health);
}

void cUnit::update(float dt) {
    switch (state) {
    case state_idle:
        if (idle) idle->Update(dt);
        break;
    case state_move:
        if (move) move->Update(dt);
        time -= dt;
        if (time <= 0) {
            state = state_idle;
            cGame::UnlockControl();
        }
        break;
    case state_attack:
        if (attanim) attanim->Update(dt);
        if (!attanim || !attanim->IsPlaying()) {
            state = state_idle;
            cGame::UnlockControl();
        }
        break;
    default:
        break;
    }
}

void cUnit::render() {
    tcellpos c = CentrePoint();
    float mx = static_cast<float>(c.first), my = static_cast<float>(c.second);
    float scale = cellsize == 1 ? 1.0f : 2.0f;

    switch (state) {
    case state_idle:
        if (selected && plcontrolled && grid_sel1) grid_sel1->RenderEx(mx, my, 0, scale, 0);
        if (idle) idle->Render(mx, my);
        break;
    case state_move:
        if (start_point && parent && move) {
            float f = (move_time - time) / move_time;
            float sx = static_cast<float>(start_point->GetScrX());
            float sy = static_cast<float>(start_point->GetScrY());
            float x = sx + (static_cast<float>(parent->GetScrX()) - sx) * f;
            float y = sy + (static_cast<float>(parent->GetScrY()) - sy) * f;
            if (cellsize != 1) {
                x += 32;
                y += 32;
            }
            move->Render(x, y);
        }
        break;
    case state_attack:
        if (attanim) attanim->Render(mx, my);
        break;
    default:
        break;
    }

    tideSprite* marker = actionpoint != 0 ? turn_on : turn_off;
    if (marker) {
        tcellpos m = MarkerPoint();
        marker->Render(static_cast<float>(m.first), static_cast<float>(m.second));
    }
}
