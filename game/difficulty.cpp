#include "game/difficulty.h"

#include <cctype>

namespace {

const char* const kKeys[kDifficulties] = {"easy", "normal", "hard"};
const char* const kNames[kDifficulties] = {"Easy", "Normal", "Hard"};

int Index(eDifficulty d) {
    int i = static_cast<int>(d);
    return i >= 0 && i < kDifficulties ? i : static_cast<int>(eDifficulty::Normal);
}

}  // namespace

const char* DifficultyKey(eDifficulty d) { return kKeys[Index(d)]; }

const char* DifficultyName(eDifficulty d) { return kNames[Index(d)]; }

bool ParseDifficulty(const std::string& word, eDifficulty& out) {
    std::size_t b = word.find_first_not_of(" \t\r\n");
    std::size_t e = word.find_last_not_of(" \t\r\n");
    if (b == std::string::npos) return false;
    std::string w;
    for (std::size_t i = b; i <= e; ++i)
        w += static_cast<char>(std::tolower(static_cast<unsigned char>(word[i])));
    for (int i = 0; i < kDifficulties; ++i)
        if (w == kKeys[i]) {
            out = static_cast<eDifficulty>(i);
            return true;
        }
    return false;
}
