// cGame's statics shared by the battle, the units and the GUI's menu button,
// and the control lock. Kept free of other dependencies so that code linking
// against the statics alone does not pull in the whole game.
#include "game/game.h"

cGame* cGame::instance = nullptr;
tideResourceManager* cGame::resman = nullptr;
tideFont* cGame::fnt1 = nullptr;
st_global cGame::global = {};
cProjectile* cGame::proj = nullptr;
int cGame::locklvl = 0;
BattleState cGame::battle;
int& cGame::turn = cGame::battle.turn;
unsigned int& cGame::step = cGame::battle.step;

tideSprite* grid_sel1 = nullptr;
tideSprite* grid_sel2 = nullptr;

void cGame::LockControl() { ++locklvl; }

void cGame::UnlockControl() {
    if (locklvl > 0) --locklvl;
}

bool cGame::IsControlLocked() { return locklvl > 0; }

void cGame::SetProjectile(cProjectile* p) { proj = p; }
