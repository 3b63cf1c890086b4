// thalomir-replay: runs the game itself on a manual clock with scripted input
// and the offscreen renderer, for automated tests, bug reports and screenshots.
//
//   thalomir-replay SCRIPT --out DIR [--dt SECONDS] [--data DIR] [--portable] [--headless] [--timing]
//                   [--level FILE]
//
// --data names the data folder (default: found as the game finds it);
// --portable keeps settings, progress and the log with the data folder, as
// the game's own option does;
// --headless runs with no renderer or audio device, skipping snapshots;
// --timing prints the start-up time (wall and CPU), each screen's frame times
// and the peak resident memory;
// --level FILE starts with that level file on the board, as the game's own
// option does.
// The last line printed is "frames=F gamestate=S maxlvl=M units=U state=HASH",
// M being the last open level of the campaign and HASH the battle state's
// stable hash (16 hex digits) at the end.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "engine/files.h"
#include "engine/tide.h"
#include "engine/tide_headless.h"
#include "game/game.h"
#include "tools/process_stats.h"
#include "tools/replay_script.h"

// The game's own entry (app/main.cpp, built into this program with its main
// renamed): the same engine states, callbacks and controller pointer.
extern Tide* tide;
extern cGame* game;
void tideinit();

namespace {

struct Options {
    std::string script;
    std::string out;
    std::string data;
    float dt = 1.0f / 60.0f;
    bool headless = false;
    bool timing = false;
    bool portable = false;
    std::string level;  // --level FILE: played at once, as the game's option does
};

int Usage(const char* why) {
    std::fprintf(stderr,
                 "thalomir-replay: %s\n"
                 "usage: thalomir-replay SCRIPT --out DIR [--dt SECONDS] [--data DIR] "
                 "[--portable] [--headless] [--timing] [--level FILE]\n",
                 why);
    return 2;
}

// Returns an empty string or what is wrong with the command line `args`
// (UTF-8, the program's name first).
std::string ParseArgs(const std::vector<std::string>& args, Options& o) {
    const std::size_t argc = args.size();
    for (std::size_t i = 1; i < argc; ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < argc;
        if (a == "--out" && hasValue) {
            o.out = args[++i];
        } else if (a == "--data" && hasValue) {
            o.data = args[++i];
        } else if (a == "--dt" && hasValue) {
            char* end = nullptr;
            const char* value = args[++i].c_str();
            o.dt = std::strtof(value, &end);
            if (*end != '\0' || !(o.dt > 0.0f && o.dt <= 1.0f)) return "--dt wants seconds in (0, 1]";
        } else if (a == "--level" && hasValue) {
            o.level = tideAbsolutePath(args[++i]);
        } else if (a == "--portable") {
            o.portable = true;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--timing") {
            o.timing = true;
        } else if (!a.empty() && a[0] != '-' && o.script.empty()) {
            o.script = a;
        } else {
            return "unexpected argument '" + a + "'";
        }
    }
    if (o.script.empty()) return "no script given";
    if (o.out.empty()) return "no output folder given (--out DIR)";
    // Without this check a mistyped folder runs the game on no data at all.
    if (!o.data.empty()) return cCommandLine::DataFault(o.data);
    return "";
}

// The game's own engine states, plus the manual clock (or no device at all).
void SetupEngine(const Options& o) {
    tideinit();
    tide->System_SetState(o.headless ? TIDE_HEADLESS : TIDE_MANUALCLOCK, true);
    if (!o.data.empty()) tide->System_SetState(TIDE_DATAPATH, o.data.c_str());
    if (o.portable) tide->System_SetState(TIDE_PORTABLE, true);
}

using Clock = std::chrono::steady_clock;

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The main menu's logo phase, timed apart from the menu itself.
const int kLogo = -1;

// Frame times per game state, with the GPU work finished inside each frame.
// The median stands for the steady frame time; the 95th percentile shows
// the hitches.
struct Timing {
    std::map<int, std::vector<double>> perState; // state -> frame times in ms
    double startupMs = -1, startupCpuMs = -1;

    void Add(int state, double ms) { perState[state].push_back(ms); }
    void Print() {
        static const char* names[] = {"logo", "menu", "options", "level choice", "battle"};
        std::printf("startup to first frame: %.1f ms, %.1f ms CPU\n", startupMs, startupCpuMs);
        for (auto& [state, v] : perState) {
            const char* name = (state >= kLogo && state <= GS_GAME) ? names[state - kLogo] : "other";
            std::sort(v.begin(), v.end());
            std::printf("%s: %zu frames, median %.2f ms, 95%% %.2f ms, longest %.2f ms\n", name,
                        v.size(), v[v.size() / 2], v[v.size() * 95 / 100], v.back());
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    Clock::time_point started = Clock::now();
    Options o;
    std::string why = ParseArgs(tideProgramArgs(argc, argv), o);
    if (!why.empty()) return Usage(why.c_str());
    if (!o.level.empty())
        if (std::string fault = LevelFileFault(o.level); !fault.empty()) {
            std::fprintf(stderr, "thalomir-replay: %s\n", fault.c_str());
            return 2;
        }

    std::string text;
    if (tideFileStatus read = tideReadFile(o.script, text); !read) {
        std::fprintf(stderr, "thalomir-replay: cannot read %s\n", read.why.c_str());
        return 2;
    }
    ReplayScript script;
    if (!script.Parse(text, why)) {
        std::fprintf(stderr, "%s: %s\n", o.script.c_str(), why.c_str());
        return 2;
    }
    if (script.Commands().empty()) {
        std::fprintf(stderr, "%s: no commands, nothing to run\n", o.script.c_str());
        return 2;
    }
    // Named in UTF-8, which std::filesystem reads from char8_t on every system.
    std::error_code ec;
    std::filesystem::create_directories(std::u8string(o.out.begin(), o.out.end()), ec);
    if (!tideIsFolder(o.out)) {
        std::fprintf(stderr, "thalomir-replay: cannot create %s\n", o.out.c_str());
        return 2;
    }

    SetupEngine(o);
    int status = 0;
    int frames = 0;
    int gamestate = -1, maxlvl = 0, units = 0;
    uint64_t hash = 0;
    tideHeadless* hl = nullptr;
    if (tide->System_Initiate()) hl = tideGetHeadless();
    if (!hl) {
        std::fprintf(stderr, "thalomir-replay: engine start failed: %s\n",
                     tide->System_GetErrorMessage());
        status = 1;
    } else {
        game = new cGame();
        if (!o.level.empty()) game->PlayLevelFile(o.level);
        Timing timing;
        int last = script.LastFrame();
        for (int f = 0; f <= last; ++f) {
            script.ApplyInput(f, hl);
            int state = game->gamestate;
            if (state == GS_MMENU && tide->Timer_GetTime() < 2.0f) state = kLogo;
            Clock::time_point t0 = Clock::now();
            bool quit = hl->Frame(o.dt);
            if (!o.headless) glFinish(); // offscreen swaps do no work; make the frame's cost real
            double ms = Millis(Clock::now() - t0);
            if (f == 0) {
                timing.startupMs = Millis(Clock::now() - started);
                timing.startupCpuMs = ProcessCpuMillis();
            } else {
                timing.Add(state, ms);
            }
            ++frames;
            for (const std::string& name : script.NamesAt(f, ReplayCommand::State)) {
                // The same text as the saved battle.
                if (tideFileStatus st = tideWriteFileAtomic(o.out + "/" + name + ".txt", WriteBattle(cGame::battle));
                    !st) {
                    std::fprintf(stderr, "thalomir-replay: frame %d: %s\n", f, st.why.c_str());
                    status = 1;
                }
            }
            for (const std::string& name : script.NamesAt(f, ReplayCommand::Shot)) {
                if (o.headless) continue; // nothing is drawn to read back
                std::string path = o.out + "/" + name + ".png";
                if (!tide->Gfx_Snapshot(path.c_str())) {
                    std::fprintf(stderr, "thalomir-replay: frame %d: could not write %s\n", f,
                                 path.c_str());
                    status = 1;
                }
            }
            if (quit) break;
        }
        gamestate = game->gamestate;
        maxlvl = game->MaxOpenLevel();
        units = static_cast<int>(game->units.size());
        hash = BattleHash(cGame::battle);
        delete game;
        game = nullptr;
        if (o.timing) {
            timing.Print();
            std::printf("peak resident memory: %.1f MiB\n", ProcessPeakMiB());
        }
    }
    tide->System_Shutdown();
    tide->Release();
    std::printf("frames=%d gamestate=%d maxlvl=%d units=%d state=%016llx\n", frames, gamestate, maxlvl, units,
                static_cast<unsigned long long>(hash));
    return status;
}
