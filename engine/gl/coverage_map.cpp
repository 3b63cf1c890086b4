#include "engine/gl/coverage_map.h"

#include <algorithm>
#include <bit>
#include <climits>

namespace {

int floorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

uint32_t lastMapId = 0;

} // namespace

bool tideCoverageMap::Build(const DWORD* pixels, int w, int h) {
    std::vector<uint64_t>().swap(bits);
    width = height = rowWords = 0;
    id = 0;
    if (!pixels || w <= 0 || h <= 0) return false;
    const int cols = (w + kBlock - 1) / kBlock, rows = (h + kBlock - 1) / kBlock;
    const int words = (cols + 63) / 64;
    std::vector<uint64_t> map(size_t(rows) * size_t(words), 0);
    for (int y = 0; y < h; y++) {
        uint64_t* row = &map[size_t(y / kBlock) * size_t(words)];
        const DWORD* p = pixels + size_t(y) * size_t(w);
        for (int bx = 0; bx < cols; bx++) {
            const uint64_t bit = uint64_t(1) << (bx & 63);
            if (row[bx >> 6] & bit) continue;
            DWORD any = 0;
            for (int x = bx * kBlock, end = std::min(w, x + kBlock); x < end; x++) any |= p[x];
            if (any >> 24) row[bx >> 6] |= bit;
        }
    }
    const int lastBits = cols - (words - 1) * 64;
    const uint64_t lastMask = lastBits == 64 ? ~uint64_t(0) : (uint64_t(1) << lastBits) - 1;
    bool full = true;
    for (size_t i = 0; i < map.size() && full; i++)
        full = map[i] == ((i + 1) % size_t(words) == 0 ? lastMask : ~uint64_t(0));
    if (full) return false;
    bits = std::move(map);
    if (++lastMapId == 0) ++lastMapId;
    id = lastMapId;
    width = w;
    height = h;
    rowWords = words;
    return true;
}

bool tideCoverageMap::Covered(const tideTexelBox& area, tideTexelBox* box) const {
    if (bits.empty() || area.x0 >= area.x1 || area.y0 >= area.y1) return false;
    const int rx0 = floorDiv(area.x0, width), rx1 = floorDiv(area.x1 - 1, width);
    const int ry0 = floorDiv(area.y0, height), ry1 = floorDiv(area.y1 - 1, height);
    if (rx1 - rx0 > 2 || ry1 - ry0 > 2) { // many repeats: not worth a search
        *box = area;
        return true;
    }
    tideTexelBox found{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    bool any = false;
    for (int ry = ry0; ry <= ry1; ry++)
        for (int rx = rx0; rx <= rx1; rx++) {
            const int dx = rx * width, dy = ry * height;
            const tideTexelBox part{std::max(area.x0, dx) - dx, std::max(area.y0, dy) - dy,
                                    std::min(area.x1, dx + width) - dx,
                                    std::min(area.y1, dy + height) - dy};
            any |= coveredInside(part, dx, dy, &found);
        }
    if (!any) return false;
    *box = {std::max(area.x0, found.x0), std::max(area.y0, found.y0), std::min(area.x1, found.x1),
            std::min(area.y1, found.y1)};
    return true;
}

bool tideCoverageMap::coveredInside(const tideTexelBox& area, int dx, int dy,
                                    tideTexelBox* box) const {
    const int bx0 = area.x0 / kBlock, bx1 = (area.x1 - 1) / kBlock; // inclusive
    const int by0 = area.y0 / kBlock, by1 = (area.y1 - 1) / kBlock;
    int minCol = INT_MAX, maxCol = -1, minRow = -1, maxRow = -1;
    for (int r = by0; r <= by1; r++) {
        const uint64_t* row = &bits[size_t(r) * size_t(rowWords)];
        for (int k = bx0 >> 6; k <= bx1 >> 6; k++) {
            uint64_t word = row[k];
            if (k == bx0 >> 6) word &= ~uint64_t(0) << (bx0 & 63);
            if (k == bx1 >> 6) word &= ~uint64_t(0) >> (63 - (bx1 & 63));
            if (!word) continue;
            minCol = std::min(minCol, k * 64 + std::countr_zero(word));
            maxCol = std::max(maxCol, k * 64 + 63 - std::countl_zero(word));
            if (minRow < 0) minRow = r;
            maxRow = r;
        }
    }
    if (maxCol < 0) return false;
    box->x0 = std::min(box->x0, minCol * kBlock + dx);
    box->x1 = std::max(box->x1, std::min(width, (maxCol + 1) * kBlock) + dx);
    box->y0 = std::min(box->y0, minRow * kBlock + dy);
    box->y1 = std::max(box->y1, std::min(height, (maxRow + 1) * kBlock) + dy);
    return true;
}

bool tideCoverageCache::Covered(const tideCoverageMap& map, const tideTexelBox& area,
                                tideTexelBox* box) {
    uint32_t hash = map.Id() * 0x9E3779B1u;
    for (int v : {area.x0, area.y0, area.x1, area.y1}) hash = (hash ^ uint32_t(v)) * 0x01000193u;
    Entry& e = entries[(hash >> 16) % entries.size()];
    if (e.map != map.Id() || !(e.area == area)) {
        e.map = map.Id();
        e.area = area;
        e.covered = map.Covered(area, &e.box);
    }
    if (e.covered) *box = e.box;
    return e.covered;
}
