#include "game/stars.h"

#include <cstdio>

namespace {

std::string Format(const char* fmt, int a, int b = 0) {
    char line[96];
    std::snprintf(line, sizeof line, fmt, a, b);
    return line;
}

}  // namespace

BattleStars StarsOf(const BattleState& s, int par) {
    BattleStars st;
    st.win = s.outcome == BattleOutcome::Won;
    st.whole = st.win && s.stats.lostPlayer == 0;
    st.inPar = st.win && par > 0 && s.turn <= par;
    return st;
}

std::string StarCaption(int i, int par) {
    switch (i) {
    case 0: return "Victory";
    case 1: return "No unit lost";
    default: return par > 0 ? Format("Within %d turns", par) : "No par here";
    }
}

std::vector<std::string> SummaryLines(const BattleState& s, int par) {
    std::vector<std::string> lines;
    lines.push_back(std::string("Difficulty: ") + DifficultyTitle(s.difficulty));
    lines.push_back(par > 0 ? Format("Turns: %d (par %d)", s.turn, par) : Format("Turns: %d", s.turn));
    lines.push_back(Format("Units lost: %d of yours, %d of theirs", s.stats.lostPlayer, s.stats.lostComputer));
    lines.push_back(Format("Damage dealt: %d, taken: %d", s.stats.dealt, s.stats.taken));
    lines.push_back(Format("Actions taken back: %d", s.stats.undone));
    return lines;
}
