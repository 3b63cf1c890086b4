#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

using Action = cCommandLine::Action;

cCommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "thalomir");
    cCommandLine c;
    c.Parse(int(args.size()), args.data());
    return c;
}

// A data folder with the game's data in it, and one without.
class DataFolders {
public:
    DataFolders() {
        std::string tmp = (std::filesystem::temp_directory_path() / "thalomir-cli-XXXXXX").string();
        base = mkdtemp(tmp.data());
        std::filesystem::create_directories(good() + "/Res");
        std::ofstream(good() + "/Res/AllRes.txt") << "; script\n";
        std::filesystem::create_directories(empty() + "/res");
    }
    ~DataFolders() { std::filesystem::remove_all(base); }
    std::string good() const { return base + "/good"; }
    std::string empty() const { return base + "/empty"; }

private:
    std::string base;
};

TEST(CommandLine, OptionsAndWhatTheyLeaveBehind) {
    DataFolders d;
    const std::string good = d.good(), goodEq = "--data=" + good, empty = d.empty();
    struct Case {
        std::vector<const char*> args;
        Action action;
        int windowed;
        std::string data;
        bool portable;
    };
    const Case cases[] = {
        {{}, Action::Run, -1, "", false},
        {{"--windowed"}, Action::Run, 1, "", false},
        {{"--fullscreen"}, Action::Run, 0, "", false},
        {{"--fullscreen", "--windowed"}, Action::Run, 1, "", false},  // the last one holds
        {{"--data", good.c_str()}, Action::Run, -1, good, false},
        {{goodEq.c_str(), "--portable"}, Action::Run, -1, good, true},
        {{"--help"}, Action::Help, -1, "", false},
        {{"-h", "--version"}, Action::Help, -1, "", false},
        {{"--version", "--fullscreen"}, Action::Version, 0, "", false},
        {{"--help", "--data", "/no/such/folder"}, Action::Help, -1, "/no/such/folder", false},
        {{"--bogus"}, Action::Error, -1, "", false},
        {{"--windowed", "level1"}, Action::Error, 1, "", false},
        {{"--help=1"}, Action::Error, -1, "", false},
        {{"--data"}, Action::Error, -1, "", false},
        {{"--data="}, Action::Error, -1, "", false},
        {{"--data", "/no/such/folder"}, Action::Error, -1, "/no/such/folder", false},
        // A folder, but not the game's data: refused like a missing one.
        {{"--data", empty.c_str()}, Action::Error, -1, empty, false},
        {{"--help", "--bogus"}, Action::Error, -1, "", false},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const char* a : c.args) line += std::string(a) + " ";
        SCOPED_TRACE(line);
        cCommandLine got = Parse(c.args);
        EXPECT_EQ(got.action, c.action) << got.error;
        EXPECT_EQ(got.Exits(), c.action != Action::Run);
        EXPECT_EQ(got.windowed, c.windowed);
        EXPECT_EQ(got.data, c.data);
        EXPECT_EQ(got.portable, c.portable);
    }
}

struct ProgramRun {
    int status = -1;
    std::string out; // standard output and error together
};

// Runs the program; `redirect` says where its output goes ("2>&1": both
// into ProgramRun::out).
ProgramRun Program(const std::string& args, const std::string& redirect = "2>&1") {
    ProgramRun r;
    std::string cmd = std::string("'") + THALOMIR_EXE + "' " + args + " " + redirect + " </dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) r.out += buf;
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

TEST(CommandLine, TheProgramsOutputAndExitStatus) {
    ProgramRun version = Program("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("thalomir ") + THALOMIR_VERSION_TEXT + "\n");

    ProgramRun help = Program("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: thalomir ", 0), 0u) << help.out;
    for (const char* opt : {"--version", "--windowed", "--fullscreen", "--data DIR", "--portable"})
        EXPECT_NE(help.out.find(opt), std::string::npos) << opt;

    DataFolders d;
    const std::string empty = "--data '" + d.empty() + "'";
    for (const char* bad : {"--bogus", "--data", "--data /no/such/folder", "extra", empty.c_str()}) {
        ProgramRun r = Program(bad);
        EXPECT_EQ(r.status, 2) << bad;
        // One line saying what is wrong, then the usage line; the game never starts.
        EXPECT_EQ(r.out.rfind("thalomir: ", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("\nusage: thalomir "), std::string::npos) << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2) << r.out;
    }
}

// A level file to play at once: taken as an absolute path; one that cannot
// be played is one line on the standard error and status 2, before any
// window opens.
TEST(CommandLine, ALevelFileOrWhyItCannotBePlayed) {
    DataFolders d;
    std::string level = d.good() + "/mine.txt", plain = d.good() + "/plain.txt";
    std::ofstream(level) << "[unit1]\nname=Aqua\n[unit2]\nname=Medu\nx=4\n";
    std::ofstream(plain) << "[options]\nmusic=3\n";
    cCommandLine ok = Parse({"--level", level.c_str()});
    EXPECT_EQ(ok.action, Action::Run) << ok.error;
    EXPECT_EQ(ok.level, level);
    for (const std::string& bad : {d.good() + "/none.txt", plain, d.good()}) {
        ProgramRun r = Program("--level '" + bad + "'");
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.out.rfind("thalomir: ", 0), 0u) << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    }
}

// Output that cannot be written, and an engine that cannot start: a status
// that says so, and the reason where the user sees it.
TEST(CommandLine, FailuresReachTheExitStatusAndTheStandardError) {
    for (const char* args : {"--help", "--version"}) {
        ProgramRun r = Program(args, "2>&1 >/dev/full");
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_NE(r.out.find("thalomir: cannot write"), std::string::npos) << r.out;
    }
    ASSERT_EQ(setenv("SDL_VIDEODRIVER", "no-such-driver", 1), 0);
    ProgramRun r = Program("", "2>&1 >/dev/null");
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("thalomir: cannot start: ", 0), 0u) << r.out;
}

}  // namespace
