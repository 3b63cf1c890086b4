#include "tests/engine_gl/real_game.h"

#include <SDL.h>

#include <filesystem>
#include <memory>

#include "game/game.h"
#include "gui/gui.h"
#include "tests/engine_gl/sdl_events.h"
#include "tests/support/test_support.h"

cGame* game = nullptr;
tideGUI* gui = nullptr;
Tide* engine = nullptr;

namespace {

// The test's part of each frame, before the game's; true ends the run.
std::function<bool()> script;
int frames = 0;

bool frameFunc() {
    if (++frames > 20000) {
        ADD_FAILURE() << "the script did not finish";
        return true;
    }
    if (script()) return true;
    if (gui) gui->Update(engine->Timer_GetDelta());
    return game && game->update();
}

bool renderFunc() {
    if (game) game->render();
    return false;
}

}  // namespace

std::function<bool()> After(int n) {
    auto left = std::make_shared<int>(n);
    return [left] { return --*left < 0; };
}

void PushMouseMove(int x, int y) {
    SDL_Event m{};
    m.type = SDL_MOUSEMOTION;
    m.motion.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    m.motion.x = x;
    m.motion.y = y;
    PushSdlEvent(m);
}

void RealGameTest::SetUp() {
    dir = MakeTempDir();
    // Each run is a first run: no battle to continue, no progress, whatever
    // an earlier test left in the shared test home.
    const std::string user = dir + "/user/";
    const std::string config = user + "config", data = user + "data", state = user + "state";
    userDirs.emplace(std::initializer_list<std::pair<const char*, const char*>>{
        {"XDG_CONFIG_HOME", config.c_str()}, {"XDG_DATA_HOME", data.c_str()}, {"XDG_STATE_HOME", state.c_str()}});
    // A copy, as the game writes its settings and progress into res/.
    std::filesystem::copy(THALOMIR_SHIPPED_DATA_DIR "/res", dir + "/res",
                          std::filesystem::copy_options::recursive);
    engine = tide = tideCreate(TIDE_VERSION);
    tide->System_SetState(TIDE_DATAPATH, dir.c_str());
    tide->System_SetState(TIDE_SCREENWIDTH, 1024);
    tide->System_SetState(TIDE_SCREENHEIGHT, 768);
    tide->System_SetState(TIDE_USESOUND, false);
    tide->System_SetState(TIDE_FPS, 60);
    tide->System_SetState(TIDE_FRAMEFUNC, frameFunc);
    tide->System_SetState(TIDE_RENDERFUNC, renderFunc);
    if (!tide->System_Initiate()) GTEST_SKIP() << tide->System_GetErrorMessage();
    frames = 0;
}

void RealGameTest::TearDown() {
    delete game;
    game = nullptr;
    delete gui;
    gui = nullptr;
    script = nullptr;
    if (tide) {
        tide->System_Shutdown();
        tide->Release();
    }
    engine = nullptr;
    userDirs.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void RealGameTest::Run(std::vector<Step> steps) {
    size_t next = 0;
    int waited = 0;
    script = [&]() {
        if (next == steps.size()) return true;
        if (!steps[next].ready()) {
            if (++waited > 3000) {
                ADD_FAILURE() << "never ready: " << steps[next].what;
                return true;
            }
            return false;
        }
        waited = 0;
        steps[next++].act();
        return false;
    };
    ASSERT_TRUE(tide->System_Start());
    EXPECT_EQ(next, steps.size()) << "stopped before: " << (next < steps.size() ? steps[next].what : "");
}
