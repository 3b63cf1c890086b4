#include "res/name_index.h"

#include <functional>

uint64_t ResNameIndex::Hash(std::string_view name) {
    return std::hash<std::string_view>()(name);
}

ResDesc* ResNameIndex::Find(const char* name) const {
    if (slots.empty()) return nullptr;
    const uint64_t h = Hash(name);
    const size_t mask = slots.size() - 1;
    for (size_t i = size_t(h) & mask;; i = (i + 1) & mask) {
        const Slot& s = slots[i];
        if (!s.desc) return nullptr;
        if (s.hash == h && strcmp(s.name, name) == 0) return s.desc;
    }
}

void ResNameIndex::Put(const char* name, ResDesc* desc) {
    if ((used + 1) * 2 > slots.size()) Grow();
    const uint64_t h = Hash(name);
    const size_t mask = slots.size() - 1;
    for (size_t i = size_t(h) & mask;; i = (i + 1) & mask) {
        Slot& s = slots[i];
        if (!s.desc) {
            s = {h, desc, name};
            ++used;
            return;
        }
        if (s.hash == h && strcmp(s.name, name) == 0) {
            s.desc = desc;
            s.name = name;
            return;
        }
    }
}

void ResNameIndex::Clear() {
    slots.clear();
    used = 0;
}

void ResNameIndex::Grow() {
    std::vector<Slot> old;
    old.swap(slots);
    slots.resize(old.empty() ? 64 : old.size() * 2);
    const size_t mask = slots.size() - 1;
    for (const Slot& s : old) {
        if (!s.desc) continue;
        size_t i = size_t(s.hash) & mask;
        while (slots[i].desc) i = (i + 1) & mask;
        slots[i] = s;
    }
}
