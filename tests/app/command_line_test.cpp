#include <gtest/gtest.h>
#include <stdlib.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "engine/paths.h"
#include "tests/support/child_process.h"
#include "tests/support/test_support.h"

namespace {

using Action = cCommandLine::Action;

cCommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "thalomir");
    cCommandLine c;
    c.Parse(int(args.size()), args.data());
    return c;
}

// A data folder with the game's data in it, one without, and one named
// outside ASCII (and outside any one Windows code page), made through the
// file layer, which takes UTF-8 names everywhere.
class DataFolders {
public:
    DataFolders() {
        base = MakeTempDir();
        for (const std::string& data : {good(), foreign()}) {
            tideMakeUserDir(data + "/Res");
            tideWriteFileAtomic(data + "/Res/AllRes.txt", "; script\n");
        }
        tideMakeUserDir(empty() + "/res");
    }
    ~DataFolders() { std::filesystem::remove_all(base); }
    std::string good() const { return base + "/good"; }
    std::string empty() const { return base + "/empty"; }
    // "Mes jeux – Überfahrt ñ Θάλασσα"
    std::string foreign() const {
        return base + "/Mes jeux \u2013 \u00dcberfahrt \u00f1 \u0398\u03ac\u03bb\u03b1\u03c3\u03c3\u03b1";
    }

private:
    std::string base;
};

TEST(CommandLine, OptionsAndWhatTheyLeaveBehind) {
    DataFolders d;
    const std::string good = d.good(), goodEq = "--data=" + good, empty = d.empty(), foreign = d.foreign();
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
        {{"--data", foreign.c_str()}, Action::Run, -1, foreign, false},
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
    std::string out; // standard output and error together, lines ending in "\n"
};

// Runs the program with `args`, no shell in between.
ProgramRun Program(const std::vector<std::string>& args) {
    ChildProcess p;
    ProgramRun r;
    if (!p.Start(THALOMIR_EXE, args, 60)) return r;
    p.Wait();
    r.status = p.exited ? p.status : -1;
    // Windows ends printed lines with "\r\n".
    std::remove_copy(p.out.begin(), p.out.end(), std::back_inserter(r.out), '\r');
    return r;
}

TEST(CommandLine, TheProgramsOutputAndExitStatus) {
    ProgramRun version = Program({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("thalomir ") + THALOMIR_VERSION_TEXT + "\n");

    ProgramRun help = Program({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: thalomir ", 0), 0u) << help.out;
    for (const char* opt : {"--version", "--windowed", "--fullscreen", "--data DIR", "--portable"})
        EXPECT_NE(help.out.find(opt), std::string::npos) << opt;

    DataFolders d;
    const std::vector<std::string> bads[] = {
        {"--bogus"}, {"--data"}, {"--data", "/no/such/folder"}, {"extra"}, {"--data", d.empty()}};
    for (const std::vector<std::string>& bad : bads) {
        ProgramRun r = Program(bad);
        EXPECT_EQ(r.status, 2) << bad.back();
        // One line saying what is wrong, then the usage line; the game never starts.
        EXPECT_EQ(r.out.rfind("thalomir: ", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("\nusage: thalomir "), std::string::npos) << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2) << r.out;
    }
}

// A level file to play at once: taken as an absolute path, named in any
// language; one that cannot be played is one line on the standard error and
// status 2, before any window opens.
TEST(CommandLine, ALevelFileOrWhyItCannotBePlayed) {
    DataFolders d;
    const std::string level = d.foreign() + "/\u00c4rger \u0436.txt", plain = d.foreign() + "/plain.txt";
    ASSERT_TRUE(tideWriteFileAtomic(level, "[unit1]\nname=Aqua\n[unit2]\nname=Medu\nx=4\n"));
    ASSERT_TRUE(tideWriteFileAtomic(plain, "[options]\nmusic=3\n"));
    cCommandLine ok = Parse({"--level", level.c_str()});
    EXPECT_EQ(ok.action, Action::Run) << ok.error;
    EXPECT_EQ(ok.level, level);
    // A relative name is taken in the working folder.
    cCommandLine here = Parse({"--level", "no-such-level.txt"});
    EXPECT_TRUE(tideIsAbsolute(here.level)) << here.level;
    EXPECT_EQ(here.level.substr(here.level.size() - 18), "/no-such-level.txt");
#ifdef _WIN32
    // Names with only a drive or only a root are Windows' own: "Z:x" lies in
    // drive Z's working folder, "\\x" at the top of the working drive.
    const std::string cwd = tideAbsolutePath("."), drive = cwd.substr(0, 2);
    EXPECT_EQ(Parse({"--level", (drive + "x.txt").c_str()}).level, cwd + "/x.txt");
    EXPECT_EQ(Parse({"--level", "\\x.txt"}).level, drive + "/x.txt");
#endif
    // The program reads its arguments as given: the plain file is found by its
    // name and refused for what it holds.
    struct Bad {
        std::string file, says;
    };
    for (const Bad& bad : {Bad{d.foreign() + "/none.txt", ""}, Bad{plain, "is not a level file"},
                           Bad{d.foreign(), ""}}) {
        ProgramRun r = Program({"--level", bad.file});
        EXPECT_EQ(r.status, 2) << bad.file;
        EXPECT_EQ(r.out.rfind("thalomir: ", 0), 0u) << r.out;
        EXPECT_NE(r.out.find(bad.says), std::string::npos) << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    }
}

// Output that cannot be written, and an engine that cannot start: a status
// that says so, and the reason where the user sees it.
TEST(CommandLine, FailuresReachTheExitStatusAndTheStandardError) {
#ifndef _WIN32 // Windows has no full device to write to
    for (const char* args : {"--help", "--version"}) {
        std::string cmd = std::string("'") + THALOMIR_EXE + "' " + args + " 2>&1 >/dev/full </dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string out;
        char buf[512];
        while (fgets(buf, sizeof buf, p)) out += buf;
        const int st = pclose(p);
        EXPECT_EQ(WIFEXITED(st) ? WEXITSTATUS(st) : -1, 1) << args;
        EXPECT_NE(out.find("thalomir: cannot write"), std::string::npos) << out;
    }
#endif
    ScopedEnv env{{"SDL_VIDEODRIVER", "no-such-driver"}};
    ProgramRun r = Program({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("thalomir: cannot start: ", 0), 0u) << r.out;
}

}  // namespace
