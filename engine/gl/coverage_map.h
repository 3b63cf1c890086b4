// Which parts of a texture hold texels that are not fully transparent. Under
// the renderer's blending a texel of alpha 0 leaves the pixel below as it was
// (every blend mode scales the source by its alpha, which is the texel's
// times the vertex colour's), so a quad's pixels over transparent texels need
// not be drawn at all: on a software rasteriser every pixel drawn costs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/tide.h"

// Texels [x0, x1) x [y0, y1).
struct tideTexelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool operator==(const tideTexelBox&) const = default;
};

// One bit per block of kBlock x kBlock texels, set when any texel in the
// block has alpha above 0.
class tideCoverageMap {
public:
    static constexpr int kBlock = 2;

    // Maps w x h ARGB pixels (rows w apart). Keeps no map and returns false
    // when every block is covered: nothing could be skipped.
    bool Build(const DWORD* pixels, int w, int h);
    bool Empty() const { return bits.empty(); }
    // The bounding box of the covered blocks within `area`, clipped to it;
    // false when no texel there is covered. Parts of `area` outside the
    // texture stand for its repeats, as a repeating sampler reads them.
    bool Covered(const tideTexelBox& area, tideTexelBox* box) const;
    // Different for every map built, 0 for none.
    uint32_t Id() const { return id; }

private:
    // The same within the texture itself; widens `box` by what it finds
    // there, moved by (dx, dy).
    bool coveredInside(const tideTexelBox& area, int dx, int dy, tideTexelBox* box) const;

    int width = 0, height = 0;
    int rowWords = 0; // 64-bit words per row of blocks
    std::vector<uint64_t> bits;
    uint32_t id = 0;
};

// The last answers of maps by area: the same sprite frames and glyphs (and
// the bands of large frames) are drawn frame after frame, and a large frame's
// search reads many rows.
class tideCoverageCache {
public:
    bool Covered(const tideCoverageMap& map, const tideTexelBox& area, tideTexelBox* box);

private:
    struct Entry {
        uint32_t map = 0; // the map's Id, 0 unused
        bool covered = false;
        tideTexelBox area, box;
    };
    std::array<Entry, 512> entries{};
};
