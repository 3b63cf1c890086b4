// What the page's tests read of the running game: the screen, the settings
// and the battle's units, as one line of JSON. Only in the web build.
#include <emscripten.h>

#include <string>

#include "game/game.h"
#include "units/unit.h"

extern cGame* game;

namespace {
// Whether the acting unit could attack `u` from where it stands.
bool reach(cUnit* u) {
    cUnit* su = game->selunit;
    return su && su != u && game->UnitDistance(su, u) <= su->GetRange();
}
}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* thalomir_web_probe() {
    static std::string out;
    if (!game) return "{}";
    out = "{\"state\":" + std::to_string(game->gamestate) +
          ",\"maxlvl\":" + std::to_string(game->MaxOpenLevel()) +
          ",\"music\":" + std::to_string(game->musicvolume) +
          ",\"locks\":" + std::to_string(cGame::locklvl) +
          ",\"turn\":" + std::to_string(cGame::turn) + ",\"units\":[";
    for (size_t i = 0; i < game->units.size(); i++) {
        cUnit* u = game->units[i];
        const cCell* c = u->GetParent();
        out += (i ? "," : "") + std::string("{\"x\":") + std::to_string(c ? c->GetX() : -1) +
               ",\"y\":" + std::to_string(c ? c->GetY() : -1) +
               ",\"hp\":" + std::to_string(u->GetHealth()) +
               ",\"player\":" + (u->IsPlayerControlled() ? "true" : "false") +
               ",\"size\":" + std::to_string(u->GetSize()) +
               ",\"range\":" + std::to_string(u->GetRange()) +
               ",\"ap\":" + std::to_string(u->actionpoint) +
               ",\"acting\":" + (u == game->selunit ? "true" : "false") +
               ",\"inrange\":" + (reach(u) ? "true" : "false") + "}";
    }
    out += "]}";
    return out.c_str();
}
