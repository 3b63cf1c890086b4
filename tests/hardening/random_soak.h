// The random-input soak: the real game on the shipped data, driven by seeded
// random mouse and keyboard input with random frame times, its invariants
// checked after every frame. A run stops at its first finding, which names
// the seed and the frame so that it can be played again.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class cGame;

struct RandomSoakReport {
    long long frames = 0;
    long long framesOn[4] = {};  // per game state: menu, options, level choice, battle
    int battlesStarted = 0;
    std::map<int, int> levelsStarted;          // battles started per campaign level
    int victories = 0, defeats = 0, left = 0;  // battles ended each way
    int sessions = 1;                          // a new game after every Exit
    int longestStep = 0;                       // most battle frames with input one step took
    std::vector<std::string> findings;

    int BattlesEnded() const { return victories + defeats + left; }
    std::string Summary() const;
};

// Plays `frames` frames from `seed` on a game over the data folder `dataDir`.
RandomSoakReport RunRandomSoak(const std::string& dataDir, long long frames, uint64_t seed);

// What is wrong with the game's battle bookkeeping, or an empty string: the
// lock count, the game state, the board against the unit list, the acting
// unit and the turn order's action points.
std::string BattleInvariantFault(const cGame& g);
