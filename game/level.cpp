// Level files: "res\lvl<n>.txt", one INI section per unit, read until the
// first section without a kind name.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/ini.h"
#include "game/ai_choose.h"
#include "game/game.h"
#include "game/progress.h"
#include "units/kinds.h"
#include "units/projectile.h"

namespace {

const int kMaxUnits = 49;

bool StartsWith(const std::string& s, const char* word) {
    return s.compare(0, std::strlen(word), word) == 0;
}

// Why `u` cannot stand where its record puts it, or null when it can.
const char* PlacementFault(const BattleState& s, const BattleUnit& u) {
    for (int dy = 0; dy < u.size; ++dy)
        for (int dx = 0; dx < u.size; ++dx) {
            int x = u.x + dx, y = u.y + dy;
            if (x < 0 || y < 0 || x >= 16 || y >= 12) return "is off the board";
            if (battle::UnitAt(s, x, y)) return "overlaps another unit";
        }
    return nullptr;
}

}  // namespace

void cGame::ClearBattle() {
    selunit = nullptr;
    selcell = nullptr;
    for (cUnit* u : units) delete u;
    units.clear();
    delete proj;
    SetProjectile(nullptr);
    for (cCell& c : cells) c.RemUnit();
    battle = BattleState();
    battleLive = false;
    undo.clear();
    undoWanted = false;
    notice.clear();
    banner = BANNER_NONE;
    fx.Clear();
}

int cGame::LevelNumber(const std::string& file) const {
    auto lower = [](std::string t) {
        for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return t;
    };
    for (int n = 1; n <= campaign.Count(); ++n)
        if (lower(file) == lower(campaign.Level(n)->file)) return n;
    return 0;
}

void cGame::LoadLevel(int n) {
    const cLevelInfo* level = campaign.Level(n);
    LoadLevelFile(level ? level->file : "");
    if (!level) return;
    curlvl = n;
    // A battle of the campaign is kept for Continue from its first turn on.
    battleSaved = true;
    SaveBattle();
}

void cGame::LoadLevelFile(const std::string& fileName, uint32_t seed) {
    BattleState s;
    s.level = fileName;
    // The battle's dice are seeded once, here, and roll on in the state.
    if (seed == 0) seed = static_cast<uint32_t>(std::llround(static_cast<double>(tide->Timer_GetTime()) * 1000.0));
    SeedBattle(s, seed);

    const char* file = fileName.c_str();
    // Read once, through its own handle: the settings' file stays as it was.
    tideIniFile level;
    tide->Ini_Load(file, level);

    for (int i = 1; i <= kMaxUnits; ++i) {
        tideIniSection section = level.Section("unit" + std::to_string(i));
        std::string name = section.GetString("name", "empty");
        if (StartsWith(name, "empty")) break;
        const cUnitKind* kind = FindKind(name);
        if (!kind) {
            tide->System_Log("unknown unit: %s", name.c_str());
            continue;
        }
        if (!kind->Usable()) continue;  // the kinds file's fault, logged once when it was read
        BattleUnit u = KindRecord(*kind);
        u.x = section.GetInt("x", 1);
        u.y = section.GetInt("y", 1);
        if (const char* fault = PlacementFault(s, u)) {
            tide->System_Log("unit %s at %i %i %s, skipped", name.c_str(), u.x, u.y, fault);
            continue;
        }
        u.id = s.nextid++;
        s.units.push_back(u);
    }
    // A level without both sides ends on its first frame and unlocks nothing;
    // a missing or broken file is the likely cause.
    bool player = false, computer = false;
    for (const BattleUnit& u : s.units) (u.player ? player : computer) = true;
    if (!player || !computer) {
        const char* missing = s.units.empty() ? "no units" : player ? "no computer unit" : "no player unit";
        tide->System_Log("%s: %s", file, missing);
    }

    // A change on the options screen waits for the next battle.
    battle::ApplyDifficulty(s, difficulty);
    battle::NextTurn(s);
    StartBattle(s, false);
    curlvl = 0;
}
