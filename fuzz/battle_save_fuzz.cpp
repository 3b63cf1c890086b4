// Saved battles: the input is read as the game reads "battle.txt" at start.
// A battle it takes must be written back as the same battle, and the game
// then plays it from where it was saved.
#include <cstdio>
#include <cstdlib>

#include "fuzz/game_harness.h"
#include "game/game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine& fe = FuzzEngine::Get();
    cGame* game = FuzzGame(fe);
    const std::string text(reinterpret_cast<const char*>(data), size);
    BattleState s;
    std::string why;
    int starts = 0;
    if (game->ReadSavedBattle(text, s, why, starts) == BattleRead::Ok) {
        BattleState back;
        int again = -1;
        const std::string written = WriteBattle(s, starts);
        if (ReadBattle(written, back, &why, &again) != BattleRead::Ok || again != starts ||
            BattleHash(back) != BattleHash(s)) {
            std::fprintf(stderr, "fuzz: a battle read back differs (%s):\n%s", why.c_str(),
                         written.c_str());
            abort();
        }
        game->StartBattle(s, true);
        FuzzPlayBattle(fe, game);
    }
    FuzzEndBattle(fe, game);
    return 0;
}
