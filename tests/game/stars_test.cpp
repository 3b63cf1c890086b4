// The stars a battle earns and the summary the end banner shows.
#include <gtest/gtest.h>

#include "game/stars.h"

namespace {

TEST(Stars, OneForTheWinOneForNoLossOneWithinPar) {
    struct Case {
        BattleOutcome outcome;
        int lost, turn, par;
        bool win, whole, inPar;
    };
    const Case cases[] = {
        {BattleOutcome::Won, 0, 7, 9, true, true, true},
        {BattleOutcome::Won, 0, 9, 9, true, true, true},    // par itself is within par
        {BattleOutcome::Won, 0, 10, 9, true, true, false},
        {BattleOutcome::Won, 2, 5, 9, true, false, true},
        {BattleOutcome::Won, 1, 12, 9, true, false, false},
        {BattleOutcome::Won, 0, 1, 0, true, true, false},   // no par: no third star
        {BattleOutcome::Lost, 0, 3, 9, false, false, false},
        {BattleOutcome::NoContest, 0, 1, 9, false, false, false},
        {BattleOutcome::None, 0, 1, 9, false, false, false},
    };
    for (const Case& c : cases) {
        BattleState s;
        s.outcome = c.outcome;
        s.stats.lostPlayer = c.lost;
        s.turn = c.turn;
        BattleStars st = StarsOf(s, c.par);
        SCOPED_TRACE(testing::Message() << "outcome " << int(c.outcome) << ", lost " << c.lost << ", turn "
                                        << c.turn << ", par " << c.par);
        EXPECT_EQ(st.win, c.win);
        EXPECT_EQ(st.whole, c.whole);
        EXPECT_EQ(st.inPar, c.inPar);
        EXPECT_EQ(st.Count(), int(c.win) + int(c.whole) + int(c.inPar));
    }
}

TEST(Stars, SummaryNamesTheDifficultyAndCountsTheBattle) {
    BattleState s;
    s.difficulty = Difficulty::Hard;
    s.turn = 11;
    s.stats = {2, 7, 61, 23, 40, 3};
    std::vector<std::string> expected = {"Difficulty: Hard", "Turns: 11 (par 9)",
                                         "Units lost: 2 of yours, 7 of theirs", "Damage dealt: 61, taken: 23",
                                         "Actions taken back: 3"};
    EXPECT_EQ(SummaryLines(s, 9), expected);
    EXPECT_EQ(SummaryLines(s, 0)[1], "Turns: 11");
    EXPECT_EQ(StarCaption(2, 9), "Within 9 turns");
    EXPECT_EQ(StarCaption(2, 0), "No par here");
}

}  // namespace
