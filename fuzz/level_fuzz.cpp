// Level files: the input is loaded as level 1 into the board of a headless
// game, which then plays a few battle frames with a move and an attack click.
#include "fuzz/game_harness.h"
#include "game/game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine& fe = FuzzEngine::Get();
    cGame* game = FuzzGame(fe);
    fe.hl->SetMemoryFile("res\\lvl1.txt", std::string(reinterpret_cast<const char*>(data), size));
    game->LoadLevel(1);
    FuzzPlayBattle(fe, game);
    FuzzEndBattle(fe, game);
    return 0;
}
