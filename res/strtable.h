// tideStringTable: named texts read from a "[TIDESTRINGTABLE]" file, for
// example the texts of a user interface kept apart from the code.
#pragma once

#include <cstddef>

#include "engine/tide.h"

struct NamedString {
    char name[64];  // at most 63 characters; longer names are cut
    char* string;   // owned copy of the text
    NamedString* next;
};

class tideStringTable {
public:
    explicit tideStringTable(const char* filename);
    ~tideStringTable();
    tideStringTable(const tideStringTable&) = delete;
    tideStringTable& operator=(const tideStringTable&) = delete;

    // Text of the last entry of that name in the file, or null; a name longer
    // than an entry's field is refused with one log line.
    const char* GetString(const char* name) const;

    NamedString* strings;  // last entry of the file first

private:
    void parse(const char* filename, const char* text);
    void add(const char* name, const char* text, size_t len);

    static Tide* tide;
};
