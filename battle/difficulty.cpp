#include "battle/difficulty.h"

#include <cctype>

namespace {

const char* const kNames[kDifficulties] = {"easy", "normal", "hard"};
const char* const kTitles[kDifficulties] = {"Easy", "Normal", "Hard"};

int Index(Difficulty d) {
    int i = static_cast<int>(d);
    return i >= 0 && i < kDifficulties ? i : static_cast<int>(Difficulty::Normal);
}

}  // namespace

const char* DifficultyName(Difficulty d) { return kNames[Index(d)]; }

const char* DifficultyTitle(Difficulty d) { return kTitles[Index(d)]; }

bool ParseDifficulty(const std::string& name, Difficulty& out) {
    for (int i = 0; i < kDifficulties; ++i)
        if (name == kNames[i]) {
            out = static_cast<Difficulty>(i);
            return true;
        }
    return false;
}

bool ReadDifficultySetting(const std::string& word, Difficulty& out) {
    std::size_t b = word.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return false;
    std::size_t e = word.find_last_not_of(" \t\r\n");
    std::string w;
    for (std::size_t i = b; i <= e; ++i)
        w += static_cast<char>(std::tolower(static_cast<unsigned char>(word[i])));
    return ParseDifficulty(w, out);
}
