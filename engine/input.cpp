#include "engine/input.h"

namespace {
// Edges a flood of events may hold back; past this the rest are dropped.
const size_t kMaxHeldBack = 64;
}  // namespace

void tideInput::KeyEvent(int vk, bool down) {
    if (!valid(vk)) return;
    bool queued = false;
    for (const Edge& e : later) queued = queued || e.vk == vk;
    if (!queued && down && held[vk]) {
        lastKey = vk; // auto-repeat: no edge, so it never waits
    } else if (!queued && !hasEdge(vk)) {
        apply(vk, down);
    } else if (later.size() < kMaxHeldBack) {
        later.push_back({vk, down});
    }
}

void tideInput::apply(int vk, bool down) {
    if (down) {
        if (!held[vk]) wentDown[vk] = true;
        lastKey = vk;
        held[vk] = true;
    } else {
        if (held[vk]) wentUp[vk] = true;
        held[vk] = false;
    }
}

void tideInput::CharEvent(int c) {
    if (c > 0) lastChar = c;
}

void tideInput::EndFrame() {
    wentDown.reset();
    wentUp.reset();
    lastKey = 0;
    lastChar = 0;
    wheel = 0;
    std::vector<Edge> still;
    for (const Edge& e : later) {
        bool blocked = hasEdge(e.vk);
        for (const Edge& s : still) blocked = blocked || s.vk == e.vk;
        if (blocked)
            still.push_back(e);
        else
            apply(e.vk, e.down);
    }
    later.swap(still);
}

void tideInput::ReleaseAll() {
    later.clear();
    for (int vk = 0; vk < 256; vk++)
        if (held[vk]) KeyEvent(vk, false);
}
