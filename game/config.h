// Combat values of the unit kinds, and the configuration files they and the
// option settings are read from.
#pragma once

#include <map>
#include <string>

#include "engine/ini.h"
#include "units/unit_param.h"

struct st_global {
    st_unitparam aqua;
    st_unitparam torp;
    st_unitparam bati;
    st_unitparam medu;
    st_unitparam shark;
    st_unitparam paul;
};

// The configuration as the game reads it: the user's own config.txt over the
// shipped "Res\\config.txt", key by key. Each file is read once, at start,
// and the user's again as each save leaves it.
struct cConfig {
    tideIniFile shipped;
    tideIniFile user;
    // The option settings as a save writes them, by key; `saved` holds them
    // as this game last read or saved them.
    using Settings = std::map<std::string, std::string>;
    Settings saved;

    // The file whose value counts for a key: the user's when it has one, else
    // the shipped one; null when neither has it.
    const tideIniFile* Holding(const char* section, const char* key) const;
};
