#include "game/campaign.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "engine/tide.h"

const char* const kCampaignFile = "res\\campaign.txt";

std::string LevelKey(const std::string& file) {
    std::size_t slash = file.find_last_of("/\\");
    std::string key = slash == std::string::npos ? file : file.substr(slash + 1);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

const cLevelInfo* cCampaign::Level(int n) const {
    return n >= 1 && n <= Count() ? &levels[static_cast<std::size_t>(n - 1)] : nullptr;
}

int cCampaign::Find(const std::string& key) const {
    for (int n = 1; n <= Count(); ++n)
        if (levels[static_cast<std::size_t>(n - 1)].key == key) return n;
    return 0;
}

bool cCampaign::Load(Tide* tide, const char* file) {
    levels.clear();
    tide->System_SetState(TIDE_INIFILE, file);
    auto get = [&](const std::string& section, const char* key) {
        return std::string(tide->Ini_GetString(section.c_str(), key, ""));
    };
    // The sections run [level1], [level2], ... up to the first one missing.
    for (int n = 1;; ++n) {
        std::string section = "level" + std::to_string(n);
        cLevelInfo l;
        l.file = get(section, "file");
        l.title = get(section, "title");
        std::string x = get(section, "x"), y = get(section, "y");
        if (l.file.empty() && l.title.empty() && x.empty() && y.empty()) break;
        if (l.file.empty()) {
            tide->System_Log("%s: [%s] names no level file (file=), skipped", file, section.c_str());
            continue;
        }
        if (x.empty() || y.empty())
            tide->System_Log("%s: [%s] has no spot on the map (x=, y=)", file, section.c_str());
        l.key = LevelKey(l.file);
        if (Find(l.key)) {
            tide->System_Log("%s: [%s] repeats %s, skipped", file, section.c_str(), l.file.c_str());
            continue;
        }
        if (l.title.empty()) l.title = "Level " + std::to_string(Count() + 1);
        l.x = tide->Ini_GetFloat(section.c_str(), "x", 0);
        l.y = tide->Ini_GetFloat(section.c_str(), "y", 0);
        l.par = std::max(0, tide->Ini_GetInt(section.c_str(), "par", 0));
        l.briefing = get(section, "briefing");
        levels.push_back(l);
    }
    if (levels.empty()) tide->System_Log("%s: no levels", file);
    return !levels.empty();
}
