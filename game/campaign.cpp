#include "game/campaign.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "engine/files.h"
#include "engine/ini.h"
#include "engine/tide.h"

const char* const kCampaignFile = "res\\campaign.txt";

namespace {

// "level" and a number from 1, any case.
bool ParseLevelSection(const std::string& name, int& n) {
    const std::string prefix = "level";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 6) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != prefix[i]) return false;
    n = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
        n = n * 10 + (name[i] - '0');
    }
    return n >= 1;
}

}  // namespace

std::string LevelFileFault(const std::string& path) {
    std::string text;
    tideFileStatus st = tideReadFile(path, text, kTideTextCap);
    if (!st) return st.why;
    if (tideIniFile(text, path).GetString("unit1", "name").empty())
        return path + " is not a level file: it has no [unit1] with a name=";
    return "";
}

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
    tideIniFile ini;
    if (!tide->Ini_Load(file, ini)) return false;  // the engine has said why
    Read(ini, tide);
    if (levels.empty()) tide->System_Log("%s: no levels", file);
    return !levels.empty();
}

void cCampaign::Read(const tideIniFile& ini, Tide* tide) {
    const char* file = ini.Name().c_str();
    // [level1], [level2], ...: ordered by their numbers, whatever the file's order.
    std::vector<std::pair<int, std::string>> sections;
    for (const std::string& name : ini.Sections()) {
        int n = 0;
        if (!ParseLevelSection(name, n)) {
            tide->System_Log("%s: [%s] is not a level section ([level1], [level2], ...), skipped", file,
                             name.c_str());
            continue;
        }
        sections.emplace_back(n, name);
    }
    std::sort(sections.begin(), sections.end());
    for (const auto& [n, name] : sections) {
        tideIniSection sec = ini.Section(name);
        cLevelInfo l;
        l.file = sec.GetString("file");
        if (l.file.empty()) {
            tide->System_Log("%s: [%s] names no level file (file=), skipped", file, name.c_str());
            continue;
        }
        l.key = LevelKey(l.file);
        if (Find(l.key)) {
            tide->System_Log("%s: [%s] repeats %s, skipped", file, name.c_str(), l.file.c_str());
            continue;
        }
        if (!sec.Has("x") || !sec.Has("y"))
            tide->System_Log("%s: [%s] has no spot on the map (x=, y=)", file, name.c_str());
        l.title = sec.GetString("title", "Level " + std::to_string(Count() + 1));
        l.x = sec.GetFloat("x", 0);
        l.y = sec.GetFloat("y", 0);
        l.par = std::max(0, sec.GetInt("par", 0));
        l.briefing = sec.GetString("briefing");
        levels.push_back(l);
    }
}
