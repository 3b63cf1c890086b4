// The player's saved progress: for each level, kept under its file's name
// (LevelKey), whether it was won and the best stars earned on each
// difficulty. Which levels are open follows from the campaign's order, so
// adding, moving or removing a level never loses a win.
#pragma once

#include <map>
#include <string>

#include "battle/difficulty.h"

// The format written; files of a newer one are read but never written over.
const int kProgressVersion = 2;

const int kMaxStars = 3;

struct cLevelRecord {
    bool won = false;
    int stars[kDifficulties] = {};  // best so far, 0..kMaxStars, by Difficulty

    bool Empty() const;
    bool operator==(const cLevelRecord& o) const;
};

enum class cProgressRead {
    Ok,       // read whole
    Newer,    // a newer format: what it shares with ours was read; never write it
    Damaged,  // not a text this program (or its predecessor) could have written
};

struct cProgress {
    std::map<std::string, cLevelRecord> levels;  // by level key

    bool Won(const std::string& key) const;
    int BestStars(const std::string& key, Difficulty d) const;
    // Each returns true when it changed anything.
    bool Win(const std::string& key);
    bool RecordStars(const std::string& key, Difficulty d, int stars);

    // Two saves of the same player together: a level is won if either has
    // it won, with the better stars of the two on each difficulty.
    static cProgress Merge(const cProgress& a, const cProgress& b);

    // The file's text, and reading it back, today's format or its
    // predecessor ("maxlvl" and "won" by level number: level n is the
    // level file "lvl<n>.txt", and every level below maxlvl had been won).
    std::string Text() const;
    static cProgressRead Read(const std::string& text, cProgress& out);

    bool operator==(const cProgress& o) const { return levels == o.levels; }
};
