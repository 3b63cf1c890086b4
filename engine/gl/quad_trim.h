// Blended quads shrunk to the part of their texture that is not fully
// transparent (coverage_map.h), and large ones cut into bands across their
// texture's rows, each as wide as its own rows' covered texels, so the
// transparent corners around a figure are not drawn either.
#pragma once

#include <array>
#include <cstdint>

#include "engine/gl/coverage_map.h"
#include "engine/tide.h"

enum class tideTrim { kKept, kTrimmed, kBanded, kDropped };

// At most this many quads take the place of one.
constexpr int tideMaxBands = 4;

// The quads that take a quad's place, top band first.
struct tideBands {
    int count = 0;
    tideVertex v[tideMaxBands * 4];
    double saved = 0; // pixels they spare beyond the quad trimmed as one
};

// The bands last chosen for quads: the same frames are drawn frame after
// frame, the same size, at the same place on the grid of cuts.
class tideBandCache {
public:
    struct Key {
        uint32_t map = 0;   // the map's Id, 0 unused
        float tex[6] = {};  // texture coordinates of corners 0, 1 and 3
        bool rows = false;  // cut along screen rows, not columns
        double len = 0;     // side 0-3's extent along the cut axis
        double phase = 0;   // the quad's start on the grid of cuts
        double area = 0, bandPixels = 0;
        bool operator==(const Key&) const = default;
    };
    // A band: [s0, s1] x [t0, t1] of its quad, its ends d0 and d1 past the
    // quad's start along the cut axis.
    struct Band {
        double s0, s1, t0, t1, d0, d1;
    };
    struct Entry {
        Key key;
        int count = 0; // 0: not worth cutting
        Band bands[tideMaxBands];
    };
    // Where `key`'s bands are kept, found or to be filled.
    Entry& Slot(const Key& key);

private:
    std::array<Entry, 64> entries{};
};

struct tideTrimCaches {
    tideCoverageCache areas;
    tideBandCache bands;
};

struct tideTrimCosts {
    double minShare;   // a quad trimmed by less than this share of its area stays whole
    double bandPixels; // what each quad costs beyond its pixels, in pixels
};

// Shrinks a quad's four vertices (clockwise from the top-left) to the part
// of its texture rectangle the map covers, widened by a texel on each side
// for filtering, when the quad allows it: a parallelogram whose texture
// coordinates span an axis-aligned rectangle inside the texture (w x h
// texels) and map affinely onto it, with one vertex colour and one depth.
// A quad over no covered texel is dropped; `saved` gains the area taken off,
// in the quad's own pixels.
// When the quad's side 0-3 runs straight down (or across) the screen, it may
// be cut into bands at screen rows (columns), the bands meeting exactly on
// those rows: then `bands` holds them and the vertices are trimmed as one
// quad all the same, to stand in if the bands cannot be drawn.
tideTrim tideTrimQuad(tideVertex* v, const tideCoverageMap& map, tideTrimCaches& caches, int w,
                      int h, const tideTrimCosts& costs, tideBands* bands, double* saved);
