// The campaign: the levels of the level choice, in order, as the data
// folder's "res\campaign.txt" lists them, one section a level ([level1],
// [level2], ..., in the order of their numbers). How many levels there are is
// how many sections there are.
#pragma once

#include <string>
#include <vector>

class Tide;
class tideIniFile;

extern const char* const kCampaignFile;

struct cLevelInfo {
    std::string file;      // the level file, as the data folder names it ("res\lvl1.txt")
    std::string key;       // what progress is kept under (LevelKey of the file)
    std::string title;
    float x = 0, y = 0;    // centre of the level's spot on the level map
    int par = 0;           // turns a good win takes; 0 when none is given
    std::string briefing;  // told before the battle; empty for none
};

class cCampaign {
public:
    // Reads the campaign file. Every problem is one log line; a section that
    // names no level file is skipped. False when no level could be read.
    bool Load(Tide* tide, const char* file = kCampaignFile);
    // The same from a parsed file.
    void Read(const tideIniFile& ini, Tide* tide);

    int Count() const { return static_cast<int>(levels.size()); }
    const cLevelInfo* Level(int n) const;       // n from 1; null outside
    int Find(const std::string& key) const;     // the level's n, 0 when not in the campaign

    std::vector<cLevelInfo> levels;
};

// What keeps the file at host path `path` from being played as a level ("" when
// nothing): it must be readable and name a unit in [unit1], as every level does.
std::string LevelFileFault(const std::string& path);

// The name progress is kept under for a level file: its own name without
// folders, in lower case ("res\Lvl3.txt" -> "lvl3.txt"), as the data folder
// finds files whatever their case.
std::string LevelKey(const std::string& file);
