#include "tests/hardening/tour.h"

#include <algorithm>
#include <cctype>

#include "tests/game/player_bot.h"

namespace {

const int kBattleTurns = 4;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

}  // namespace

std::string Tour(BattleWorld& w, int level) {
    cGame& g = *w.game;
    std::string fault;
    auto expect = [&](int state, const char* step) {
        if (fault.empty() && g.gamestate != state)
            fault = std::string(step) + ": game state " + std::to_string(g.gamestate) +
                    ", expected " + std::to_string(state);
        return fault.empty();
    };
    auto button = [&](float x, float y, int state, const char* step) {
        w.Click(x, y);
        return expect(state, step);
    };

    while (w.eng.tide->Timer_GetTime() < 2.0f) w.Frame(0.25f);
    w.Frame();
    if (!expect(GS_MMENU, "logo") || !button(512, 571, GS_OPTIONS, "options from the menu") ||
        !button(512, 618, GS_MMENU, "back from the options") ||
        !button(512, 521, GS_CHLVL, "level choice") ||
        !button(184, 671, GS_MMENU, "back from the level choice") ||
        !button(512, 521, GS_CHLVL, "level choice again"))
        return fault;

    // Every level button answers.
    for (const cLevelInfo& l : g.campaign.levels) g.progress.Win(l.key);
    w.Click(g.levelmap.SpotX(level), g.levelmap.SpotY(level));
    if (g.units.empty()) return expect(GS_CHLVL, "empty level") ? "" : fault;
    if (!expect(GS_GAME, "level start")) return fault;
    if (g.briefing) w.Press(TIDEK_ENTER);
    if (g.briefing) return "the briefing did not go at Enter";

    bot::PlayBattle(w, kBattleTurns);
    if (g.gamestate != GS_GAME) return "";  // over already: nothing to escape from
    w.Press(TIDEK_ESCAPE);
    if (!expect(GS_OPTIONS, "options from the battle") ||
        !button(512, 618, GS_GAME, "back into the battle"))
        return fault;
    for (int i = 0; i < 20; ++i) w.Frame();
    return "";
}

bool LogNames(const tideHeadless* hl, const std::string& name) {
    const std::string n = Lower(name);
    return std::any_of(hl->Log().begin(), hl->Log().end(),
                       [&](const std::string& line) { return Lower(line).find(n) != std::string::npos; });
}
