#include "tests/game/battle_world.h"

#include <algorithm>
#include <sstream>

#include "res/resource_manager.h"
#include "tests/game/shown_quads.h"
#include "units/unit.h"

namespace {

// The program's frame callbacks, on whichever game is current.
bool GameFrame() { return cGame::Instance()->update(); }
bool GameRender() {
    cGame::Instance()->render();
    return false;
}

const char* const kSprites[] = {
    "map", "white", "cellglow_rose", "cellglow_rose_2x", "cursor", "cursor_attack", "sel1",
    "sel2", "arrow", "torpedo", "spike", "aqua_on", "aqua_off", "torp_on", "torp_off",
    "bati_on", "bati_off", "paul_on", "paul_off", "shark_on", "shark_off", "medu_on",
    "medu_off", "move_tint", "range_mark", "cursor_far", "damage_tag", "damage_tag_kill",
    "bar_now", "bar_hover", "bar_done", "info_panel", "undo", "undoover", "pass", "passover",
    "menu", "menuover", "threat_hatch"};
const char* const kAnimations[] = {"aqua_idle", "aqua_move", "torp_idle", "torp_move",
                                   "bati_idle", "paul_idle", "paul_move", "akul_idle",
                                   "akul_move", "medu_idle", "medu_move"};
// Strikes play once: 4 frames at 8 per second.
const char* const kStrikes[] = {"torp_attack", "paul_attack", "akul_attack"};
const char* const kSounds[] = {"aquasnd_move", "batisnd_move", "mobssnd_move", "aqua_attack",
                               "torpman_attack", "bati_attack", "paul_attack", "shark_attack",
                               "medu_attack"};

}  // namespace

// The tests written for the first AI play against it: Easy.
const char* const BattleWorld::kConfig =
    "[options]\nmusic=40\ndifficulty=easy\n"
    "[aqua]\nhealth=6\ndmg=3\narmor=0\nrange=4\n"
    "[torp]\nhealth=10\ndmg=4\narmor=1\nrange=1.5\n"
    "[bati]\nhealth=12\ndmg=5\narmor=1\nrange=6\n"
    "[medu]\nhealth=3\ndmg=2\narmor=0\nrange=3\n"
    "[shark]\nhealth=10\ndmg=4\narmor=1\nrange=1.5\n"
    "[paul]\nhealth=14\ndmg=3\narmor=2\nrange=1.5\n";

BattleWorld::BattleWorld(const char* config) : hl(eng.hl) {
    std::ostringstream s;
    auto texture = [&](const char* name, int w, int h) {
        eng.WriteSolidPng(std::string(name) + ".png", w, h, 0xFFFFFFFF);
        s << "Texture " << name << " { filename = \"" << name << ".png\" }\n";
    };
    for (const char* name : kSprites) {
        texture(name, 32, 32);
        s << "Sprite " << name << " { texture = " << name << " rect = 0, 0, 32, 32 }\n";
    }
    for (const char* name : kAnimations) {
        texture(name, 64, 32);
        s << "Animation " << name << " { texture = " << name
          << " rect = 0, 0, 32, 32 frames = 2 fps = 4 hotspot = 16, 16 }\n";
    }
    for (const char* name : kStrikes) {
        texture(name, 128, 32);
        s << "Animation " << name << " { texture = " << name
          << " rect = 0, 0, 32, 32 frames = 4 fps = 8 mode = FORWARD, NOLOOP }\n";
    }
    for (const char* name : kSounds) {
        eng.WriteWav(std::string(name) + ".wav");
        s << "Sound " << name << " { filename = \"" << name << ".wav\" }\n";
    }
    // Digits only: enough for the health labels.
    eng.WriteSolidPng("font2.png", 80, 10, 0xFFFFFFFF);
    std::ostringstream fnt;
    fnt << "[TIDEFONT]\nBitmap=font2.png\n";
    for (int d = 0; d < 10; ++d) fnt << "Char=\"" << d << "\"," << d * 8 << ",0,8,10,0,0\n";
    fnt << "Char=\"-\",0,0,8,10,0,0\n";
    eng.WriteFile("font2.fnt", fnt.str());
    s << "Font font2 { filename = \"font2.fnt\" }\n";
    eng.WriteFile("Res/allres.txt", s.str());
    eng.WriteFile("res/campaign.txt", CampaignText(kLevels));
    eng.WriteFile("res/kinds.txt", ShippedDataText("kinds.txt"));
    if (config) eng.WriteFile("Res/config.txt", config);
    StartGame();
}

BattleWorld::BattleWorld(const std::string& dataDir) : eng(dataDir), hl(eng.hl) { StartGame(); }

void BattleWorld::StartGame() {
    game = new cGame();
    // Units placed by hand join a battle of the configured difficulty.
    cGame::battle.difficulty = game->difficulty;
    eng.tide->System_SetState(TIDE_FRAMEFUNC, GameFrame);
    eng.tide->System_SetState(TIDE_RENDERFUNC, GameRender);
}

BattleWorld::~BattleWorld() {
    eng.tide->System_SetState(TIDE_FRAMEFUNC, (tideCallback) nullptr);
    eng.tide->System_SetState(TIDE_RENDERFUNC, (tideCallback) nullptr);
    delete game;
}

void BattleWorld::Restart() {
    delete game;
    game = new cGame();
}

void BattleWorld::WriteLevel(int n, const std::vector<Unit>& units) {
    std::ostringstream s;
    for (std::size_t i = 0; i < units.size(); ++i) {
        s << "[unit" << i + 1 << "]\nname=" << units[i].name << "\n";
        if (units[i].x >= 0) s << "x=" << units[i].x << "\n";
        if (units[i].y >= 0) s << "y=" << units[i].y << "\n";
    }
    eng.WriteFile("res/lvl" + std::to_string(n) + ".txt", s.str());
}

void BattleWorld::Start(int n) {
    game->LoadLevel(n);
    game->gamestate = GS_GAME;
}

void BattleWorld::Settle(int limit) {
    for (int i = 0; i < limit && cGame::IsControlLocked(); ++i) Frame();
}

void BattleWorld::Click(float x, float y) {
    hl->SetMouse(x, y);
    hl->Key(TIDEK_LBUTTON, true);
    Frame();
    hl->Key(TIDEK_LBUTTON, false);
    Frame();
}

void BattleWorld::ClickCell(int cx, int cy) {
    Click(static_cast<float>(cx * 64 + 32), static_cast<float>(cy * 64 + 32));
}

void BattleWorld::Press(int vk) {
    hl->Key(vk, true);
    Frame();
    hl->Key(vk, false);
    Frame();
}

void BattleWorld::Draw() {
    eng.tide->Gfx_BeginScene(0);
    game->render_game();
    eng.tide->Gfx_EndScene();
}

cUnit* BattleWorld::UnitAt(int cx, int cy) {
    cCell* c = game->GetCell(tcellpos(cx, cy));
    return c ? c->GetUnit() : nullptr;
}

void BattleWorld::MakeActing(cUnit* u) {
    game->step = static_cast<unsigned>(IndexOf(u));
    game->SelectUnit(IndexOf(u));
}

int BattleWorld::IndexOf(const cUnit* u) const {
    auto it = std::find(game->units.begin(), game->units.end(), u);
    return it == game->units.end() ? -1 : static_cast<int>(it - game->units.begin());
}

HTEXTURE BattleWorld::Texture(const char* name) const {
    return cGame::resman->GetTexture(name, 0);
}

std::vector<tideQuad> BattleWorld::QuadsOf(const char* name) const {
    return ShownQuadsWith(game, *hl, Texture(name));
}
