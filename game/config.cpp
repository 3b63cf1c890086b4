// The configuration file: the unit kinds' combat values and the option
// settings.
#include <algorithm>
#include <cctype>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "battle/battle_state.h"
#include "engine/files.h"
#include "game/game.h"
#include "gui/controls.h"
#include "units/kinds.h"

namespace {

const char* const kConfigFile = "Res\\config.txt";
const char* const kUserConfigFile = "config.txt";

const char* const kKindKeys[] = {"health", "dmg", "armor", "range"};

// A kind's section as config.txt spells it.
std::string LowerCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The shipped kinds' values also stand in cGame::global under these names.
const std::pair<const char*, st_unitparam st_global::*> kGlobalKinds[] = {
    {"aqua", &st_global::aqua},   {"torp", &st_global::torp},   {"bati", &st_global::bati},
    {"medu", &st_global::medu},   {"shark", &st_global::shark}, {"paul", &st_global::paul},
};

// A slider's value as the file stores it; the member it mirrors without one.
int SettingValue(const tideGUISlider* s, int fallback) {
    return s ? static_cast<int>(s->GetValue()) : fallback;
}

}  // namespace

const tideIniFile* cConfig::Holding(const char* section, const char* key) const {
    if (user.Has(section, key)) return &user;
    if (shipped.Has(section, key)) return &shipped;
    return nullptr;
}

namespace {

// A key's value as a number: `def` when neither file has it, and, with one
// log line naming the file, when its value is no number.
template <class T>
T ConfigNumber(cGame& g, const char* section, const char* key, T def,
               bool (*read)(const std::string&, T&)) {
    const tideIniFile* f = g.config.Holding(section, key);
    std::string text = f ? f->GetString(section, key) : "";
    T v = def;
    if (text.empty() || read(text, v)) return v;
    std::ostringstream shown;
    shown << def;
    g.tide->System_Log("%s: [%s] %s=%s is not a number; %s used", f->Name().c_str(), section, key,
                       text.c_str(), shown.str().c_str());
    return def;
}

// A kind's combat value a saved battle can hold, so that a battle begun with
// it can be continued; beyond that, one log line naming the file and `def`.
template <class T>
T KindValue(cGame& g, const char* kind, const char* key, T v, T def, T lo, T hi) {
    if (v >= lo && v <= hi) return v;  // a value that is no number is neither
    const tideIniFile* f = g.config.Holding(kind, key);
    std::ostringstream shown;
    shown << def;
    g.tide->System_Log("%s: [%s] %s=%s is beyond what a saved battle holds; %s used",
                       f ? f->Name().c_str() : kConfigFile, kind, key,
                       f ? f->GetString(kind, key).c_str() : "", shown.str().c_str());
    return def;
}

}  // namespace

int cGame::ConfigInt(const char* section, const char* key, int def) {
    return ConfigNumber(*this, section, key, def, tideIni::ReadInt);
}

float cGame::ConfigFloat(const char* section, const char* key, float def) {
    return ConfigNumber(*this, section, key, def, tideIni::ReadFloat);
}

bool cGame::ConfigHas(const char* section, const char* key) {
    const tideIniFile* f = config.Holding(section, key);
    return f && !f->GetString(section, key).empty();
}

std::string cGame::ConfigString(const char* section, const char* key, const char* def) {
    const tideIniFile* f = config.Holding(section, key);
    return f ? f->GetString(section, key) : std::string(def ? def : "");
}

void cGame::LoadData() {
    config = cConfig();
    tide->Ini_Load(kConfigFile, config.shipped);
    // A first run has no file of the user's, which is no news.
    std::string user = UserFile(TIDE_CONFIGDIR, kUserConfigFile, false);
    if (!user.empty() && tideExists(user)) tide->Ini_Load(user.c_str(), config.user);

    musicvolume = ConfigInt("options", "music", 50);
    std::string incomplete;
    // The kinds, then each kind's combat values from its section here.
    Kinds().Load(tide);
    for (cUnitKind& k : Kinds().kinds) {
        const char* name = k.name.c_str();
        st_unitparam& p = k.param;
        auto whole = [&](const char* key, int def) {
            return KindValue(*this, name, key, ConfigInt(name, key, def), def, -kMaxUnitValue,
                             kMaxUnitValue);
        };
        p.health = whole("health", 20);
        p.dmg = whole("dmg", 1);
        p.armor = whole("armor", 0);
        p.range = KindValue(*this, name, "range", ConfigFloat(name, "range", 100500), 100500.0f,
                            0.0f, std::numeric_limits<float>::max());
        bool complete = std::all_of(std::begin(kKindKeys), std::end(kKindKeys),
                                    [&](const char* key) { return ConfigHas(name, key); });
        if (!complete) incomplete += (incomplete.empty() ? "" : ", ") + LowerCase(k.name);
    }
    for (const auto& [name, param] : kGlobalKinds) {
        const cUnitKind* k = KindNamed(name);
        global.*param = k ? k->param : st_unitparam{20, 1, 0, 100500};
    }
    // The game plays on with the defaults, but a broken or partial file is named.
    if (!incomplete.empty())
        tide->System_Log("%s: defaults used for %s", kConfigFile, incomplete.c_str());
}

cConfig::Settings cGame::SettingsToSave() {
    return {
        {"music", std::to_string(SettingValue(music_sld, musicvolume))},
        {"sound", std::to_string(SettingValue(sound_sld, soundvolume))},
        {"speed", std::to_string(SettingValue(speed_sld, speed))},
        {"difficulty", DifficultyName(difficulty)},
    };
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
    // A setting still at the value this game last read or saved was not
    // changed here: it keeps whatever another game running beside this one
    // may have saved meanwhile.
    const cConfig::Settings settings = SettingsToSave();
    tideFileStatus st = tideUpdateFile(user, kTideTextCap, [&](std::string& text, bool) {
        for (const auto& [key, value] : settings) {
            std::string now;
            auto read = config.saved.find(key);
            if (read != config.saved.end() && read->second == value &&
                tideIni::Get(text, "options", key.c_str(), now))
                continue;
            text = tideIni::Set(text, "options", key.c_str(), value);
        }
        return true;
    });
    if (st) {
        config.saved = settings;
        settingsUnsaved = false;
    } else {
        if (!settingsUnsaved)
            tide->System_Log("Can't save the settings: %s; they last until the game ends", st.why.c_str());
        settingsUnsaved = true;
    }
}
