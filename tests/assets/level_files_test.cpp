// The shipped level files and configuration, read through the engine's INI
// access exactly as the game reads them.
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/ini.h"
#include "tests/assets/shipped_data.h"

namespace {

struct KindInfo {
    int size;
    bool player;
    bool melee;
    std::string section;  // configuration section with its combat values
};

struct Placed {
    std::string name;
    int x, y;
};

class LevelFiles : public ShippedData {
protected:
    // The kinds file's kinds, by name.
    std::map<std::string, KindInfo> Kinds() {
        tideIniFile f;
        EXPECT_TRUE(tide->Ini_Load("res\\kinds.txt", f));
        std::map<std::string, KindInfo> kinds;
        for (const std::string& name : f.Sections()) {
            tideIniSection s = f.Section(name);
            std::string section = name;
            for (char& c : section) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            kinds[name] = {s.GetInt("size", 0), s.GetString("side") == "player",
                           s.GetString("attack") == "melee", section};
        }
        return kinds;
    }

    // The campaign's level files, in order.
    std::vector<std::string> Levels() {
        tideIniFile f;
        EXPECT_TRUE(tide->Ini_Load("res\\campaign.txt", f));
        std::vector<std::string> files;
        for (int n = 1; !f.GetString("level" + std::to_string(n), "file").empty(); ++n)
            files.push_back(f.GetString("level" + std::to_string(n), "file"));
        EXPECT_GE(files.size(), 8u);
        return files;
    }

    std::vector<Placed> ReadLevel(const std::string& file) {
        tide->System_SetState(TIDE_INIFILE, file.c_str());
        std::vector<Placed> units;
        for (int i = 1; i < 50; i++) {
            std::string section = "unit" + std::to_string(i);
            std::string name = tide->Ini_GetString(section.c_str(), "name", "empty");
            if (name.rfind("empty", 0) == 0) break;
            units.push_back({name, tide->Ini_GetInt(section.c_str(), "x", -100),
                             tide->Ini_GetInt(section.c_str(), "y", -100)});
        }
        return units;
    }

    int Config(const std::string& section, const char* key) {
        tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
        return tide->Ini_GetInt(section.c_str(), key, -1);
    }
};

TEST_F(LevelFiles, EveryUnitIsKnownOnTheBoardAndAlone) {
    const std::map<std::string, KindInfo> kinds = Kinds();
    for (const std::string& file : Levels()) {
        SCOPED_TRACE(file);
        std::vector<Placed> units = ReadLevel(file);
        ASSERT_FALSE(units.empty());
        std::set<std::pair<int, int>> taken;
        bool player = false, computer = false;
        for (const Placed& u : units) {
            SCOPED_TRACE(u.name + " at " + std::to_string(u.x) + "," + std::to_string(u.y));
            // Exact names: the game would accept prefixes, but a typo should not pass.
            auto kind = kinds.find(u.name);
            ASSERT_NE(kind, kinds.end()) << "unknown unit";
            int s = kind->second.size;
            // The whole footprint inside the drawn board: columns 1..14, rows 1..9.
            EXPECT_GE(u.x, 1);
            EXPECT_GE(u.y, 1);
            EXPECT_LE(u.x + s - 1, 14);
            EXPECT_LE(u.y + s - 1, 9);
            for (int dx = 0; dx < s; dx++)
                for (int dy = 0; dy < s; dy++)
                    EXPECT_TRUE(taken.insert({u.x + dx, u.y + dy}).second)
                        << "overlaps another unit";
            (kind->second.player ? player : computer) = true;
        }
        EXPECT_TRUE(player) << "no player unit";
        EXPECT_TRUE(computer) << "no computer unit";
    }
}

TEST_F(LevelFiles, NoLevelFileHasAnUnreadSection) {
    // Reading stops at the first missing unit section; a gap would hide the rest.
    for (const std::string& file : Levels()) {
        size_t read = ReadLevel(file).size();
        tide->System_SetState(TIDE_INIFILE, file.c_str());
        for (size_t i = read + 2; i < 50; i++)
            EXPECT_STREQ(tide->Ini_GetString(("unit" + std::to_string(i)).c_str(), "name", "empty"),
                         "empty")
                << file << " section unit" << i << " is never read";
    }
}

TEST_F(LevelFiles, EnemyStrengthRisesFromLevelToLevel) {
    // Total enemy hit points, weighted by damage, must not drop much from
    // one level to the next (placement and the player's side matter too: the
    // difficulty itself is measured by the balance bands), and the player's
    // side must not grow faster than the enemy's.
    const std::map<std::string, KindInfo> kinds = Kinds();
    double previous = 0, previousRatio = 0;
    for (const std::string& file : Levels()) {
        double enemy = 0, player = 0;
        for (const Placed& u : ReadLevel(file)) {
            const KindInfo& k = kinds.at(u.name);
            double strength = Config(k.section, "health") * Config(k.section, "dmg");
            (k.player ? player : enemy) += strength;
        }
        EXPECT_GE(enemy, previous * 0.9) << file;
        EXPECT_GE(enemy / player, previousRatio * 0.9) << file;
        previous = enemy;
        previousRatio = enemy / player;
    }
}

TEST_F(LevelFiles, ConfigurationGivesEveryKindPlayableValues) {
    for (const auto& [name, kind] : Kinds()) {
        SCOPED_TRACE(name);
        EXPECT_GT(Config(kind.section, "health"), 0);
        EXPECT_GT(Config(kind.section, "dmg"), Config(kind.section, "armor"));
        tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
        float range = tide->Ini_GetFloat(kind.section.c_str(), "range", -1);
        // Everyone reaches a diagonal neighbour; nobody reaches the whole board.
        EXPECT_GE(range, std::sqrt(2.0f));
        EXPECT_LT(range, 10.0f);
    }
    for (const char* key : {"music", "sound", "speed"}) {
        EXPECT_GE(Config("options", key), 0) << key;
        EXPECT_LE(Config("options", key), 100) << key;
    }
}

TEST_F(LevelFiles, RangedKindsOutreachMeleeKinds) {
    tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    for (const auto& [name, kind] : Kinds()) {
        float range = tide->Ini_GetFloat(kind.section.c_str(), "range", 0);
        if (kind.melee)
            EXPECT_LT(range, 2.0f) << name << ": melee kinds reach only their neighbours";
        else
            EXPECT_GE(range, 3.0f) << name;
    }
}

}  // namespace
