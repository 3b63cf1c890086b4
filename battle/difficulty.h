// How well the sea creatures play: Easy is the plain greedy rule, Normal and
// Hard weigh where to stand and whom to strike. Chosen on the options screen,
// kept in the configuration as "difficulty" and fixed for a battle when its
// level is loaded.
#pragma once

#include <string>

enum class Difficulty { Easy, Normal, Hard };

const int kDifficulties = 3;

// The word the configuration file keeps: "easy", "normal", "hard".
const char* DifficultyName(Difficulty d);
bool ParseDifficulty(const std::string& name, Difficulty& out);
// The word the screens show: "Easy", "Normal", "Hard".
const char* DifficultyTitle(Difficulty d);
// A word from a settings file: blanks around it and case do not matter.
bool ReadDifficultySetting(const std::string& word, Difficulty& out);
