#include "fuzz/game_harness.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game/campaign.h"
#include "game/game.h"
#include "units/kind_registry.h"
#include "units/unit.h"

namespace {

typedef std::vector<std::pair<std::string, std::string>> Files;

std::string ReadShipped(const char* name) {
    std::string path = std::string(THALOMIR_ASSET_DATA) + "/" + name;
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        std::fprintf(stderr, "fuzz: can't read %s\n", path.c_str());
        abort();
    }
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool EndsWith(const std::string& s, const char* tail) {
    std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// A font of plain boxes for the printable characters.
std::string BoxFont() {
    std::string f = "[TIDEFONT]\nBitmap=boxes.png\n";
    char line[64];
    for (int c = 32; c < 127; ++c) {
        std::snprintf(line, sizeof line, "Char=%X,0,0,3,4,0,1\n", c);
        f += line;
    }
    return f;
}

// The script, configuration, unit kinds and campaign, and a stand-in for
// every file the script names.
Files GameFiles() {
    std::string script = ReadShipped("allres.txt");
    Files files = {{"Res\\allres.txt", script},
                   {"Res\\config.txt", ReadShipped("config.txt")},
                   {kKindsFile, ReadShipped("kinds.txt")},
                   {kCampaignFile, ReadShipped("campaign.txt")}};
    for (size_t open = script.find('"'); open != std::string::npos;) {
        size_t close = script.find('"', open + 1);
        if (close == std::string::npos) break;
        std::string name = script.substr(open + 1, close - open - 1);
        if (EndsWith(name, ".png")) files.emplace_back(name, FuzzPng());
        if (EndsWith(name, ".wav") || EndsWith(name, ".ogg")) files.emplace_back(name, FuzzWav());
        if (EndsWith(name, ".fnt")) {
            files.emplace_back(name, BoxFont());
            files.emplace_back(name.substr(0, name.find_last_of("\\/") + 1) + "boxes.png", FuzzPng());
        }
        open = script.find('"', close + 1);
    }
    return files;
}

bool GameFrame() { return cGame::Instance()->update(); }
bool GameRender() {
    cGame::Instance()->render();
    return false;
}

void ClickCell(FuzzEngine& fe, cCell* cell) {
    if (!cell) return;
    fe.hl->SetMouse(float(cell->GetScrX()), float(cell->GetScrY()));
    fe.hl->Key(TIDEK_LBUTTON, true);
    fe.hl->Frame(0.05f);
    fe.hl->Key(TIDEK_LBUTTON, false);
}

}  // namespace

cGame* FuzzGame(FuzzEngine& fe) {
    static const Files files = GameFiles();
    for (auto& [name, data] : files) fe.hl->SetMemoryFile(name.c_str(), data);
    static cGame* game = [&fe] {
        cGame* g = new cGame();
        fe.tide->System_SetState(TIDE_FRAMEFUNC, GameFrame);
        fe.tide->System_SetState(TIDE_RENDERFUNC, GameRender);
        return g;
    }();
    return game;
}

void FuzzPlayBattle(FuzzEngine& fe, cGame* game) {
    game->gamestate = GS_GAME;
    fe.hl->Frame(0.05f);
    if (cUnit* u = game->selunit; u && u->GetParent()) {
        cCell* c = u->GetParent();
        ClickCell(fe, game->GetCell(tcellpos(c->GetX() + u->GetSize(), c->GetY())));
    }
    for (int i = 0; i < 3; ++i) fe.hl->Frame(1.0f);
    for (cUnit* u : game->units) {
        if (!u->IsPlayerControlled()) {
            ClickCell(fe, u->GetParent());
            break;
        }
    }
    for (int i = 0; i < 4; ++i) fe.hl->Frame(1.0f);
}

void FuzzEndBattle(FuzzEngine& fe, cGame* game) {
    fe.hl->SetMemoryFile("res\\lvl1.txt", "");
    game->LoadLevel(1);
    fe.Reset();
}
