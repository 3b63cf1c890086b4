// A headless game on a small generated data set, ready for battles: every
// resource the battle looks up (each sprite and animation on a texture of its
// own, so quads can be told apart), a configuration file and level files
// written on demand. Used by the battle tests and the game benchmark.
#pragma once

#include <string>
#include <vector>

#include "engine/tide_headless.h"
#include "game/game.h"
#include "tests/support/test_support.h"
#include "units/unit.h"

class BattleWorld {
public:
    static constexpr float kFrame = 0.1f;
    // Levels of the generated data set's campaign: "res\lvl1.txt" and on.
    static constexpr int kLevels = 8;

    // `config` is the configuration file's text; null writes no file at all.
    explicit BattleWorld(const char* config = kConfig);
    // A game on an existing data folder (such as a copy of the shipped data
    // set) instead of the generated one.
    explicit BattleWorld(const std::string& dataDir);
    ~BattleWorld();

    BattleWorld(const BattleWorld&) = delete;
    BattleWorld& operator=(const BattleWorld&) = delete;

    // Aqua reaches 4 cells and kills a Medu in one shot; the melee kinds
    // reach their diagonal neighbours.
    static const char* const kConfig;

    struct Unit {
        std::string name;
        int x, y;
    };
    void WriteLevel(int n, const std::vector<Unit>& units);
    // Loads level n and switches to the battle, as the level choice does.
    void Start(int n);
    void Start(const std::vector<Unit>& units) {
        WriteLevel(1, units);
        Start(1);
    }

    bool Frame(float dt = kFrame) { return hl->Frame(dt); }
    // Ends the game as a player's exit does and starts a fresh one on the
    // same engine, data and user folders.
    void Restart();
    // Runs frames until the controls are unlocked (at most `limit` frames).
    void Settle(int limit = 1000);
    // Left click on a screen point: pressed for one frame, released the next.
    void Click(float x, float y);
    void ClickCell(int cx, int cy);
    void Press(int vk);
    // Draws one battle frame without updating it.
    void Draw();

    cCell* Cell(int cx, int cy) { return game->GetCell(tcellpos(cx, cy)); }
    cUnit* UnitAt(int cx, int cy);
    // A unit placed by hand and added to the battle, last in the turn
    // order, without a level.
    template <class T>
    T* Place(int cx, int cy) {
        T* u = new T(game);
        u->SetParent(Cell(cx, cy));
        game->AddUnit(u);
        return u;
    }
    // Makes `u` the acting unit, as the turn machine would.
    void MakeActing(cUnit* u);
    // Replaces this turn's order; its first unit acts.
    void SetOrder(const std::vector<cUnit*>& order) { game->SetOrder(order); }
    // Swaps two units in this turn's order; nothing else changes.
    void SwapInOrder(std::size_t a, std::size_t b) {
        std::swap(cGame::battle.units[a], cGame::battle.units[b]);
        game->SyncViews();
    }
    // Takes `u` out of the battle, as if it had never been there.
    void Remove(cUnit* u) {
        cGame::battle.units.erase(cGame::battle.units.begin() + IndexOf(u));
        game->SyncViews();
    }
    // Index of `u` in the turn order, -1 when it is gone.
    int IndexOf(const cUnit* u) const;
    HTEXTURE Texture(const char* name) const;
    // Quads of the last frame drawn with the texture of `name`.
    std::vector<tideQuad> QuadsOf(const char* name) const;

    HeadlessEngine eng;
    tideHeadless* hl;
    cGame* game = nullptr;

private:
    void StartGame();
};
