// The end of a battle: "Victory" or "Defeat" over the board, and the
// battle's summary with the stars it earned, until a fresh click or key; then
// the level choice.
#include <cmath>

#include "game/font_style.h"
#include "game/game.h"
#include "game/progress.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "res/resource_manager.h"
#include "res/strtable.h"
#include "units/unit.h"

namespace {

// Presses in the banner's first moment belong to the battle's last clicks,
// not to a player who has read it.
const float kBannerDeaf = 0.4f;
// Over the surface strip above the playable rows, so the board reads on.
const float kBannerX = 512, kBannerY = 46;
// The summary on its plate over the middle of the board: the stars in a row
// with what each is for beneath, then the summary's lines.
const float kPlateX = 512, kPlateY = 400, kPlateH = 312;
const float kStarsY = kPlateY - kPlateH / 2 + 44, kStarGap = 150, kCaptionScale = 0.8f;
const DWORD kCaptionColor = 0xBFF4FF;

void RenderFaded(tideSprite* s, DWORD alpha, float x, float y) {
    if (!s) return;
    s->SetColor(alpha | 0xFFFFFF);
    s->Render(x, y);
    s->SetColor(0xFFFFFFFF);
}

void RenderSummary(const cGame& g, DWORD alpha) {
    RenderFaded(cGame::NeedSprite("summaryplate"), alpha, kPlateX, kPlateY);
    const BattleStars& st = g.endstars;
    const bool earned[kMaxStars] = {st.win, st.whole, st.inPar};
    for (int i = 0; i < kMaxStars; ++i)
        RenderFaded(cGame::NeedSprite(earned[i] ? "star_on" : "star_off"), alpha,
                    kPlateX + static_cast<float>(i - 1) * kStarGap, kStarsY);
    tideFont* f = cGame::GetFont1();
    if (!f) return;
    float y = kStarsY + 26;
    {
        FontStyle caption(f, kCaptionScale, alpha | kCaptionColor);
        for (int i = 0; i < kMaxStars; ++i)
            f->Render(kPlateX + static_cast<float>(i - 1) * kStarGap, y, TEXT_CENTER,
                      StarCaption(i, g.endpar).c_str());
        y += f->GetHeight() * kCaptionScale + 18;
    }
    {
        FontStyle text(f, 1, alpha | 0xFFFFFF);
        for (const std::string& line : SummaryLines(cGame::battle, g.endpar)) {
            f->Render(kPlateX, y, TEXT_CENTER, line.c_str());
            y += f->GetHeight() + 4;
        }
    }
    FontStyle hint(f, kCaptionScale, alpha | kCaptionColor);
    f->Render(kPlateX, kPlateY + kPlateH / 2 - 24 - f->GetHeight() * kCaptionScale, TEXT_CENTER,
              "Click or press a key to go on");
}

}  // namespace

void cGame::BindFeedback() {
    // Looked up at start like every other resource, so that a missing or
    // broken file is reported then, not first at the end of a battle.
    for (const char* name : {"bannerplate", "summaryplate", "star_on", "star_off", "helppanel", "hitflash", "lvlwon"})
        NeedSprite(name);
    NeedFont("bannerfont");
    resman->GetEffect("victory", 0);
    resman->GetEffect("defeat", 0);
    resman->GetStringTable("texts");
    resman->GetParticleSystem("deathburst");
}

void cGame::EndBattle(bool won) {
    const cLevelInfo* level = campaign.Level(curlvl);
    endpar = level ? level->par : 0;
    endstars = StarsOf(battle, endpar);
    if (won) WinLevel(endstars.Count());
    // Nobody acts any more: no ring under the banner.
    if (selunit) selunit->Unselect();
    bool last = curlvl > 0 && curlvl == campaign.Count();
    banner = !won ? BANNER_DEFEAT : last ? BANNER_CAMPAIGN : BANNER_VICTORY;
    bannertime = 0;
    tide->Effect_Play(resman->GetEffect(won ? "victory" : "defeat", 0));
    // The level choice comes next: its picture is read while the banner shows.
    if (chlvl) tide->Texture_Prefetch(chlvl->GetTexture());
}

bool cGame::UpdateBanner(float dt) {
    if (banner == BANNER_NONE) return false;
    bannertime += dt;
    if (AnyPress() && bannertime - dt >= kBannerDeaf) {
        banner = BANNER_NONE;
        fx.Clear();
        gamestate = GS_CHLVL;
    }
    return true;
}

void cGame::RenderBanner() {
    if (banner == BANNER_NONE) return;
    // A quick fade in, so the banner arrives rather than pops.
    float a = std::fmin(1.0f, bannertime / 0.2f);
    DWORD alpha = static_cast<DWORD>(a * 255.0f) << 24;
    if (tideSprite* plate = NeedSprite("bannerplate")) {
        plate->SetColor(alpha | 0xFFFFFF);
        plate->Render(kBannerX, kBannerY);
        plate->SetColor(0xFFFFFFFF);
    }
    bool won = banner != BANNER_DEFEAT;
    if (tideFont* big = NeedFont("bannerfont")) {
        big->SetColor(alpha | (won ? 0xFFE066 : 0xFF8A80));
        float y = banner == BANNER_CAMPAIGN ? kBannerY - 38 : kBannerY - big->GetHeight() / 2;
        big->Render(kBannerX, y, TEXT_CENTER, won ? "Victory" : "Defeat");
        big->SetColor(0xFFFFFFFF);
    }
    if (banner == BANNER_CAMPAIGN && fnt1) {
        fnt1->SetColor(alpha | 0xFFFFFF);
        fnt1->Render(kBannerX, kBannerY + 14, TEXT_CENTER, "The campaign is complete!");
        fnt1->SetColor(0xFFFFFFFF);
    }
    RenderSummary(*this, alpha);
}
