// A unit kind's combat values, as the configuration gives them.
#pragma once

struct st_unitparam {
    int health;
    int dmg;
    int armor;
    float range;
};
