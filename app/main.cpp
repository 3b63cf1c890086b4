// Thalomir's entry point: sets up the engine, builds the game controller and
// runs the frame loop until the game or the window asks to stop.
#include <cstdio>

#include "app/command_line.h"
#include "app/console.h"
#include "engine/crash_handler.h"
#include "engine/tide.h"
#include "game/game.h"

Tide* tide = nullptr;
cGame* game = nullptr;

bool FrameFunc() { return game->update(); }

bool RenderFunc() {
    game->render();
    return false;
}

void tideinit() {
    tide = tideCreate(TIDE_VERSION);
    tide->System_SetState(TIDE_TITLE, "Thalomir");
    tide->System_SetState(TIDE_WINDOWED, true);
    tide->System_SetState(TIDE_SCREENWIDTH, 1024);
    tide->System_SetState(TIDE_SCREENHEIGHT, 768);
    tide->System_SetState(TIDE_SHOWSPLASH, false);
    tide->System_SetState(TIDE_HIDEMOUSE, true);
    tide->System_SetState(TIDE_FPS, 60);
    tide->System_SetState(TIDE_USESOUND, true);
    tide->System_SetState(TIDE_RENDERFUNC, RenderFunc);
    tide->System_SetState(TIDE_FRAMEFUNC, FrameFunc);
    tide->System_SetState(TIDE_LOGFILE, "log.txt");
}

int main(int argc, char** argv) {
    tideInstallCrashHandler();
    cCommandLine cmd;
    cmd.ParseProgramArgs(argc, argv);
    if (cmd.Exits()) {
        AttachParentConsole();
        return cmd.Finish();
    }
    tideinit();
    cmd.Apply(tide);
    int status = 0;
    if (tide->System_Initiate()) {
        game = new cGame;
        if (!cmd.level.empty()) game->PlayLevelFile(cmd.level);
        tide->System_Start();
    } else {
        // The log may be where nobody looks: the reason goes to the terminal too.
        std::fprintf(stderr, "thalomir: cannot start: %s\n", tide->System_GetErrorMessage());
        status = 1;
    }
    if (game) {
        delete game;
        game = nullptr;
    }
    tide->System_Shutdown();
    tide->Release();
    return status;
}
