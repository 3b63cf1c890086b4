// Missing and broken data files: for every shipped file in turn, the game
// runs a tour of all its screens once with the file removed and once with it
// replaced by noise of the same size. Each run is a child process, so that a
// crash is a failure of that case and not the end of the test program; the
// game must get through every screen and its log must name the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/hardening/scratch_data.h"
#include "tests/hardening/tour.h"

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

struct Running {
    Case c;
    int pipe;
};

// Runs every case in a child process, a few at a time; returns the failures
// by case name.
std::map<std::string, std::string> RunAll(const std::vector<Case>& cases) {
    std::map<std::string, std::string> failures;
    std::map<pid_t, Running> running;
    auto reap = [&] {
        int status = 0;
        pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0) {  // children lost: do not wait for them forever
            for (const auto& [p, r] : running) failures[r.c.Name()] = "child lost";
            running.clear();
            return;
        }
        auto it = running.find(pid);
        if (it == running.end()) return;
        std::string msg;
        char buf[512];
        for (ssize_t n; (n = read(it->second.pipe, buf, sizeof buf)) > 0;) msg.append(buf, size_t(n));
        close(it->second.pipe);
        if (WIFSIGNALED(status))
            msg = std::string("killed by signal ") + strsignal(WTERMSIG(status)) +
                  (WTERMSIG(status) == SIGALRM ? " (hung)" : "");
        else if (WEXITSTATUS(status) != 0 && msg.empty())
            msg = "exit status " + std::to_string(WEXITSTATUS(status));
        if (!msg.empty()) failures[it->second.c.Name()] = msg;
        running.erase(it);
    };
    for (const Case& c : cases) {
        while (running.size() >= kParallel) reap();
        int fds[2];
        if (pipe(fds) != 0) {
            failures[c.Name()] = "no pipe";
            continue;
        }
        pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            alarm(kChildSeconds);
            std::string fault = TourWithout(c.file, c.garbage);
            if (write(fds[1], fault.data(), fault.size()) < 0) _exit(3);
            _exit(fault.empty() ? 0 : 1);
        }
        close(fds[1]);
        if (pid < 0) {
            close(fds[0]);
            failures[c.Name()] = "fork failed";
            continue;
        }
        running[pid] = {c, fds[0]};
    }
    while (!running.empty()) reap();
    return failures;
}

}  // namespace

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
