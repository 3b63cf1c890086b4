// The best stars earned on each level, on the level choice.
#include "game/font_style.h"
#include "game/game.h"
#include "gfx/sprite.h"

namespace {

// The star pictures are 40 pixels across.
const float kStarHalf = 20;
// Under a spot: small stars in a row just below its island.
const float kSpotStarsDy = 30, kSpotStarScale = 0.4f, kSpotStarGap = 15;
// In the shown level's line: each difficulty's name, then its stars.
const float kLineScale = 0.8f, kLineStarScale = 0.5f, kLineStarGap = 19, kNameGap = 8, kGroupGap = 26;

// `lit` of kMaxStars stars in a row, the first centred at (x, y).
void RenderStarRow(int lit, float x, float y, float scale, float gap) {
    tideSprite* on = cGame::NeedSprite("star_on");
    tideSprite* off = cGame::NeedSprite("star_off");
    for (int i = 0; i < kMaxStars; ++i)
        if (tideSprite* s = i < lit ? on : off) s->RenderEx(x + static_cast<float>(i) * gap, y, 0, scale, 0);
}

}  // namespace

void cGame::RenderLevelStars(int shown, float x, float y) {
    for (int n = 1; n <= campaign.Count(); ++n) {
        const cLevelInfo* l = campaign.Level(n);
        if (!progress.Won(l->key)) continue;
        RenderStarRow(progress.BestStars(l->key, difficulty), levelmap.SpotX(n) - kSpotStarGap,
                      levelmap.SpotY(n) + kSpotStarsDy, kSpotStarScale, kSpotStarGap);
    }
    const cLevelInfo* l = campaign.Level(shown);
    if (!l || !fnt1) return;
    FontStyle style(fnt1, kLineScale, 0xFFFFFFFF);
    const float row = kLineStarGap * (kMaxStars - 1) + 2 * kStarHalf * kLineStarScale;
    auto name = [](int d) { return DifficultyTitle(static_cast<Difficulty>(d)); };
    float width = kGroupGap * (kDifficulties - 1);
    for (int d = 0; d < kDifficulties; ++d) width += fnt1->GetStringWidth(name(d)) + kNameGap + row;
    float left = x - width / 2, mid = y + fnt1->GetHeight() * kLineScale / 2;
    for (int d = 0; d < kDifficulties; ++d) {
        fnt1->Render(left, y, TEXT_LEFT, name(d));
        left += fnt1->GetStringWidth(name(d)) + kNameGap;
        RenderStarRow(progress.BestStars(l->key, static_cast<Difficulty>(d)), left + kStarHalf * kLineStarScale, mid,
                      kLineStarScale, kLineStarGap);
        left += row + kGroupGap;
    }
}
