#include "engine/gl/coverage_map.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>

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
    Entry& e = entries[(hash >> 24) % entries.size()];
    if (e.map != map.Id() || !(e.area == area)) {
        e.map = map.Id();
        e.area = area;
        e.covered = map.Covered(area, &e.box);
    }
    if (e.covered) *box = e.box;
    return e.covered;
}

namespace {

// Quads a little off a parallelogram (rounding in whoever made them) still
// interpolate alike: well under llvmpipe's 1/256-pixel vertex precision.
const double kTolerance = 1.0 / 256;

// The parameters, clamped to [0, 1], at which a side starting at `from` and
// running `len` reaches `lo` and `hi`, in increasing order.
void sideParams(double from, double len, double lo, double hi, double* p0, double* p1) {
    const double a = (lo - from) / len, b = (hi - from) / len;
    *p0 = std::clamp(std::min(a, b), 0.0, 1.0);
    *p1 = std::clamp(std::max(a, b), 0.0, 1.0);
}

// The point at (s, t) of the quad `o`, s along its side 0-1, t along 0-3;
// the corners themselves come out exact.
tideVertex pointAt(const tideVertex* o, double s, double t) {
    const double w[4] = {(1 - s) * (1 - t), s * (1 - t), s * t, (1 - s) * t};
    double x = 0, y = 0, tx = 0, ty = 0;
    for (int i = 0; i < 4; i++) {
        x += w[i] * o[i].x;
        y += w[i] * o[i].y;
        tx += w[i] * o[i].tx;
        ty += w[i] * o[i].ty;
    }
    return {float(x), float(y), o[0].z, o[0].col, float(tx), float(ty)};
}

bool near0(double d) { return std::fabs(d) <= kTolerance; }

} // namespace

tideTrim tideTrimQuad(tideVertex* v, const tideCoverageMap& map, tideCoverageCache& cache, int w,
                      int h, double minSaving, double* saved) {
    if (map.Empty() || w <= 0 || h <= 0) return tideTrim::kKept;
    double X[4], Y[4], U[4], V[4];
    for (int i = 0; i < 4; i++) {
        // Wrapping coordinates would need the repeats' coverage.
        if (!(v[i].tx >= 0 && v[i].tx <= 1 && v[i].ty >= 0 && v[i].ty <= 1)) return tideTrim::kKept;
        if (v[i].col != v[0].col || !(v[i].z == v[0].z)) return tideTrim::kKept;
        X[i] = v[i].x;
        Y[i] = v[i].y;
        U[i] = double(v[i].tx) * w;
        V[i] = double(v[i].ty) * h;
    }
    // NaN or infinite positions fail these too.
    if (!near0(X[0] + X[2] - X[1] - X[3]) || !near0(Y[0] + Y[2] - Y[1] - Y[3]) ||
        !near0(U[0] + U[2] - U[1] - U[3]) || !near0(V[0] + V[2] - V[1] - V[3]))
        return tideTrim::kKept;
    // The texture rectangle's sides run along the quad's: side 0-1 along u
    // and 0-3 along v, or the other way round.
    const double du1 = U[1] - U[0], dv1 = V[1] - V[0], du3 = U[3] - U[0], dv3 = V[3] - V[0];
    bool sAlongU;
    if (near0(dv1) && near0(du3) && !near0(du1) && !near0(dv3))
        sAlongU = true;
    else if (near0(du1) && near0(dv3) && !near0(dv1) && !near0(du3))
        sAlongU = false;
    else
        return tideTrim::kKept;
    const double u0 = std::min({U[0], U[1], U[2], U[3]}), u1 = std::max({U[0], U[1], U[2], U[3]});
    const double v0 = std::min({V[0], V[1], V[2], V[3]}), v1 = std::max({V[0], V[1], V[2], V[3]});
    const double area = std::fabs((X[1] - X[0]) * (Y[3] - Y[0]) - (Y[1] - Y[0]) * (X[3] - X[0]));
    // Filtering reads a texel beyond the rectangle on each side (across the
    // edge, from the far side of the texture).
    const tideTexelBox reach{int(std::floor(u0)) - 1, int(std::floor(v0)) - 1,
                             int(std::ceil(u1)) + 1, int(std::ceil(v1)) + 1};
    tideTexelBox c;
    if (!cache.Covered(map, reach, &c)) {
        *saved += area;
        return tideTrim::kDropped;
    }
    // Pixels within a texel of a covered one mix it in: they stay.
    const double a0 = std::max(u0, c.x0 - 1.0), a1 = std::min(u1, c.x1 + 1.0);
    const double b0 = std::max(v0, c.y0 - 1.0), b1 = std::min(v1, c.y1 + 1.0);
    if (!(a0 < a1 && b0 < b1)) return tideTrim::kKept;
    double s0, s1, t0, t1;
    if (sAlongU) {
        sideParams(U[0], du1, a0, a1, &s0, &s1);
        sideParams(V[0], dv3, b0, b1, &t0, &t1);
    } else {
        sideParams(V[0], dv1, b0, b1, &s0, &s1);
        sideParams(U[0], du3, a0, a1, &t0, &t1);
    }
    const double kept = (s1 - s0) * (t1 - t0);
    if (kept > 1 - minSaving) return tideTrim::kKept;
    const tideVertex o[4] = {v[0], v[1], v[2], v[3]};
    v[0] = pointAt(o, s0, t0);
    v[1] = pointAt(o, s1, t0);
    v[2] = pointAt(o, s1, t1);
    v[3] = pointAt(o, s0, t1);
    *saved += area * (1 - kept);
    return tideTrim::kTrimmed;
}
