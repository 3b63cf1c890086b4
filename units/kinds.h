// The six unit kinds. A kind only binds its resources and traits in its
// constructor; all behaviour is cUnit's.
#pragma once

#include "units/unit.h"

// Player side.
class cAqua : public cUnit {
public:
    cAqua();
};

class cTorp : public cUnit {
public:
    cTorp();
};

class cBati : public cUnit {
public:
    cBati();
};

// Computer side.
class cPaul : public cUnit {
public:
    cPaul();
};

class cShark : public cUnit {
public:
    cShark();
};

class cMedu : public cUnit {
public:
    cMedu();
    bool IsMedu() override { return true; }
};
