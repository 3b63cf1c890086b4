// Where the game keeps the user's own files. The folders themselves are
// decided by the engine (engine/paths.h); the game only names its files.
#include <string>

#include "engine/paths.h"
#include "game/game.h"

std::string cGame::UserFile(tideStringState folder, const char* name, bool create) {
    const char* dir = tide->System_GetState(folder);
    if (!dir || !*dir || !name || !*name) return "";
    // A portable data folder may spell its "res" folder in any case.
    std::string wanted = std::string(dir) + "/" + name;
    if (std::string found = tideResolvePath("", wanted.c_str(), false); !found.empty()) return found;
    std::string folderFound = tideResolvePath("", dir, false);
    if (!folderFound.empty()) return folderFound + "/" + name;
    return !create || tideMakeUserDir(dir) ? wanted : "";
}
