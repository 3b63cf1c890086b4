// How well the sea creatures play: Easy is the plain greedy rule, Normal and
// Hard weigh where to stand and whom to strike. Chosen on the options screen,
// kept in the configuration as "difficulty" and fixed for a battle when its
// level is loaded.
#pragma once

#include <string>

enum class eDifficulty { Easy = 0, Normal = 1, Hard = 2 };

const int kDifficulties = 3;

// The word the configuration file keeps ("easy", "normal", "hard").
const char* DifficultyKey(eDifficulty d);
// The word the screens show ("Easy", "Normal", "Hard").
const char* DifficultyName(eDifficulty d);
// Reads a configuration word, ignoring case and surrounding blanks; false
// (and `out` untouched) for anything else.
bool ParseDifficulty(const std::string& word, eDifficulty& out);
