// The resources the game draws with, looked up by name. Each one is required,
// but a broken data folder must not end the game: a name the resource
// manager cannot give yields null, which the drawing code skips, and is
// logged once per game, so that a name asked for every frame does not flood
// the log.
#include <set>
#include <string>

#include "game/game.h"
#include "res/resource_manager.h"

namespace {

std::set<std::string> reported;  // "kind name" of every miss logged so far

template <class T>
T* Need(const char* kind, const char* name, T* (tideResourceManager::*get)(const char*)) {
    tideResourceManager* rm = cGame::resman;
    if (!rm || !name) return nullptr;
    T* res = (rm->*get)(name);
    if (!res && reported.insert(std::string(kind) + " " + name).second) {
        Tide* tide = tideCreate(TIDE_VERSION);
        tide->System_Log("missing %s: %s", kind, name);
        tide->Release();
    }
    return res;
}

}  // namespace

tideSprite* cGame::NeedSprite(const char* name) {
    return Need("sprite", name, &tideResourceManager::GetSprite);
}

tideAnimation* cGame::NeedAnimation(const char* name) {
    return Need("animation", name, &tideResourceManager::GetAnimation);
}

tideFont* cGame::NeedFont(const char* name) {
    return Need("font", name, &tideResourceManager::GetFont);
}

void cGame::ForgetMissing() { reported.clear(); }
