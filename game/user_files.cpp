// Where the game keeps the user's own files. The folders themselves are
// decided by the engine (engine/paths.h); the game only names its files.
#include <string>

#include "engine/paths.h"
#include "game/game.h"

std::string cGame::UserFile(tideStringState folder, const char* name, bool create) {
    const char* dir = tide->System_GetState(folder);
    if (!dir || !*dir || !name || !*name) return "";
    // Taken exactly as given: the data files' lookup in any case and with
    // back slashes is not for the user's folders.
    std::string path = std::string(dir) + "/" + name;
    return !create || tideMakeUserDir(dir) ? path : "";
}
