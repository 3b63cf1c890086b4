// The page's "Export progress" and "Import progress" buttons call these.
#include <emscripten.h>

#include <string>

#include "game/game.h"

extern cGame* game;

extern "C" EMSCRIPTEN_KEEPALIVE const char* thalomir_export_progress() {
    static std::string text;
    text = game ? game->ExportProgress() : "";
    return text.c_str();
}

// What the page tells the player.
extern "C" EMSCRIPTEN_KEEPALIVE const char* thalomir_import_progress(const char* text) {
    if (!game) return "The game is not running.";
    if (!text || !game->ImportProgress(text))
        return "That file is not Thalomir progress; your progress is unchanged.";
    // The level choice shows what was read as soon as it is next drawn.
    return "Progress imported.";
}
