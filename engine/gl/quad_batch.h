// The CPU side of the batched quad renderer: consecutive quads that share
// a texture and a blend state collect here until one draw call sends them.
#pragma once

#include <cstring>
#include <memory>
#include <vector>

#include "engine/tide.h"

// Everything a draw call fixes for all its quads.
struct tideBatchState {
    unsigned texture = 0; // GL texture name
    int blend = 0;        // effective blend bits
    bool operator==(const tideBatchState&) const = default;
};

class tideQuadBatch {
public:
    static constexpr int kCapacity = 4000; // quads; 4 vertices each fit 16-bit indices

    tideQuadBatch() : vertices(new tideVertex[kCapacity * 4]) {}

    // True when a quad with this state can join the pending run; otherwise
    // the run has to be drawn first.
    bool Fits(const tideBatchState& s) const {
        return count == 0 || (count < kCapacity && s == state);
    }
    // Appends a quad; the caller has checked Fits.
    void Add(const tideBatchState& s, const tideVertex* v) {
        state = s;
        Append(v);
    }
    // Appends a quad of the pending run's state; the caller has checked there is room.
    void Append(const tideVertex* v) {
        std::memcpy(&vertices[count * 4], v, 4 * sizeof(tideVertex));
        count++;
    }
    void Clear() { count = 0; }
    // Passes each pending quad's four vertices to `keep`, which may change
    // them and returns false to drop the quad; the rest keep their order.
    template <class Keep>
    void Rewrite(Keep keep) {
        int kept = 0;
        for (int i = 0; i < count; i++) {
            tideVertex* v = &vertices[i * 4];
            if (!keep(v)) continue;
            if (kept != i) std::memcpy(&vertices[kept * 4], v, 4 * sizeof(tideVertex));
            kept++;
        }
        count = kept;
    }

    // One pending quad to be replaced by `count` quads, in order.
    struct Split {
        int quad, count;
    };
    // Replaces quads by others (the splits in increasing order of quad, their
    // quads one after another in `quads`); the rest keep their order. False,
    // changing nothing, when they do not fit.
    bool Splice(const std::vector<Split>& splits, const tideVertex* quads) {
        int added = 0, total = 0;
        for (const Split& s : splits) {
            added += s.count - 1;
            total += s.count;
        }
        if (count + added > kCapacity) return false;
        tideVertex* v = vertices.get();
        int src = count, dst = count + added; // ends of what is still to move
        const tideVertex* from = quads + total * 4;
        for (auto s = splits.rbegin(); s != splits.rend(); ++s) {
            const int tail = src - (s->quad + 1);
            src -= tail;
            dst -= tail;
            std::memmove(&v[dst * 4], &v[src * 4], size_t(tail) * 4 * sizeof(tideVertex));
            from -= s->count * 4;
            dst -= s->count;
            std::memcpy(&v[dst * 4], from, size_t(s->count) * 4 * sizeof(tideVertex));
            src--;
        }
        count += added;
        return true;
    }

    // Direct writing by the engine's quad run: where the next quad goes, the
    // end of the room, and taking over the count from the run's position.
    tideVertex* WritePos() { return &vertices[count * 4]; }
    tideVertex* Limit() { return &vertices[kCapacity * 4]; }
    void SyncTo(const tideVertex* next) { count = int((next - vertices.get()) / 4); }

    int Count() const { return count; }
    const tideVertex* Vertices() const { return vertices.get(); }
    const tideBatchState& State() const { return state; }

private:
    std::unique_ptr<tideVertex[]> vertices;
    int count = 0;
    tideBatchState state;
};
