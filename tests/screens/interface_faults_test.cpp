// Faults a play-test found in the screens' layout, each kept fixed here.
#include <sstream>

#include "gfx/font.h"
#include "tests/screens/screens_fixture.h"
#include "units/unit.h"

class InterfaceFaultsTest : public ScreensTest {};

// With 15 units (level 6) the last portrait of the turn bar covered "Turn N".
TEST_F(InterfaceFaultsTest, TheTurnBarFitsFifteenUnitsBesideTheTurnCount) {
    WriteData(DefaultConfig());
    std::ostringstream lvl;
    for (int i = 0; i < 15; ++i)
        lvl << "[unit" << i + 1 << "]\nname=" << (i % 2 ? "Medu" : "Aqua") << "\nx=" << 1 + i % 7 * 2
            << "\ny=" << 1 + i / 7 * 3 << "\n";
    eng->WriteFile("res/lvl2.txt", lvl.str());
    Start();
    PassLogo();
    game->progress.Win("lvl1.txt");
    StartLevel(2);
    ASSERT_EQ(game->units.size(), 15u);
    // The last unit of the order acts: its badge is the bar's rightmost mark.
    game->step = 14;
    game->SelectUnit(14);
    Move(10, 10);
    Frame();
    float textLeft = 1e9f;
    for (const tideQuad& q : QuadsWith(cGame::fnt1->hTexture))
        if (q.v[0].y > 650 && q.v[0].x > 512) textLeft = std::min(textLeft, q.v[0].x);
    ASSERT_LT(textLeft, 1e9f) << "no turn count drawn";
    // A portrait's badge is 44 pixels wide, 28 right of its marker point.
    const float badgeRight = static_cast<float>(game->units[14]->MarkerPoint().first + 28 + 44);
    EXPECT_LT(badgeRight, textLeft) << "the last portrait covers the turn count";
    // The portraits keep their order, at least 40 pixels apart.
    for (int k = 1; k < 15; ++k)
        EXPECT_GE(game->units[k]->MarkerPoint().first - game->units[k - 1]->MarkerPoint().first, 40);
}
