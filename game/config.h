// Combat values of the unit kinds, read from the configuration file.
#pragma once

struct st_unitparam {
    int health;
    int dmg;
    int armor;
    float range;
};

struct st_global {
    st_unitparam aqua;
    st_unitparam torp;
    st_unitparam bati;
    st_unitparam medu;
    st_unitparam shark;
    st_unitparam paul;
};
