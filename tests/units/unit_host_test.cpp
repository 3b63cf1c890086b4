// Units shown in a stand-in for the game: everything a unit needs of its
// battle and everything it reports goes through cUnitHost.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/test_support.h"
#include "units/kinds.h"
#include "units/projectile.h"
#include "units/unit.h"

namespace {

// A board of its own, no pictures, numbered sounds, and a log of what the
// units told it.
class FakeHost final : public cUnitHost {
public:
    FakeHost() {
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                cells.emplace_back(x, y);
                cells.back().SetScr(tcellpos(x * 64 + 32, y * 64 + 32));
            }
    }
    ~FakeHost() { delete shot; }

    cCell* Cell(int x, int y) override {
        return x < 0 || y < 0 || x >= 16 || y >= 12 ? nullptr : &cells[static_cast<std::size_t>(y * 16 + x)];
    }
    tideAnimation* Animation(const char*) override { return nullptr; }
    tideSprite* Sprite(const char*) override { return nullptr; }
    HEFFECT Effect(const char* name) override {
        sounds.push_back(name);
        return static_cast<HEFFECT>(sounds.size());
    }
    tideFont* Font() override { return nullptr; }
    void ActionStarted() override {
        ++held;
        log.push_back("start");
    }
    void ActionEnded() override {
        --held;
        log.push_back("end");
    }
    void ShotFired(cProjectile* p) override {
        shot = p;
        log.push_back("shot");
    }
    void UnitHit(const cUnit& u, int lost, bool killed) override {
        log.push_back(u.Data().kind + " lost " + std::to_string(lost) + (killed ? " killed" : ""));
    }
    void UnitSound(HEFFECT snd) override { log.push_back("sound " + sounds[snd - 1]); }

    std::vector<std::string> Take() { return std::exchange(log, {}); }

    std::vector<cCell> cells;
    std::vector<std::string> sounds;  // names asked for, in order: handle i + 1 is sounds[i]
    std::vector<std::string> log;
    int held = 0;
    cProjectile* shot = nullptr;
};

cUnitKind Kind(const char* name, bool player, int size, bool melee, int health, int dmg) {
    cUnitKind k;
    k.name = name;
    k.plcontrolled = player;
    k.cellsize = size;
    k.melee = melee;
    k.snd_move = std::string(name) + "_move";
    k.snd_attack = std::string(name) + "_attack";
    k.param = {health, dmg, 0, 5};
    return k;
}

class UnitHostTest : public ::testing::Test {
protected:
    // A unit of `kind` joins the battle at (x, y), as the game adds one.
    cUnit* Join(const cUnitKind& kind, int x, int y) {
        units.emplace_back(MakeUnit(kind, &host));
        cUnit* u = units.back().get();
        BattleUnit rec = u->Data();
        rec.id = battle.nextid++;
        battle.units.push_back(rec);
        u->Bind(&battle, rec.id);
        u->SetParent(host.Cell(x, y));
        return u;
    }

    HeadlessEngine eng;
    FakeHost host;
    BattleState battle;
    cUnitKind crab = Kind("Crab", false, 2, true, 9, 4);
    cUnitKind eel = Kind("Eel", true, 1, false, 6, 2);
    std::vector<std::unique_ptr<cUnit>> units;
};

}  // namespace

TEST_F(UnitHostTest, ActionsHoldPlayAndReportThroughTheHost) {
    cUnit* c = Join(crab, 4, 4);
    cUnit* e = Join(eel, 7, 4);
    EXPECT_EQ(host.sounds, (std::vector<std::string>{"Crab_move", "Crab_attack", "Eel_move", "Eel_attack"}));
    for (tcellpos p : {tcellpos(4, 4), tcellpos(5, 4), tcellpos(4, 5), tcellpos(5, 5)})
        EXPECT_EQ(host.Cell(p.first, p.second)->GetUnit(), c);

    // A glide holds play until its time is up.
    ASSERT_TRUE(c->Move(host.Cell(5, 4)));
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"start", "sound Crab_move"}));
    EXPECT_EQ(host.Cell(6, 5)->GetUnit(), c);
    EXPECT_TRUE(host.Cell(4, 4)->NoUnit());
    c->update(move_time - 0.5f);
    EXPECT_EQ(host.held, 1);
    c->update(0.5f);
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"end"}));

    // A strike reports the hit at once; with no strike to show it ends on the
    // next frame.
    c->NextTurn();
    c->Shoot(host.Cell(7, 4));
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"Eel lost 4", "start", "sound Crab_attack"}));
    c->update(0.01f);
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"end"}));

    // A shot is the host's to fly; it holds play until it is gone.
    e->Shoot(host.Cell(6, 5));
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"start", "shot", "sound Eel_attack"}));
    ASSERT_NE(host.shot, nullptr);
    host.shot->update(10);
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"Crab lost 2"}));
    delete std::exchange(host.shot, nullptr);
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"end"}));

    c->NextTurn();
    c->Shoot(host.Cell(7, 4));
    EXPECT_EQ(host.Take().front(), "Eel lost 4 killed");
    c->update(0.01f);

    // A unit dropped mid-glide gives back what its action held.
    c->NextTurn();
    ASSERT_TRUE(c->Move(host.Cell(4, 4)));
    units.erase(units.begin());
    EXPECT_EQ(host.held, 0);
}

TEST_F(UnitHostTest, AUnitWithoutAHostPlaysByTheRulesAlone) {
    std::unique_ptr<cUnit> u(MakeUnit(eel, nullptr));
    cCell anchor(3, 3);
    u->SetParent(&anchor);
    EXPECT_EQ(anchor.GetUnit(), u.get());
    u->Stay();
    EXPECT_EQ(u->actionpoint, 0);
    u->GetDamage(5);
    EXPECT_EQ(u->GetHealth(), 1);
    u->update(1);
    u->render();
    u->RenderHealth();
}
