// The shipped level files and configuration, read through the engine's INI
// access exactly as the game reads them.
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/assets/shipped_data.h"

namespace {

struct KindInfo {
    int size;
    bool player;
    const char* section;  // configuration section with its combat values
};

const std::map<std::string, KindInfo>& Kinds() {
    static const std::map<std::string, KindInfo> k = {
        {"Aqua", {1, true, "aqua"}},  {"Torp", {1, true, "torp"}},    {"Bati", {2, true, "bati"}},
        {"Medu", {1, false, "medu"}}, {"Shark", {2, false, "shark"}}, {"Paul", {2, false, "paul"}},
    };
    return k;
}

struct Placed {
    std::string name;
    int x, y;
};

class LevelFiles : public ShippedData {
protected:
    std::vector<Placed> ReadLevel(int n) {
        std::string file = "res\\lvl" + std::to_string(n) + ".txt";
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

    int Config(const char* section, const char* key) {
        tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
        return tide->Ini_GetInt(section, key, -1);
    }
};

TEST_F(LevelFiles, EveryUnitIsKnownOnTheBoardAndAlone) {
    for (int n = 1; n <= 8; n++) {
        SCOPED_TRACE("level " + std::to_string(n));
        std::vector<Placed> units = ReadLevel(n);
        ASSERT_FALSE(units.empty());
        std::set<std::pair<int, int>> taken;
        bool player = false, computer = false;
        for (const Placed& u : units) {
            SCOPED_TRACE(u.name + " at " + std::to_string(u.x) + "," + std::to_string(u.y));
            // Exact names: the game would accept prefixes, but a typo should not pass.
            auto kind = Kinds().find(u.name);
            ASSERT_NE(kind, Kinds().end()) << "unknown unit";
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
    for (int n = 1; n <= 8; n++) {
        size_t read = ReadLevel(n).size();
        std::string file = "res\\lvl" + std::to_string(n) + ".txt";
        tide->System_SetState(TIDE_INIFILE, file.c_str());
        for (size_t i = read + 2; i < 50; i++)
            EXPECT_STREQ(tide->Ini_GetString(("unit" + std::to_string(i)).c_str(), "name", "empty"),
                         "empty")
                << "level " << n << " section unit" << i << " is never read";
    }
}

TEST_F(LevelFiles, EnemyStrengthRisesFromLevelToLevel) {
    // Total enemy hit points, weighted by damage, must not drop much from
    // one level to the next (placement and the player's side matter too: the
    // difficulty itself is measured by the balance bands), and the player's
    // side must not grow faster than the enemy's.
    double previous = 0, previousRatio = 0;
    for (int n = 1; n <= 8; n++) {
        double enemy = 0, player = 0;
        for (const Placed& u : ReadLevel(n)) {
            const KindInfo& k = Kinds().at(u.name);
            double strength = Config(k.section, "health") * Config(k.section, "dmg");
            (k.player ? player : enemy) += strength;
        }
        EXPECT_GE(enemy, previous * 0.9) << "level " << n;
        EXPECT_GE(enemy / player, previousRatio * 0.9) << "level " << n;
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
        float range = tide->Ini_GetFloat(kind.section, "range", -1);
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
    float melee = 0;
    for (const char* k : {"torp", "shark", "paul"})
        melee = std::max(melee, tide->Ini_GetFloat(k, "range", 0));
    EXPECT_LT(melee, 2.0f) << "melee kinds reach only their neighbours";
    for (const char* k : {"aqua", "bati", "medu"})
        EXPECT_GE(tide->Ini_GetFloat(k, "range", 0), 3.0f) << k;
}

}  // namespace
