// Units: moves, damage, strikes, drawing, the kinds; and projectiles.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "gfx/animation.h"
#include "res/resource_manager.h"
#include "tests/game/battle_world.h"
#include "units/kinds.h"
#include "units/projectile.h"

namespace {

class UnitTest : public ::testing::Test {
protected:
    cCell* Cell(int x, int y) { return w.Cell(x, y); }
    template <class T>
    T* Place(int x, int y) {
        return w.Place<T>(x, y);
    }
    // Moving must refuse and leave the unit, the board and the lock as they were.
    void ExpectRefused(cUnit* u, int x, int y) {
        cCell* before = u->GetParent();
        EXPECT_FALSE(u->Move(Cell(x, y))) << x << "," << y;
        EXPECT_EQ(u->GetParent(), before);
        EXPECT_EQ(before->GetUnit(), u);
        EXPECT_EQ(u->actionpoint, 1);
        EXPECT_EQ(u->state, state_idle);
        EXPECT_FALSE(cGame::IsControlLocked());
    }

    BattleWorld w;
};

}  // namespace

TEST_F(UnitTest, MoveRefusals) {
    cAqua* a = Place<cAqua>(1, 1);
    ExpectRefused(a, 0, 1);
    ExpectRefused(a, 1, 0);
    EXPECT_FALSE(a->Move(nullptr));
    ExpectRefused(a, 1, 1);  // its own anchor
    ExpectRefused(a, 3, 1);  // two cells away
    Place<cMedu>(2, 2);
    ExpectRefused(a, 2, 2);  // occupied

    cTorp* t = Place<cTorp>(14, 9);
    ExpectRefused(t, 15, 9);
    ExpectRefused(t, 14, 10);

    cShark* s = Place<cShark>(13, 5);
    ExpectRefused(s, 14, 5);  // 14 + 2 > 15
    cPaul* p = Place<cPaul>(5, 8);
    ExpectRefused(p, 5, 9);   // 9 + 2 > 10
    cPaul* q = Place<cPaul>(8, 2);
    Place<cMedu>(10, 3);
    ExpectRefused(q, 9, 2);   // the new right column holds the Medu
    ExpectRefused(q, 9, 3);
}

TEST_F(UnitTest, BlockStepsOntoItsOwnFootprint) {
    cShark* s = Place<cShark>(4, 4);
    Place<cMedu>(7, 5);
    ExpectRefused(s, 6, 4);   // two columns away
    ASSERT_TRUE(s->Move(Cell(5, 4)));
    EXPECT_EQ(s->GetParent(), Cell(5, 4));
    EXPECT_TRUE(Cell(4, 4)->NoUnit());
    EXPECT_TRUE(Cell(4, 5)->NoUnit());
    for (tcellpos c : {tcellpos(5, 4), tcellpos(6, 4), tcellpos(5, 5), tcellpos(6, 5)})
        EXPECT_EQ(Cell(c.first, c.second)->GetUnit(), s);
    EXPECT_EQ(s->actionpoint, 0);
    EXPECT_EQ(cGame::locklvl, 1);
    s->update(1.5f);
    s->NextTurn();
    // A third unit in either new cell refuses the step.
    s->update(1.5f);
    EXPECT_FALSE(cGame::IsControlLocked());
    ExpectRefused(s, 6, 4);  // (7, 5) is taken
}

TEST_F(UnitTest, DiagonalStepGlidesAndPlaysItsSound) {
    cAqua* a = Place<cAqua>(2, 2);
    w.hl->ClearSounds();
    ASSERT_TRUE(a->Move(Cell(3, 3)));
    ASSERT_EQ(w.hl->Sounds().size(), 1u);
    EXPECT_NE(w.hl->Sounds()[0].name.find("aquasnd_move"), std::string::npos);
    EXPECT_EQ(a->start_point, Cell(2, 2));
    a->update(1.5f);
    w.Draw();
    std::vector<tideQuad> q = w.QuadsOf("aqua_move");
    ASSERT_EQ(q.size(), 1u);
    EXPECT_FLOAT_EQ(q[0].v[0].x + 16, 192);  // halfway from 160 to 224
    EXPECT_FLOAT_EQ(q[0].v[0].y + 16, 192);
    EXPECT_TRUE(w.QuadsOf("font2").empty());
    a->update(1.5f);
    EXPECT_EQ(a->state, state_idle);
    EXPECT_FALSE(cGame::IsControlLocked());
}

TEST_F(UnitTest, DamageThroughArmor) {
    cTorp* t = Place<cTorp>(2, 2);
    t->armor = 5;
    t->health = 10;
    t->GetDamage(5);
    EXPECT_EQ(t->GetHealth(), 10);
    t->GetDamage(7);
    EXPECT_EQ(t->GetHealth(), 8);
    t->armor = 0;
    t->health = 1;
    t->GetDamage(10);
    EXPECT_EQ(t->GetHealth(), -9);
    EXPECT_TRUE(t->IsDead());
}

TEST_F(UnitTest, MeleeStrikeHitsAtOnceAndHoldsTheLock) {
    cTorp* t = Place<cTorp>(2, 2);
    cPaul* p = Place<cPaul>(3, 3);
    t->Shoot(Cell(4, 4));  // any cell of the target will do
    EXPECT_EQ(p->GetHealth(), 14 - (4 - 2));
    EXPECT_EQ(t->state, state_attack);
    EXPECT_EQ(t->actionpoint, 0);
    EXPECT_EQ(cGame::proj, nullptr);
    int frames = 0;
    while (cGame::IsControlLocked() && frames < 100) {
        t->update(0.1f);
        ++frames;
    }
    // The clock starts on the first update, then 4 frames at 8 per second.
    EXPECT_EQ(frames, 6);
    EXPECT_EQ(t->state, state_idle);
}

TEST_F(UnitTest, MarkersAndHealthLabels) {
    for (int i = 0; i < 4; ++i) Place<cAqua>(2 + i, 2);
    w.game->NextTurn();
    w.game->units[1]->Stay();
    w.Draw();
    std::vector<float> xs;
    for (const tideQuad& q : w.QuadsOf("aqua_on")) {
        xs.push_back(q.v[0].x);
        EXPECT_FLOAT_EQ(q.v[0].y, 700);
    }
    EXPECT_EQ(xs, (std::vector<float>{387, 487, 537}));
    ASSERT_EQ(w.QuadsOf("aqua_off").size(), 1u);
    EXPECT_FLOAT_EQ(w.QuadsOf("aqua_off")[0].v[0].x, 437);
    EXPECT_EQ(w.QuadsOf("sel1").size(), 1u);  // only the acting unit

    w.Remove(w.game->units.back());
    w.game->NextTurn();
    w.Draw();
    xs.clear();
    for (const tideQuad& q : w.QuadsOf("aqua_on")) xs.push_back(q.v[0].x);
    EXPECT_EQ(xs, (std::vector<float>{412, 462, 512}));
}

TEST_F(UnitTest, KindsTraitsAndOwnAnimations) {
    cBati* b = Place<cBati>(2, 2);
    EXPECT_TRUE(b->IsPlayerControlled());
    EXPECT_EQ(b->GetSize(), 2);
    EXPECT_EQ(b->ammotype, 1);
    EXPECT_FALSE(b->melee);
    EXPECT_EQ(b->attanim, nullptr);
    ASSERT_NE(b->idle, b->move);
    EXPECT_EQ(b->idle->GetTexture(), b->move->GetTexture());

    cShark* s = Place<cShark>(6, 6);
    EXPECT_FALSE(s->IsPlayerControlled());
    EXPECT_EQ(s->GetSize(), 2);
    EXPECT_TRUE(s->melee);
    EXPECT_TRUE(s->idle->IsPlaying());
    EXPECT_TRUE(s->move->IsPlaying());
    EXPECT_FALSE(s->attanim->IsPlaying());
    EXPECT_EQ(s->GetHealth(), 10);

    EXPECT_TRUE(Place<cMedu>(10, 2)->IsMedu());
    for (cUnit* u : {static_cast<cUnit*>(b), static_cast<cUnit*>(s),
                     static_cast<cUnit*>(Place<cAqua>(1, 1)), static_cast<cUnit*>(Place<cTorp>(1, 9)),
                     static_cast<cUnit*>(Place<cPaul>(10, 6))})
        EXPECT_FALSE(u->IsMedu());

    cShark* s2 = Place<cShark>(10, 8);
    s->idle->SetFrame(1);
    EXPECT_EQ(s2->idle->GetFrame(), 0);
    EXPECT_EQ(cGame::resman->GetAnimation("akul_idle")->GetFrame(), 0);
    EXPECT_FALSE(cGame::resman->GetAnimation("akul_idle")->IsPlaying());
}

TEST_F(UnitTest, ProjectileFlight) {
    cAqua* a = Place<cAqua>(2, 2);
    w.hl->ClearLog();
    {
        cProjectile p(0, tcellpos(96, 96), tcellpos(416, 96), a);
        EXPECT_FLOAT_EQ(p.ftime, 0.64f);
        EXPECT_FLOAT_EQ(p.angle, 0);
        EXPECT_EQ(p.dmg, 3);
        EXPECT_TRUE(cGame::IsControlLocked());
        ASSERT_GE(w.hl->Log().size(), 2u);
        EXPECT_NE(w.hl->Log()[0].find("Shoot dest: 416 96"), std::string::npos);
        EXPECT_NE(w.hl->Log()[1].find("Shoot source: 96 96"), std::string::npos);
    }
    EXPECT_FALSE(cGame::IsControlLocked());
    EXPECT_FLOAT_EQ(cProjectile(1, {0, 0}, {0, 50}, a).angle, static_cast<float>(std::numbers::pi / 2));
    EXPECT_FLOAT_EQ(cProjectile(2, {0, 50}, {0, 0}, a).angle, static_cast<float>(-std::numbers::pi / 2));
    EXPECT_EQ(cProjectile(2, {0, 50}, {0, 0}, a).dmg, 2);

    // 500 pixels: one second of flight.
    cProjectile p(5, tcellpos(100, 200), tcellpos(600, 200), a);
    EXPECT_EQ(p.dmg, 1);
    EXPECT_EQ(p.spr, cGame::resman->GetSprite("arrow"));
    p.update(0.5f);
    p.update(0.5f);
    EXPECT_FALSE(p.IsDead());
    EXPECT_EQ(a->GetHealth(), 6);
    w.eng.tide->Gfx_BeginScene(0);
    p.render();
    w.eng.tide->Gfx_EndScene();
    ASSERT_EQ(w.QuadsOf("arrow").size(), 1u);
    EXPECT_FLOAT_EQ(w.QuadsOf("arrow")[0].v[0].x, 600);
    p.update(0.001f);
    EXPECT_TRUE(p.IsDead());
    EXPECT_EQ(a->GetHealth(), 5);
    p.update(1);
    EXPECT_EQ(a->GetHealth(), 5);

    a->armor = 5;
    cProjectile q(1, {0, 0}, {10, 0}, a);
    q.update(1);
    EXPECT_TRUE(q.IsDead());
    EXPECT_EQ(a->GetHealth(), 5);
}
