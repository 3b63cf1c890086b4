// thalomir-replay fed bad input: unknown commands, huge and negative numbers,
// missing files and options, noise, lines of megabytes. Each must end the
// program with a short, clear message and a non-zero status, never with a
// signal and never by running the game.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/hardening/scratch_data.h"
#include "tests/support/child_process.h"
#include "tests/support/test_support.h"

#ifndef THALOMIR_REPLAY_EXE
#error "THALOMIR_REPLAY_EXE must name the replay program"
#endif

namespace {

const unsigned kToolSeconds = 60;

// Runs the replay program with `args`, no shell in between, to its end.
void Replay(ChildProcess& p, const std::vector<std::string>& args) {
    ASSERT_TRUE(p.Start(THALOMIR_REPLAY_EXE, args, kToolSeconds)) << "the replay program did not start";
    p.Wait();
}

class ReplayInput : public ::testing::Test {
protected:
    // Writes a script and returns its path.
    std::string Script(const std::string& bytes, const char* name = "script.txt") {
        eng.WriteFile(name, bytes);
        return eng.Path(name);
    }
    // A run of `script` on the shipped data that must be refused with `message`.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& message) {
        ChildProcess r;
        Replay(r, args);
        ASSERT_TRUE(r.exited) << r.how << "\n" << r.out;
        EXPECT_GT(r.status, 0) << r.out;
        EXPECT_NE(r.out.find(message), std::string::npos) << "wanted: " << message << "\ngot: "
                                                           << r.out.substr(0, 500);
        EXPECT_LT(r.out.size(), 1000u) << "a message should be short";
        EXPECT_EQ(r.out.find("frames="), std::string::npos) << "the game ran";
    }
    void ExpectScriptRefused(const std::string& bytes, const std::string& message) {
        ExpectRefused({Script(bytes), "--out", out, "--data", data.dir, "--headless"}, message);
    }

    HeadlessEngine eng;  // only for its folder and file helpers
    ScratchData data;
    std::string out = eng.Path("out");
};

}  // namespace

TEST_F(ReplayInput, AGoodScriptRuns) {
    ChildProcess r;
    Replay(r, {Script("130 end\n"), "--out", out, "--data", data.dir, "--headless"});
    EXPECT_TRUE(r.exited) << r.how;
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("frames=131 gamestate=0"), std::string::npos) << r.out;
}

TEST_F(ReplayInput, UnknownAndMalformedCommands) {
    ExpectScriptRefused("1 move 5 5\n2 jump 3 4\n", "line 2: unknown command 'jump'");
    ExpectScriptRefused("5\n", "line 1: missing command");
    ExpectScriptRefused("5 click 1 2 3\n", "expected 'click X Y'");
    ExpectScriptRefused("5 move 1 nan\n", "bad coordinates");
    ExpectScriptRefused("5 shot ../../escape\n", "bad snapshot name '../../escape'");
}

TEST_F(ReplayInput, HugeAndNegativeNumbers) {
    ExpectScriptRefused("99999999999999999999999 end\n", "bad frame number '99999999999999999999999'");
    ExpectScriptRefused("10000001 end\n", "bad frame number '10000001'");
    ExpectScriptRefused("-5 end\n", "bad frame number '-5'");
    ExpectScriptRefused("5 down -1\n", "bad key code '-1'");
    ExpectScriptRefused("5 up 4294967297\n", "bad key code '4294967297'");
    ExpectScriptRefused("5 move -1e300 0\n", "bad coordinates");
    ExpectRefused({Script("5 end\n"), "--out", out, "--dt", "-0.5"}, "--dt wants seconds");
    ExpectRefused({Script("5 end\n"), "--out", out, "--dt", "1e40"}, "--dt wants seconds");
}

TEST_F(ReplayInput, MissingFilesAndOptions) {
    ExpectRefused({eng.Path("none.txt"), "--out", out}, "cannot read " + eng.Path("none.txt"));
    ExpectRefused({eng.dir, "--out", out}, "cannot read " + eng.dir);
    ExpectRefused({}, "no script given");
    ExpectRefused({Script("5 end\n")}, "no output folder given");
    ExpectRefused({Script("5 end\n"), "--out"}, "unexpected argument '--out'");
    ExpectRefused({Script("5 end\n"), "--out", out, "--data", eng.Path("nowhere")},
                  "no data folder " + eng.Path("nowhere"));
    eng.WriteFile("a_file", "x");
    ExpectRefused({Script("5 end\n"), "--out", eng.Path("a_file"), "--headless"},
                  "cannot create " + eng.Path("a_file"));
    ExpectScriptRefused("", "no commands");
    ExpectScriptRefused("# only a comment\n\n", "no commands");
}

TEST_F(ReplayInput, NoiseAndHugeLinesAreQuotedShort) {
    ExpectScriptRefused(Garbage(5000, 7), "line ");
    // A NUL byte must not end the number early and pass as frame 0.
    ExpectScriptRefused(std::string("\0\x01 end\n", 7), "bad frame number '\\x00\\x01'");
    ExpectScriptRefused("1 move " + std::string(4000000, '5') + " 5\n", "bad coordinates");
    ExpectScriptRefused(std::string(4000000, '7') + " end\n", "bad frame number '7777");
    ExpectScriptRefused("3 " + std::string(4000000, 'x') + "\n", "unknown command 'xxxx");
}
