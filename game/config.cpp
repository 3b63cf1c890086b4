// The configuration file: the unit kinds' combat values and the option
// settings.
#include <algorithm>
#include <string>

#include "game/game.h"
#include "gui/controls.h"

namespace {

const char* const kConfigFile = "Res\\config.txt";

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

}  // namespace

void cGame::LoadData() {
    tide->System_SetState(TIDE_INIFILE, kConfigFile);
    musicvolume = tide->Ini_GetInt("options", "music", 50);
    std::string incomplete;
    for (const KindSection& k : kKindSections) {
        st_unitparam& p = global.*k.param;
        p.health = tide->Ini_GetInt(k.name, "health", 20);
        p.dmg = tide->Ini_GetInt(k.name, "dmg", 1);
        p.armor = tide->Ini_GetInt(k.name, "armor", 0);
        p.range = tide->Ini_GetFloat(k.name, "range", 100500);
        bool complete = std::all_of(std::begin(kKindKeys), std::end(kKindKeys),
                                    [&](const char* key) { return *tide->Ini_GetString(k.name, key, ""); });
        if (!complete) incomplete += (incomplete.empty() ? "" : ", ") + std::string(k.name);
    }
    // The game plays on with the defaults, but a broken or partial file is named.
    if (!incomplete.empty())
        tide->System_Log("%s: defaults used for %s", kConfigFile, incomplete.c_str());
}

void cGame::SaveOptions() {
    // Loading a level makes the level file the current INI file.
    tide->System_SetState(TIDE_INIFILE, kConfigFile);
    tide->Ini_SetInt("options", "music", SettingValue(music_sld, musicvolume));
    tide->Ini_SetInt("options", "sound", SettingValue(sound_sld, soundvolume));
    tide->Ini_SetInt("options", "speed", SettingValue(speed_sld, speed));
}
