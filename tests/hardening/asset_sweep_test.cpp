// Missing and broken data files: for every shipped file in turn, the game
// runs a tour of all its screens once with the file removed and once with it
// replaced by noise of the same size. Each run is a child process, so that a
// crash is a failure of that case and not the end of the test program; the
// game must get through every screen and its log must name the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/hardening/scratch_data.h"
#include "tests/hardening/tour.h"
#include "tests/support/child_process.h"
#include "tests/support/test_support.h"

namespace {

const int kParallel = 2;
const unsigned kChildSeconds = 120;

// The level a broken level file belongs to, or 0.
int LevelOf(const std::string& file) {
    int n = 0;
    char tail = 0;
    return std::sscanf(file.c_str(), "lvl%d.tx%c", &n, &tail) == 2 && tail == 't' ? n : 0;
}

// One case, run in the child: the tour, then the program's teardown.
std::string TourWithout(const std::string& file, bool garbage) {
    ScratchData data;
    if (garbage)
        data.Replace(file, Garbage(std::filesystem::file_size(ScratchData::ShippedPath(file)),
                                   static_cast<unsigned>(std::hash<std::string>()(file))));
    else
        data.Remove(file);

    std::string fault;
    bool named = false;
    {
        BattleWorld w(data.dir);
        int level = LevelOf(file);
        fault = Tour(w, level ? level : kEveryKindLevel);
        named = LogNames(w.hl, file);
    }
    if (fault.empty() && !named) fault = "no log line names the file";
    return fault;
}

struct Case {
    std::string file;
    bool garbage;
    std::string Name() const { return file + (garbage ? " (noise)" : " (missing)"); }
};

// The case a child runs (DISABLED_OneCase below), and what it says.
const char* const kCaseFile = "THALOMIR_SWEEP_FILE";
const char* const kCaseNoise = "THALOMIR_SWEEP_NOISE";
const char* const kFaultMark = "sweep fault: ";

struct Running {
    Case c;
    std::unique_ptr<ChildProcess> child;
};

// Why a finished child's case failed, or "".
std::string Outcome(ChildProcess& child) {
    child.Wait();
    const size_t mark = child.out.find(kFaultMark);
    if (mark != std::string::npos) {
        const size_t from = mark + std::strlen(kFaultMark);
        return child.out.substr(from, child.out.find('\n', from) - from);
    }
    if (child.killed) return child.how + " (hung)";
    if (!child.exited || child.status != 0) return child.how;
    return "";
}

// Runs every case in a child process, a few at a time; returns the failures
// by case name.
std::map<std::string, std::string> RunAll(const std::vector<Case>& cases) {
    std::map<std::string, std::string> failures;
    std::deque<Running> running;
    auto reap = [&] {
        Running& r = running.front();
        if (std::string why = Outcome(*r.child); !why.empty()) failures[r.c.Name()] = why;
        running.pop_front();
    };
    for (const Case& c : cases) {
        while (running.size() >= kParallel) reap();
        SetEnv(kCaseFile, c.file.c_str());
        SetEnv(kCaseNoise, c.garbage ? "1" : "0");
        auto child = std::make_unique<ChildProcess>();
        if (!child->Start(TestProgram(), OneTest("AssetSweep.DISABLED_OneCase"), kChildSeconds)) {
            failures[c.Name()] = "the child did not start";
            continue;
        }
        running.push_back({c, std::move(child)});
    }
    while (!running.empty()) reap();
    return failures;
}

}  // namespace

// One case, in a child process of the sweep.
TEST(AssetSweep, DISABLED_OneCase) {
    const char* file = std::getenv(kCaseFile);
    const char* noise = std::getenv(kCaseNoise);
    ASSERT_TRUE(file && noise);
    const std::string fault = TourWithout(file, std::string(noise) == "1");
    if (!fault.empty()) std::printf("%s%s\n", kFaultMark, fault.c_str());
    EXPECT_EQ(fault, "");
}

TEST(AssetSweep, EveryShippedFileMissingOrBrokenIsSurvivedAndNamed) {
    std::vector<Case> cases;
    for (const std::string& file : ScratchData::ShippedFiles()) {
        cases.push_back({file, false});
        cases.push_back({file, true});
    }
    ASSERT_FALSE(cases.empty()) << "no shipped data";

    for (const auto& [name, why] : RunAll(cases)) ADD_FAILURE() << name << ": " << why;
}

// The sweep's own premise: with nothing missing the tour goes through and the
// log has nothing to say about any data file.
TEST(AssetSweep, IntactDataTourIsQuiet) {
    ScratchData data;
    BattleWorld w(data.dir);
    EXPECT_EQ(Tour(w, kEveryKindLevel), "");
    for (const std::string& file : ScratchData::ShippedFiles()) EXPECT_FALSE(LogNames(w.hl, file)) << file;
}
