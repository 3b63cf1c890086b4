// thalomir-longplay: plays the real game for a long time in one process, on
// the real window, renderer and sound device, as a player would: levels 1 to
// 8 in order and round again, with real and uneven frame times, visits to the
// options from the battle and the menu, window resizes, Alt+Enter and focus
// changes in between. All input goes through SDL's event queue, so the
// backend's own event handling, letterboxing and presenting are exercised.
// Meant to run under the sanitizers or glibc's heap checks; see
// tools/longplay.sh.
//
//   thalomir-longplay [--minutes M] [--seed S] [--data DIR]
//
// The data folder is written to (the options are saved): give it a copy.
// Prints a status line every minute and a summary at the end.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "engine/crash_handler.h"
#include "engine/gl/letterbox.h"
#include "engine/tide.h"
#include "game/game.h"
#include "tools/bot_targets.h"
#include "units/unit.h"

// The game's own entry (app/main.cpp, built in with its main renamed).
extern Tide* tide;
extern cGame* game;
void tideinit();
bool FrameFunc();

namespace {

using Clock = std::chrono::steady_clock;

const int kLogicalW = 1024, kLogicalH = 768;

struct Stats {
    long frames = 0, battles = 0, won = 0, lost = 0, actions = 0, passes = 0;
    long optionVisits = 0, resizes = 0, fullscreenToggles = 0, focusChanges = 0, stalls = 0;
    int rounds = 0; // times all eight levels were played
};

class Player {
public:
    Player(unsigned seed, double seconds) : rng(seed), limit(seconds) {}

    // Runs before every frame's update; true ends the game.
    bool Frame() {
        stats.frames++;
        const double elapsed = Seconds();
        if (elapsed >= nextReport) {
            Report("status");
            nextReport += 60;
        }
        if (elapsed >= limit) return true;
        Track();
        if (steps.empty()) Decide();
        if (!steps.empty()) {
            auto step = std::move(steps.front());
            steps.pop_front();
            step();
        }
        VaryFrameTime();
        return false;
    }

    void Report(const char* what) const {
        std::printf("%s: %.1f min, %ld frames, round %d, level %d, %ld battles (%ld won, %ld lost), "
                    "%ld actions, %ld passes, %ld options visits, %ld resizes, %ld fullscreen "
                    "toggles, %ld focus changes, %ld stalls\n",
                    what, Seconds() / 60, stats.frames, stats.rounds + 1, level, stats.battles,
                    stats.won, stats.lost, stats.actions, stats.passes, stats.optionVisits,
                    stats.resizes, stats.fullscreenToggles, stats.focusChanges, stats.stalls);
        std::fflush(stdout);
    }

private:
    double Seconds() const { return std::chrono::duration<double>(Clock::now() - start).count(); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    // Counts battles as they end: the battle state left with the units of
    // the last frame still in the list.
    void Track() {
        cGame& g = *game;
        if (lastState == GS_GAME && g.gamestate == GS_CHLVL) {
            bool computerLeft = false;
            for (cUnit* u : g.units) computerLeft |= !u->IsPlayerControlled();
            (computerLeft ? stats.lost : stats.won)++;
            stats.battles++;
            steps.clear();
            if (++level > g.campaign.Count()) {
                level = 1;
                stats.rounds++;
            }
        }
        if (g.gamestate != lastState) actedOn = nullptr;
        lastState = g.gamestate;
    }

    void Decide() {
        cGame& g = *game;
        MaybeDisturb();
        if (!steps.empty()) return;
        switch (g.gamestate) {
            case GS_MMENU:
                if (tide->Timer_GetTime() < 2.5f) return;
                if (Chance(0.2)) {
                    Click(512, 571); // options
                    stats.optionVisits++;
                } else {
                    Click(512, 521); // start
                }
                Wait(Int(1, 20));
                break;
            case GS_CHLVL:
                // Levels are played in order whatever the last battle's result.
                if (level > 1 && !g.LevelOpen(level))
                    g.progress.Win(g.campaign.Level(level - 1)->key);
                Click(g.levelmap.SpotX(level), g.levelmap.SpotY(level));
                Wait(Int(1, 30));
                break;
            case GS_OPTIONS: Options(); break;
            case GS_GAME: Battle(); break;
            default: break;
        }
    }

    void Battle() {
        cGame& g = *game;
        if (g.briefing) {
            // Read, then dive in.
            Wait(Int(10, 60));
            Key(SDLK_RETURN);
            return;
        }
        cUnit* su = g.selunit;
        if (!su || !su->IsPlayerControlled() || cGame::IsControlLocked() || su->actionpoint <= 0) {
            // The computer's turn or an action playing out: look around.
            if (Chance(0.3)) Move(float(Int(0, kLogicalW - 1)), float(Int(0, kLogicalH - 1)));
            Wait(Int(0, 6));
            return;
        }
        if (Chance(0.01)) {
            Key(SDLK_ESCAPE);
            stats.optionVisits++;
            return;
        }
        // A click the game refused leaves the action point: pass instead.
        if (su == actedOn && g.turn == actedTurn) {
            Key(SDLK_SPACE);
            stats.passes++;
            return;
        }
        actedOn = su;
        actedTurn = g.turn;
        auto [weakest, nearest] = FindBotTargets(g, su);
        stats.actions++;
        if (weakest) {
            tcellpos p = weakest->CentrePoint();
            Click(float(p.first + Int(-8, 8)), float(p.second + Int(-8, 8)));
        } else if (nearest) {
            tcellpos cell = BotStepCell(su, nearest);
            tcellpos c = g.cellToScreen(cell.first, cell.second);
            Click(float(c.first), float(c.second));
        } else {
            Key(SDLK_SPACE);
            stats.passes++;
        }
        Wait(Int(0, 10));
    }

    // Drags a slider or two somewhere, then goes back.
    void Options() {
        const float sliderX[3] = {178, 428, 678};
        int drags = Int(0, 3);
        for (int i = 0; i < drags; ++i) {
            int s = Int(0, 2);
            // The speed slider stays in its faster half so battles keep moving.
            float lo = s == 2 ? 0.6f : 0.0f;
            float from = sliderX[s] + 160 * std::uniform_real_distribution<float>(lo, 1)(rng);
            float to = sliderX[s] + 160 * std::uniform_real_distribution<float>(lo, 1)(rng);
            steps.push_back([=] { Button(true, from, 519); });
            for (int k = 1; k <= 4; ++k) {
                float x = from + (to - from) * float(k) / 4;
                steps.push_back([=] { MotionEvent(x, 519); });
            }
            steps.push_back([=] { Button(false, to, 519); });
        }
        Wait(Int(0, 30));
        Click(512, 618); // back
        Wait(5);
    }

    // Window-system events between actions.
    void MaybeDisturb() {
        SDL_Window* w = SDL_GL_GetCurrentWindow();
        if (!w) return;
        if (Chance(0.02)) {
            SDL_SetWindowFullscreen(w, 0);
            SDL_SetWindowSize(w, Int(320, 1600), Int(240, 1000));
            stats.resizes++;
            Wait(Int(1, 5));
        } else if (Chance(0.01)) {
            steps.push_back([=] { KeyEvent(SDLK_RETURN, true, KMOD_LALT); });
            steps.push_back([=] { KeyEvent(SDLK_RETURN, false, KMOD_LALT); });
            stats.fullscreenToggles++;
            Wait(Int(1, 5));
        } else if (Chance(0.01)) {
            PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
            PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
            steps.push_back([=] {
                PushWindowEvent(SDL_WINDOWEVENT_ENTER);
                PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
            });
            stats.focusChanges++;
        }
    }

    // Frames of 0 to 60 ms of extra work, and now and then a stall longer
    // than the engine passes on.
    void VaryFrameTime() {
        int ms = 0;
        if (Chance(0.002)) {
            ms = Int(100, 300);
            stats.stalls++;
        } else if (Chance(0.1)) {
            ms = Int(20, 60);
        } else if (Chance(0.3)) {
            ms = Int(1, 20);
        }
        if (ms) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

    void Wait(int frames) {
        for (int i = 0; i < frames; ++i) steps.push_back([] {});
    }
    // Press in one frame and release in the next, as a window system sends them.
    void Click(float x, float y) {
        steps.push_back([=] {
            MotionEvent(x, y);
            Button(true, x, y);
        });
        steps.push_back([=] { Button(false, x, y); });
    }
    void Move(float x, float y) {
        steps.push_back([=] { MotionEvent(x, y); });
    }
    void Key(SDL_Keycode key) {
        steps.push_back([=] { KeyEvent(key, true, KMOD_NONE); });
        steps.push_back([=] { KeyEvent(key, false, KMOD_NONE); });
    }

    // Frame pixels to window pixels through the current letterbox.
    static void ToWindow(float x, float y, int* wx, int* wy) {
        int ww = kLogicalW, wh = kLogicalH;
        if (SDL_Window* w = SDL_GL_GetCurrentWindow()) SDL_GetWindowSize(w, &ww, &wh);
        tideLetterbox box = tideLetterbox::Fit(ww, wh, kLogicalW, kLogicalH);
        *wx = box.x + int(x * float(box.w) / kLogicalW);
        *wy = box.y + int(y * float(box.h) / kLogicalH);
    }
    static Uint32 WindowId() {
        SDL_Window* w = SDL_GL_GetCurrentWindow();
        return w ? SDL_GetWindowID(w) : 0;
    }
    static void MotionEvent(float x, float y) { MouseEvent(SDL_MOUSEMOTION, x, y); }
    static void Button(bool down, float x, float y) {
        MouseEvent(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, x, y);
    }
    // At frame pixels (x, y), mapped into the window as the window system reports them.
    static void MouseEvent(Uint32 type, float x, float y) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.windowID = WindowId();
            ToWindow(x, y, &e.motion.x, &e.motion.y);
        } else {
            e.button.windowID = WindowId();
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.clicks = 1;
            ToWindow(x, y, &e.button.x, &e.button.y);
        }
        SDL_PushEvent(&e);
    }
    static void KeyEvent(SDL_Keycode key, bool down, Uint16 mod) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = WindowId();
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    static void PushWindowEvent(Uint8 event) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = WindowId();
        e.window.event = event;
        SDL_PushEvent(&e);
    }

    std::mt19937 rng;
    double limit;
    Clock::time_point start = Clock::now();
    double nextReport = 60;
    std::deque<std::function<void()>> steps;
    int level = 1;
    int lastState = -1;
    const cUnit* actedOn = nullptr;
    int actedTurn = -1;

public:
    Stats stats;
};

Player* player = nullptr;

bool LongplayFrame() { return player->Frame() || FrameFunc(); }

int Usage(const char* why) {
    std::fprintf(stderr, "thalomir-longplay: %s\nusage: thalomir-longplay [--minutes M] [--seed S] [--data DIR]\n",
                 why);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    double minutes = 10;
    unsigned seed = unsigned(std::random_device{}());
    std::string data;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (i + 1 >= argc) return Usage(("unexpected argument '" + a + "'").c_str());
        if (a == "--minutes") minutes = std::atof(argv[++i]);
        else if (a == "--seed") seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
        else if (a == "--data") data = argv[++i];
        else return Usage(("unexpected argument '" + a + "'").c_str());
    }
    if (!(minutes > 0)) return Usage("--minutes wants a positive number");
#if !defined(__SANITIZE_ADDRESS__)
    tideInstallCrashHandler(); // under the sanitizers their own reports say more
#endif
    std::printf("seed %u, %.1f minutes\n", seed, minutes);
    Player p(seed, minutes * 60);
    player = &p;

    tideinit();
    tide->System_SetState(TIDE_FRAMEFUNC, LongplayFrame);
    if (!data.empty()) tide->System_SetState(TIDE_DATAPATH, data.c_str());
    int status = 0;
    if (tide->System_Initiate()) {
        game = new cGame;
        tide->System_Start();
        delete game;
        game = nullptr;
    } else {
        std::fprintf(stderr, "thalomir-longplay: engine start failed: %s\n",
                     tide->System_GetErrorMessage());
        status = 1;
    }
    tide->System_Shutdown();
    tide->Release();
    p.Report("done");
    return status;
}
