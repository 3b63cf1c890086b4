// The configuration file: the unit kinds' combat values and the option
// settings.
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/game.h"
#include "gui/controls.h"

namespace {

const char* const kConfigFile = "Res\\config.txt";
const char* const kUserConfigFile = "config.txt";

struct KindSection {
    const char* name;
    st_unitparam st_global::*param;
};

const char* const kKindKeys[] = {"health", "dmg", "armor", "range"};

const KindSection kKindSections[] = {
    {"aqua", &st_global::aqua},   {"torp", &st_global::torp},   {"bati", &st_global::bati},
    {"medu", &st_global::medu},   {"shark", &st_global::shark}, {"paul", &st_global::paul},
};

// A slider's value as the file stores it; the member it mirrors without one.
int SettingValue(const tideGUISlider* s, int fallback) {
    return s ? static_cast<int>(s->GetValue()) : fallback;
}

// The files to read, in order: the shipped defaults, then the user's file
// over them when there is one (a first run has none, which is no news).
std::vector<std::string> ConfigFiles(cGame& g) {
    std::vector<std::string> files{kConfigFile};
    std::string user = g.UserFile(TIDE_CONFIGDIR, kUserConfigFile, false);
    if (!user.empty() && access(user.c_str(), F_OK) == 0) files.push_back(user);
    return files;
}

}  // namespace

int cGame::ConfigInt(const char* section, const char* key, int def) {
    for (const std::string& f : ConfigFiles(*this)) {
        tide->System_SetState(TIDE_INIFILE, f.c_str());
        def = tide->Ini_GetInt(section, key, def);
    }
    return def;
}

float cGame::ConfigFloat(const char* section, const char* key, float def) {
    for (const std::string& f : ConfigFiles(*this)) {
        tide->System_SetState(TIDE_INIFILE, f.c_str());
        def = tide->Ini_GetFloat(section, key, def);
    }
    return def;
}

bool cGame::ConfigHas(const char* section, const char* key) {
    for (const std::string& f : ConfigFiles(*this)) {
        tide->System_SetState(TIDE_INIFILE, f.c_str());
        if (*tide->Ini_GetString(section, key, "")) return true;
    }
    return false;
}

std::string cGame::ConfigString(const char* section, const char* key, const char* def) {
    std::string value = def;
    for (const std::string& f : ConfigFiles(*this)) {
        tide->System_SetState(TIDE_INIFILE, f.c_str());
        // The engine's buffer is reused by the next call: copied at once.
        value = tide->Ini_GetString(section, key, value.c_str());
    }
    return value;
}

void cGame::LoadData() {
    musicvolume = ConfigInt("options", "music", 50);
    std::string incomplete;
    for (const KindSection& k : kKindSections) {
        st_unitparam& p = global.*k.param;
        p.health = ConfigInt(k.name, "health", 20);
        p.dmg = ConfigInt(k.name, "dmg", 1);
        p.armor = ConfigInt(k.name, "armor", 0);
        p.range = ConfigFloat(k.name, "range", 100500);
        bool complete = std::all_of(std::begin(kKindKeys), std::end(kKindKeys),
                                    [&](const char* key) { return ConfigHas(k.name, key); });
        if (!complete) incomplete += (incomplete.empty() ? "" : ", ") + std::string(k.name);
    }
    // The game plays on with the defaults, but a broken or partial file is named.
    if (!incomplete.empty())
        tide->System_Log("%s: defaults used for %s", kConfigFile, incomplete.c_str());
}

void cGame::SaveOptions() {
    std::string user = UserFile(TIDE_CONFIGDIR, kUserConfigFile, true);
    if (user.empty()) {
        // No home to write to: the game plays on with the settings it holds.
        if (!settingsUnsaved)
            tide->System_Log("Can't save the settings: no folder for %s; they last until the game ends",
                             kUserConfigFile);
        settingsUnsaved = true;
        return;
    }
    // Loading a level makes the level file the current INI file.
    tide->System_SetState(TIDE_INIFILE, user.c_str());
    tide->Ini_SetInt("options", "music", SettingValue(music_sld, musicvolume));
    tide->Ini_SetInt("options", "sound", SettingValue(sound_sld, soundvolume));
    tide->Ini_SetInt("options", "speed", SettingValue(speed_sld, speed));
    tide->Ini_SetString("options", "difficulty", DifficultyName(difficulty));
}
