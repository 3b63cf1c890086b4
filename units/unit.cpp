#include "units/unit.h"

#include <algorithm>
#include <cmath>

#include "gfx/animation.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "units/kinds.h"
#include "units/projectile.h"

cUnit::cUnit(cUnitHost* host)
    : tide(tideCreate(TIDE_VERSION)), host(host), solo(std::make_unique<BattleState>()) {
    battle = solo.get();
    id = solo->nextid++;
    BattleUnit u;
    u.id = id;
    solo->units.push_back(u);
}

cUnit::~cUnit() {
    // A unit dropped in the middle of an action (a level left while its
    // strike plays) still owes the lock that action took.
    if (state != state_idle) ActionEnded();
    delete idle;
    delete move;
    delete attanim;
    tide->Release();
}

BattleUnit& cUnit::Data() const {
    std::vector<BattleUnit>& v = battle->units;
    if (hint < v.size() && v[hint].id == id) return v[hint];
    int i = battle::IndexOf(*battle, id);
    if (i < 0) return orphan;
    hint = static_cast<std::size_t>(i);
    return v[hint];
}

void cUnit::Bind(BattleState* s, int unitId) {
    battle = s;
    id = unitId;
    hint = 0;
    solo.reset();
}

tideAnimation* cUnit::CopyAnimation(const char* name) {
    tideAnimation* res = host ? host->Animation(name) : nullptr;
    return res ? new tideAnimation(*res) : nullptr;
}

cCell* cUnit::BoardCell(int x, int y) const { return host ? host->Cell(x, y) : nullptr; }

void cUnit::ActionStarted() {
    if (host) host->ActionStarted();
}

void cUnit::ActionEnded() {
    if (host) host->ActionEnded();
}

void cUnit::Build(const cUnitKind& kind) {
    Unselect();
    idle = CopyAnimation(kind.idle.c_str());
    move = CopyAnimation(kind.move.c_str());
    if (!kind.attack.empty()) attanim = CopyAnimation(kind.attack.c_str());
    if (host) {
        turn_on = host->Sprite(kind.turn_on.c_str());
        turn_off = host->Sprite(kind.turn_off.c_str());
        // A kind may be silent.
        if (!kind.snd_move.empty()) snd_move = host->Effect(kind.snd_move.c_str());
        if (!kind.snd_attack.empty()) snd_attack = host->Effect(kind.snd_attack.c_str());
    }
    if (idle) idle->Play();
    if (move) move->Play();
    state = state_idle;
    title = kind.title.c_str();
    BattleUnit& d = Data();
    int keep = d.id;
    d = KindRecord(kind);
    d.id = keep;
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
    int x = anchor->GetX(), y = anchor->GetY();
    for (int i = 0; i < 4; ++i) out[i] = BoardCell(x + i % 2, y + i / 2);
    return 4;
}

void cUnit::SetParent(cCell* p) {
    parent = p;
    if (!p) return;
    BattleUnit& d = Data();
    d.x = p->GetX();
    d.y = p->GetY();
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

// The turn bar's portraits (44 pixels wide, centred 50 right of the marker
// point) stand 50 apart, centred on the window, and closer together when
// that would take them past the shelf between the difficulty at its left
// end and the turn count at its right end: 15 units fit.
tcellpos cUnit::MarkerPoint() const {
    const float kLeft = 194, kRight = 830, kPortrait = 44, kPitch = 50;
    const int n = std::max(maxposition, 1);
    const float pitch = n > 1 ? std::min(kPitch, (kRight - kLeft - kPortrait) / float(n - 1)) : kPitch;
    const float centre = (kLeft + kRight) / 2 + pitch * (float(position) - float(n - 1) / 2);
    return tcellpos(static_cast<int>(std::lround(centre)) - 50, 700);
}

void cUnit::Sound(HEFFECT snd) {
    if (host) host->UnitSound(snd);
}

void cUnit::ShowHit(int lost, bool killed) {
    if (host) host->UnitHit(*this, lost, killed);
}

void cUnit::GetDamage(int dmg) {
    bool alive = !IsDead();
    int lost = battle::Damage(*battle, id, dmg);
    ShowHit(lost, alive && IsDead());
}

void cUnit::TakeShot(int dmg) {
    bool alive = !IsDead();
    int lost = battle::LandHit(*battle, id, dmg);
    ShowHit(lost, alive && IsDead());
}

bool cUnit::CanMove(const cCell* dest) const {
    return dest && parent && battle::CanMove(*battle, Data(), dest->GetX(), dest->GetY());
}

bool cUnit::Move(cCell* dest) {
    battle::Effect e;
    if (!CanMove(dest) || !battle::Apply(*battle, id, battle::Action::MoveTo(dest->GetX(), dest->GetY()), &e))
        return false;
    Show(e, nullptr);
    return true;
}

void cUnit::Shoot(cCell* dest) {
    cUnit* u = dest ? dest->GetUnit() : nullptr;
    battle::Effect e;
    if (u && battle::Apply(*battle, id, battle::Action::AttackUnit(u->id), &e)) Show(e, u);
}

void cUnit::Stay() { battle::Apply(*battle, id, battle::Action::StayPut()); }

void cUnit::Show(const battle::Effect& e, cUnit* target) {
    switch (e.action.kind) {
    case battle::Action::Stay:
        break;
    case battle::Action::Move:
        // The unit stands on its new cells at once; only the drawing glides.
        state = state_move;
        time = move_time;
        start_point = parent;
        LeaveBoard();
        SetParent(BoardCell(Data().x, Data().y));
        ActionStarted();
        Sound(snd_move);
        break;
    case battle::Action::Attack:
        if (!target) break;
        if (e.fired) {
            auto* p = new cProjectile(ammotype, CentrePoint(), target->CentrePoint(), target);
            if (battle->pending) p->dmg = battle->pending->damage;
            if (host)
                host->ShotFired(p);
            else
                delete p;  // no battle to fly it in
        } else {
            target->ShowHit(e.lost, e.killed);
            if (attanim) {
                attanim->SetFrame(0);
                attanim->Play();
            }
            state = state_attack;
            ActionStarted();
        }
        Sound(snd_attack);
        break;
    }
}

void cUnit::RenderHealth() const {
    if (state != state_idle) return;
    tcellpos c = CentrePoint();
    if (tideFont* fnt = host ? host->Font() : nullptr)
        fnt->printf(static_cast<float>(c.first), static_cast<float>(c.second), TEXT_CENTER, "%i", GetHealth());
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
            ActionEnded();
        }
        break;
    case state_attack:
        if (attanim) attanim->Update(dt);
        if (!attanim || !attanim->IsPlaying()) {
            state = state_idle;
            ActionEnded();
        }
        break;
    default:
        break;
    }
}

void cUnit::DrawnPoint(float* x, float* y) const {
    if (Gliding()) {
        float f = (move_time - time) / move_time;
        float sx = static_cast<float>(start_point->GetScrX());
        float sy = static_cast<float>(start_point->GetScrY());
        float half = cellsize != 1 ? 32.0f : 0.0f;
        *x = sx + (static_cast<float>(parent->GetScrX()) - sx) * f + half;
        *y = sy + (static_cast<float>(parent->GetScrY()) - sy) * f + half;
        return;
    }
    tcellpos c = CentrePoint();
    *x = static_cast<float>(c.first);
    *y = static_cast<float>(c.second);
}

void cUnit::render() {
    float mx = 0, my = 0;
    DrawnPoint(&mx, &my);

    switch (state) {
    case state_idle:
        if (idle) idle->Render(mx, my);
        break;
    case state_move:
        if (start_point && parent && move) move->Render(mx, my);
        break;
    case state_attack:
        if (attanim) attanim->Render(mx, my);
        break;
    default:
        break;
    }
}

void cUnit::RenderMarker() const {
    tideSprite* marker = actionpoint != 0 ? turn_on : turn_off;
    if (marker) {
        tcellpos m = MarkerPoint();
        marker->Render(static_cast<float>(m.first), static_cast<float>(m.second));
    }
}
