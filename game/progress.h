// The campaign's saved progress: the highest unlocked level and the levels
// won, kept in a small text file of their own.
#pragma once

#include <string>

#include "engine/tide.h"

const int kLastLevel = 8;

struct cProgress {
    int maxlvl = 1;
    unsigned won = 0;  // bit n - 1 set: level n was won

    bool Won(int n) const { return n >= 1 && n <= kLastLevel && ((won >> (n - 1)) & 1u); }
    // Winning level n unlocks level n + 1, never more and never past the last
    // level. Returns true when anything changed.
    bool Win(int n);
    // Takes in what another game running beside this one saved meanwhile:
    // every level won in either, the furthest either reached.
    void Merge(const cProgress& other);

    // The file's text, and reading it back: false for anything that is not a
    // text this program could have written.
    std::string Text() const;
    static bool Parse(const std::string& text, cProgress& out);
};

// The one place that says where the progress file lives on this host.
std::string ProgressFile(Tide* tide);
