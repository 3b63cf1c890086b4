// Replay scripts: parsing, error lines, and the input each frame receives.
#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tools/replay_script.h"

namespace {

std::string ErrorOf(const std::string& text) {
    ReplayScript s;
    std::string err;
    EXPECT_FALSE(s.Parse(text, err)) << text;
    EXPECT_TRUE(s.Commands().empty());
    return err;
}

}  // namespace

TEST(ReplayScript, ParsesCommandsCommentsAndBlankLines) {
    ReplayScript s;
    std::string err;
    ASSERT_TRUE(s.Parse("# a run\n\n5 click 512 521  # level choice\n"
                        "2 move 10.5 20\n\t3 down 27\n3 up 27\n9 shot menu_1\n9 state menu_1\n12 end\n",
                        err))
        << err;
    const auto& c = s.Commands();
    ASSERT_EQ(c.size(), 7u);
    // Sorted by frame, same-frame commands kept in script order.
    EXPECT_EQ(c[0].kind, ReplayCommand::Move);
    EXPECT_FLOAT_EQ(c[0].x, 10.5f);
    EXPECT_EQ(c[1].kind, ReplayCommand::Down);
    EXPECT_EQ(c[1].code, 27);
    EXPECT_EQ(c[2].kind, ReplayCommand::Up);
    EXPECT_EQ(c[3].kind, ReplayCommand::Click);
    EXPECT_EQ(c[3].line, 3);
    EXPECT_EQ(s.NamesAt(9, ReplayCommand::Shot), std::vector<std::string>{"menu_1"});
    EXPECT_EQ(s.NamesAt(9, ReplayCommand::State), std::vector<std::string>{"menu_1"});
    EXPECT_TRUE(s.NamesAt(8, ReplayCommand::Shot).empty());
    EXPECT_EQ(s.LastFrame(), 12);
}

TEST(ReplayScript, MalformedLinesAreReportedWithTheirNumber) {
    EXPECT_EQ(ErrorOf("1 move 1 2\n2 jump\n"), "line 2: unknown command 'jump'");
    EXPECT_EQ(ErrorOf("\n\n-1 end\n"), "line 3: bad frame number '-1'");
    EXPECT_EQ(ErrorOf("x end\n"), "line 1: bad frame number 'x'");
    EXPECT_EQ(ErrorOf("99999999999 end\n"), "line 1: bad frame number '99999999999'");
    EXPECT_EQ(ErrorOf("4\n"), "line 1: missing command");
    EXPECT_EQ(ErrorOf("1 move 3\n"), "line 1: expected 'move X Y'");
    EXPECT_EQ(ErrorOf("1 end now\n"), "line 1: expected 'end'");
    EXPECT_EQ(ErrorOf("1 click 3 y\n"), "line 1: bad coordinates");
    EXPECT_EQ(ErrorOf("1 click nan 3\n"), "line 1: bad coordinates");
    EXPECT_EQ(ErrorOf("1 down 0\n"), "line 1: bad key code '0' (1..255)");
    EXPECT_EQ(ErrorOf("1 up 256\n"), "line 1: bad key code '256' (1..255)");
    EXPECT_NE(ErrorOf("1 shot ../outside\n").find("line 1: bad snapshot name"), std::string::npos);
    EXPECT_NE(ErrorOf("1 shot a/b\n").find("bad snapshot name"), std::string::npos);
    EXPECT_NE(ErrorOf("1 state ../b\n").find("bad state name"), std::string::npos);
}

TEST(ReplayScript, LastFrameIsTheFirstEndOrTheLastInput) {
    ReplayScript s;
    std::string err;
    ASSERT_TRUE(s.Parse("", err));
    EXPECT_EQ(s.LastFrame(), -1);
    ASSERT_TRUE(s.Parse("7 click 1 1\n", err));
    EXPECT_EQ(s.LastFrame(), 8); // the release frame
    ASSERT_TRUE(s.Parse("30 end\n7 click 1 1\n20 end\n40 move 1 1\n", err));
    EXPECT_EQ(s.LastFrame(), 20);
}

namespace {

struct Seen {
    float x = 0, y = 0;
    bool ldown = false, lup = false, escHeld = false;
};
std::vector<Seen> seen;
Tide* frameTide = nullptr;

bool Record() {
    Seen s;
    frameTide->Input_GetMousePos(&s.x, &s.y);
    s.ldown = frameTide->Input_KeyDown(TIDEK_LBUTTON);
    s.lup = frameTide->Input_KeyUp(TIDEK_LBUTTON);
    s.escHeld = frameTide->Input_GetKeyState(TIDEK_ESCAPE);
    seen.push_back(s);
    return false;
}

}  // namespace

TEST(ReplayScript, EachFrameGetsItsScriptedInput) {
    HeadlessEngine eng;
    frameTide = eng.tide;
    seen.clear();
    eng.tide->System_SetState(TIDE_FRAMEFUNC, Record);
    ReplayScript s;
    std::string err;
    ASSERT_TRUE(s.Parse("1 move 100 50\n2 click 300 200\n4 down 27\n6 up 27\n", err));
    for (int f = 0; f <= s.LastFrame(); ++f) {
        s.ApplyInput(f, eng.hl);
        eng.hl->Frame(1.0f / 60);
    }
    eng.tide->System_SetState(TIDE_FRAMEFUNC, (tideCallback) nullptr);
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_FLOAT_EQ(seen[1].x, 100);
    EXPECT_FLOAT_EQ(seen[1].y, 50);
    EXPECT_FALSE(seen[1].ldown);
    EXPECT_FLOAT_EQ(seen[2].x, 300);
    EXPECT_TRUE(seen[2].ldown);
    EXPECT_FALSE(seen[2].lup);
    EXPECT_TRUE(seen[3].lup);
    EXPECT_FALSE(seen[4].lup);
    EXPECT_FALSE(seen[3].escHeld);
    EXPECT_TRUE(seen[4].escHeld);
    EXPECT_TRUE(seen[5].escHeld);
    EXPECT_FALSE(seen[6].escHeld);
}
