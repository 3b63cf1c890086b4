// One square cell of the 16 by 12 battle board.
#pragma once

#include <utility>

class cUnit;

// Board coordinates (column, row) or a screen position (x, y).
typedef std::pair<int, int> tcellpos;

class cCell {
public:
    cCell(int x, int y) : x(x), y(y), scrx(0), scry(0), terran(0), unit(nullptr) {}
    cCell(const cCell&) = default;
    cCell& operator=(const cCell&) = default;
    virtual ~cCell() {}

    int GetX() const { return x; }
    int GetY() const { return y; }
    int GetScrX() const { return scrx; }
    int GetScrY() const { return scry; }
    void SetScr(tcellpos p) { scrx = p.first; scry = p.second; }
    cUnit* GetUnit() const { return unit; }
    bool NoUnit() const { return unit == nullptr; }
    bool AddUnit(cUnit* u) {
        if (unit || !u) return false;
        unit = u;
        return true;
    }
    bool RemUnit() {
        if (!unit) return false;
        unit = nullptr;
        return true;
    }

    int x;
    int y;
    int scrx;
    int scry;
    int terran;
    cUnit* unit;
};
