// What the board shows the acting player unit: the tinted cells are exactly
// where Move goes, and the damage preview is exactly what the attack deals.
#include <gtest/gtest.h>

#include <set>

#include "game/board_info.h"
#include "tests/game/battle_world.h"

namespace {

using CellSet = std::set<std::pair<int, int>>;

// The cells tinted in a frame drawn without updating the battle.
CellSet TintedCells(BattleWorld& w) {
    w.Draw();
    CellSet out;
    // The test sprites have their hot spot at the top-left corner.
    for (const tideQuad& q : w.QuadsOf("move_tint"))
        out.insert({static_cast<int>(q.v[0].x) / 64, static_cast<int>(q.v[0].y) / 64});
    return out;
}

struct Scene {
    const char* what;
    std::vector<BattleWorld::Unit> units;  // the first one acts
};

}  // namespace

TEST(BoardInfo, TintedCellsAreWhereMoveGoes) {
    const Scene scenes[] = {
        {"diver in the top-left corner beside a jellyfish and a torpedo-man",
         {{"Aqua", 1, 1}, {"Medu", 2, 2}, {"Torp", 1, 2}}},
        {"diver at the right wall with a shark's block beside it",
         {{"Aqua", 14, 5}, {"Shark", 12, 4}, {"Medu", 14, 6}}},
        {"submarine in the bottom-right corner of the board",
         {{"Bati", 13, 8}, {"Medu", 12, 7}}},
        {"submarine hemmed in by a diver, a jellyfish and an octopus",
         {{"Bati", 5, 5}, {"Aqua", 4, 4}, {"Medu", 7, 6}, {"Paul", 5, 7}}},
    };
    for (const Scene& s : scenes) {
        SCOPED_TRACE(s.what);
        BattleWorld w;
        w.WriteLevel(1, s.units);
        auto restart = [&] {
            w.Start(1);
            cUnit* u = w.UnitAt(s.units[0].x, s.units[0].y);
            w.MakeActing(u);
            return u;
        };
        cUnit* u = restart();
        CellSet own;
        for (int i = 0; i < u->GetSize() * u->GetSize(); ++i)
            own.insert({s.units[0].x + i % 2, s.units[0].y + i / 2});
        CellSet tinted = TintedCells(w);

        // Every cell of the board tried with a real Move on a fresh battle.
        CellSet anchors, reached;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                u = restart();
                if (!u->Move(w.Cell(x, y))) continue;
                anchors.insert({x, y});
                for (int i = 0; i < u->GetSize() * u->GetSize(); ++i)
                    if (!own.count({x + i % 2, y + i / 2})) reached.insert({x + i % 2, y + i / 2});
            }
        u = restart();
        CellSet targets;
        for (cCell* c : boardinfo::MoveTargets(*w.game, u)) targets.insert({c->GetX(), c->GetY()});
        EXPECT_EQ(targets, anchors);
        EXPECT_EQ(tinted, reached);
        EXPECT_FALSE(reached.empty());
        if (u->GetSize() == 1) {
            EXPECT_EQ(tinted, anchors);
        }
    }
}

TEST(BoardInfo, NoTintWhileTheComputerActsOrAnActionPlays) {
    BattleWorld w;
    w.Start({{"Aqua", 3, 3}, {"Medu", 9, 3}});
    w.MakeActing(w.UnitAt(9, 3));
    EXPECT_TRUE(TintedCells(w).empty());
    w.MakeActing(w.UnitAt(3, 3));
    cGame::LockControl();
    EXPECT_TRUE(TintedCells(w).empty());
    cGame::UnlockControl();
    EXPECT_EQ(TintedCells(w).size(), 8u);
}

TEST(BoardInfo, DamagePreviewIsTheDamageDealt) {
    struct Case {
        const char* what;
        std::vector<BattleWorld::Unit> units;  // attacker, target
        int armor;                             // the target's, -1 as configured
    };
    const Case cases[] = {
        {"harpoon on a jellyfish, a kill", {{"Aqua", 3, 3}, {"Medu", 6, 3}}, -1},
        {"harpoon on an octopus's armor", {{"Aqua", 3, 3}, {"Paul", 5, 3}}, -1},
        {"harpoon on armor it cannot pierce", {{"Aqua", 3, 3}, {"Paul", 5, 3}}, 3},
        {"torpedo-man's punch on a shark", {{"Torp", 3, 3}, {"Shark", 4, 4}}, -1},
        {"submarine's torpedo on a shark", {{"Bati", 3, 3}, {"Shark", 8, 3}}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BattleWorld w;
        w.Start(c.units);
        cUnit* a = w.UnitAt(c.units[0].x, c.units[0].y);
        cUnit* t = w.UnitAt(c.units[1].x, c.units[1].y);
        if (c.armor >= 0) t->armor = c.armor;
        w.MakeActing(a);
        float px = static_cast<float>(t->CentrePoint().first);
        float py = static_cast<float>(t->CentrePoint().second);
        w.hl->SetMouse(px, py);
        w.Frame();
        w.Draw();
        int preview = boardinfo::AttackDamage(a, t);
        bool kills = preview >= t->GetHealth();
        EXPECT_EQ(w.QuadsOf("damage_tag").size(), kills ? 0u : 1u);
        EXPECT_EQ(w.QuadsOf("damage_tag_kill").size(), kills ? 1u : 0u);
        EXPECT_TRUE(w.game->show_aim);

        int before = t->GetHealth();
        w.Click(px, py);
        for (int i = 0; i < 200 && cGame::IsControlLocked(); ++i) w.Frame();
        // A melee kill is removed on the next frame; a projectile's target
        // may still stand, dead, when the lock is given back.
        if (w.IndexOf(t) < 0) {
            EXPECT_TRUE(kills);
        } else {
            EXPECT_EQ(before - t->GetHealth(), preview);
            EXPECT_EQ(t->IsDead(), kills);
        }
    }
}
