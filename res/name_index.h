// ResNameIndex: the descriptions of one kind's list by name, beside the list.
// Open addressing over (hash, description) pairs keeps a lookup to one or two
// cache lines however many thousands of names a script declares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class ResDesc;

class ResNameIndex {
public:
    // The description filed under `name`, or null.
    ResDesc* Find(const char* name) const;
    // Files `desc` under `name`, which must be the description's own name
    // and stay unchanged while it is filed; a description already filed
    // under that name is replaced.
    void Put(const char* name, ResDesc* desc);
    void Clear();

private:
    struct Slot {
        uint64_t hash = 0;
        ResDesc* desc = nullptr;
        const char* name = nullptr;
    };

    static uint64_t Hash(std::string_view name);
    void Grow();

    std::vector<Slot> slots;  // a power of two in size, at most half full
    size_t used = 0;
};
