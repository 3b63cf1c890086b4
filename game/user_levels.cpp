// The player's own levels: level files in "levels" of the user's data folder,
// listed on the level choice after the campaign as "Your levels", open from
// the start and played as --level plays a file. A file that cannot be played
// is listed with the reason and does nothing.
#include <algorithm>

#include "engine/files.h"
#include "game/game.h"
#include "gfx/font.h"
#include "gui/controls.h"

namespace {

const char* const kLevelsFolder = "levels";
// Beside the level choice's Back button, where no campaign spot lies.
const float kListX = 60, kListY = 470, kListW = 330, kListRows = 6;

// A name as the list shows it: at most the list's width of characters.
std::string Shown(const std::string& text) {
    return text.size() <= tideGUIListbox::MAX_ITEM_CHARS ? text
                                                         : text.substr(0, tideGUIListbox::MAX_ITEM_CHARS - 3) + "...";
}

}  // namespace

void cGame::FindUserLevels() {
    std::vector<cUserLevel> before;
    before.swap(userLevels);
    std::string dir = UserFile(TIDE_USERDATADIR, kLevelsFolder, false);
    if (!dir.empty())
        for (const std::string& name : tideListFolder(dir)) {
            std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : "";
            std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
            if (ext != ".txt") continue;
            std::string path = dir + "/" + name;
            userLevels.push_back({name, path, LevelFileFault(path)});
        }
    std::sort(userLevels.begin(), userLevels.end(),
              [](const cUserLevel& a, const cUserLevel& b) { return a.name < b.name; });
    // Said once per file and fault, not at each look into the folder.
    for (const cUserLevel& l : userLevels) {
        bool known = std::any_of(before.begin(), before.end(), [&](const cUserLevel& b) {
            return b.path == l.path && b.fault == l.fault;
        });
        if (!l.fault.empty() && !known)
            tide->System_Log("your levels: %s cannot be played: %s", l.name.c_str(), l.fault.c_str());
    }

    if (!userList && userLevels.empty()) return;  // the level choice as it always was
    if (!userList) {
        float row = fnt1 ? fnt1->GetHeight() : 16.0f;
        userList = new tideGUIListbox(ID_USER_LEVELS, kListX, kListY, kListW, row * kListRows + 4, fnt1,
                                      0xFFFFF1C4, 0xFFFFFFFF, 0x6039A0C0);
        chlvlgui->AddCtrl(userList);
    }
    userList->Clear();
    for (const cUserLevel& l : userLevels)
        userList->AddItem(Shown(l.fault.empty() ? l.name : l.name + " (cannot be played)").c_str());
    chlvlgui->ShowCtrl(ID_USER_LEVELS, !userLevels.empty());
    chlvlgui->EnableCtrl(ID_USER_LEVELS, !userLevels.empty());
}

void cGame::RenderUserLevels() {
    if (userLevels.empty() || !fnt1) return;
    fnt1->printf(kListX, kListY - fnt1->GetHeight() - 4, TEXT_LEFT, "Your levels");
    // Why the selected file cannot be played, under the list.
    int n = userList->GetSelectedItem();
    if (n >= 0 && n < static_cast<int>(userLevels.size()) && !userLevels[n].fault.empty())
        fnt1->printf(kListX, kListY + userList->rect.y2 - userList->rect.y1 + 6, TEXT_LEFT, "%s",
                     Shown(userLevels[n].fault).c_str());
}

void cGame::PlayUserLevel() {
    int n = userList ? userList->GetSelectedItem() : -1;
    if (n < 0 || n >= static_cast<int>(userLevels.size()) || !userLevels[n].fault.empty()) return;
    PlayLevelFile(userLevels[n].path);
}
