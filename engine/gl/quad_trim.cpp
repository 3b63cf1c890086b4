#include "engine/gl/quad_trim.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Quads a little off a parallelogram (rounding in whoever made them) still
// interpolate alike: well under llvmpipe's 1/256-pixel vertex precision.
const double kTolerance = 1.0 / 256;

// Bands meet on screen rows (or columns) that are multiples of this: a
// software rasteriser shades blocks of 4 x 4 pixels, and a block an edge
// crosses is shaded once for each quad on it.
const int kBandAlign = 4;
// A quad is looked at in this many strips at most: a longer one's cuts lie
// further apart.
const int kMaxStrips = 32;

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

// How a quad lies over its texture: its corners in texels, side 0-1 along u
// and 0-3 along v or the other way round, and the rectangle they span.
struct Mapping {
    double U[4], V[4];
    bool sAlongU;
    double u0, u1, v0, v1;
};

// The part [*s0, *s1] x [*t0, *t1] of the quad's stretch t in [ta, tb] that
// lies over covered texels or within a texel of one (pixels there mix them
// in); false when there is none. Filtering reads a texel beyond the stretch
// on each side (across the texture's edge, from its far side).
bool coveredPart(const Mapping& m, double ta, double tb, const tideCoverageMap& map,
                 tideCoverageCache& cache, double* s0, double* s1, double* t0, double* t1) {
    const double* T = m.sAlongU ? m.V : m.U; // texels along side 0-3
    const double c0 = T[0] + ta * (T[3] - T[0]), c1 = T[0] + tb * (T[3] - T[0]);
    const int r0 = int(std::floor(std::min(c0, c1))) - 1, r1 = int(std::ceil(std::max(c0, c1))) + 1;
    const int u0 = int(std::floor(m.u0)) - 1, u1 = int(std::ceil(m.u1)) + 1;
    const int v0 = int(std::floor(m.v0)) - 1, v1 = int(std::ceil(m.v1)) + 1;
    const tideTexelBox reach = m.sAlongU ? tideTexelBox{u0, r0, u1, r1} : tideTexelBox{r0, v0, r1, v1};
    tideTexelBox c;
    if (!cache.Covered(map, reach, &c)) return false;
    const double a0 = std::max(m.u0, c.x0 - 1.0), a1 = std::min(m.u1, c.x1 + 1.0);
    const double b0 = std::max(m.v0, c.y0 - 1.0), b1 = std::min(m.v1, c.y1 + 1.0);
    if (!(a0 < a1 && b0 < b1)) { // cannot happen; stay on the safe side
        *s0 = 0, *s1 = 1, *t0 = ta, *t1 = tb;
        return true;
    }
    if (m.sAlongU) {
        sideParams(m.U[0], m.U[1] - m.U[0], a0, a1, s0, s1);
        sideParams(m.V[0], m.V[3] - m.V[0], b0, b1, t0, t1);
    } else {
        sideParams(m.V[0], m.V[1] - m.V[0], b0, b1, s0, s1);
        sideParams(m.U[0], m.U[3] - m.U[0], a0, a1, t0, t1);
    }
    *t0 = std::max(*t0, ta);
    *t1 = std::min(*t1, tb);
    return true;
}

// The bands of the quad `o`, trimmed to [s0, s1] x [t0, t1] (drawing `drawn`
// of its `area` pixels), cut across side 0-3 with each trimmed along 0-1 to
// its own covered texels, when they spare more than they cost; none when
// they do not. Their ends lie `p0 + d` along the screen's axis `rows ? y : x`
// from the quad's start p0: the cuts on multiples of a step.
int chooseBands(const Mapping& m, const tideCoverageMap& map, tideCoverageCache& cache,
                const double st[4], double p0, double len, double step, double area, double drawn,
                double bandPixels, tideBandCache::Band* out) {
    // The strips' edges: the trimmed quad's ends, and the multiples of `step`
    // strictly between them.
    const double t0 = st[2], t1 = st[3];
    const double da = t0 * len, db = t1 * len;
    const double lo = p0 + std::min(da, db), hi = p0 + std::max(da, db);
    const double first = std::floor(lo / step) + 1, last = std::ceil(hi / step) - 1;
    const int cuts = int(last - first) + 1;
    if (cuts < 1 || cuts > kMaxStrips - 1) return 0;
    double T[kMaxStrips + 1], D[kMaxStrips + 1];
    T[0] = t0;
    D[0] = da;
    for (int k = 1; k <= cuts; k++) {
        D[k] = (len > 0 ? first + k - 1 : last - k + 1) * step - p0;
        T[k] = D[k] / len;
    }
    const int n = cuts + 1; // strips
    T[n] = t1;
    D[n] = db;
    double S0[kMaxStrips], S1[kMaxStrips]; // each strip's covered span along side 0-1
    for (int i = 0; i < n; i++) {
        double ta, tb;
        if (!coveredPart(m, T[i], T[i + 1], map, cache, &S0[i], &S1[i], &ta, &tb)) S0[i] = 1, S1[i] = 0;
    }
    // cost[k][j]: the least cost of strips [0, j) in k drawn bands (bands
    // over no covered texel are not drawn); from[k][j]: where the last began.
    double cost[tideMaxBands + 1][kMaxStrips + 1];
    int from[tideMaxBands + 1][kMaxStrips + 1];
    for (auto& row : cost) std::fill(std::begin(row), std::end(row), HUGE_VAL);
    cost[0][0] = 0;
    for (int j = 1; j <= n; j++) {
        double a = 1, b = 0; // the span of strips [i, j)
        for (int i = j - 1; i >= 0; i--) {
            if (S0[i] < S1[i]) a = std::min(a, S0[i]), b = std::max(b, S1[i]);
            const int band = a < b;
            const double c = band ? (b - a) * (T[j] - T[i]) * area + bandPixels : 0;
            for (int k = 0; k + band <= tideMaxBands; k++)
                if (cost[k][i] + c < cost[k + band][j]) {
                    cost[k + band][j] = cost[k][i] + c;
                    from[k + band][j] = i;
                }
        }
    }
    int bands = 1;
    for (int k = 2; k <= tideMaxBands; k++)
        if (cost[k][n] < cost[bands][n]) bands = k;
    // Banding must beat the quad as one, which costs a quad too.
    if (!(cost[bands][n] + 0.5 < drawn + bandPixels)) return 0;
    for (int j = n, k = bands; k > 0;) {
        const int i = from[k][j];
        double a = 1, b = 0;
        for (int e = i; e < j; e++)
            if (S0[e] < S1[e]) a = std::min(a, S0[e]), b = std::max(b, S1[e]);
        if (a < b) out[--k] = {a, b, T[i], T[j], D[i], D[j]};
        j = i;
    }
    return bands;
}

// Cuts the quad `o` into bands (above) where lines along its side 0-1 lie
// on screen rows (or columns): every band meeting on one gets that row's
// coordinate exactly, so no pixel there is drawn twice or missed.
bool cutIntoBands(const tideVertex* o, const Mapping& m, const tideCoverageMap& map,
                  tideCoverageCache& cache, tideBandCache& bandCache, const double st[4],
                  double area, double drawn, double bandPixels, tideBands* out) {
    const bool rows = o[0].y == o[1].y && o[3].y == o[2].y;
    if (!rows && !(o[0].x == o[1].x && o[3].x == o[2].x)) return false;
    const double p0 = rows ? o[0].y : o[0].x, len = (rows ? o[3].y : o[3].x) - p0;
    const double extent = std::fabs((st[3] - st[2]) * len);
    if (!(extent >= 2 * kBandAlign)) return false;
    double step = kBandAlign;
    while (extent / step > kMaxStrips - 1) step *= 2;
    // The same frame the same size at the same place on the grid of cuts
    // comes out the same.
    const tideBandCache::Key key{map.Id(), {o[0].tx, o[0].ty, o[1].tx, o[1].ty, o[3].tx, o[3].ty},
                                 rows, len, p0 - step * std::floor(p0 / step), area, bandPixels};
    tideBandCache::Entry& e = bandCache.Slot(key);
    if (!(e.key == key)) {
        e.key = key;
        e.count = chooseBands(m, map, cache, st, p0, len, step, area, drawn, bandPixels, e.bands);
    }
    if (e.count == 0) return false;
    auto at = [&](double s, double t, double d) {
        tideVertex v = pointAt(o, s, t);
        (rows ? v.y : v.x) = float(p0 + d);
        return v;
    };
    out->count = e.count;
    out->saved = drawn;
    for (int k = 0; k < e.count; k++) {
        const tideBandCache::Band& b = e.bands[k];
        tideVertex* v = &out->v[k * 4];
        v[0] = at(b.s0, b.t0, b.d0);
        v[1] = at(b.s1, b.t0, b.d0);
        v[2] = at(b.s1, b.t1, b.d1);
        v[3] = at(b.s0, b.t1, b.d1);
        out->saved -= (b.s1 - b.s0) * (b.t1 - b.t0) * area;
    }
    return true;
}

} // namespace

tideBandCache::Entry& tideBandCache::Slot(const Key& k) {
    uint32_t hash = k.map * 0x9E3779B1u;
    auto mix = [&](double d) {
        const float f = float(d);
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof(bits));
        hash = (hash ^ bits) * 0x01000193u;
    };
    for (float f : k.tex) mix(f);
    for (double d : {k.len, k.phase}) mix(d);
    return entries[(hash >> 16) % entries.size()];
}

tideTrim tideTrimQuad(tideVertex* v, const tideCoverageMap& map, tideTrimCaches& caches, int w,
                      int h, const tideTrimCosts& costs, tideBands* bands, double* saved) {
    tideCoverageCache& cache = caches.areas;
    bands->count = 0;
    bands->saved = 0;
    if (map.Empty() || w <= 0 || h <= 0) return tideTrim::kKept;
    Mapping m;
    double X[4], Y[4];
    for (int i = 0; i < 4; i++) {
        // Wrapping coordinates would need the repeats' coverage.
        if (!(v[i].tx >= 0 && v[i].tx <= 1 && v[i].ty >= 0 && v[i].ty <= 1)) return tideTrim::kKept;
        if (v[i].col != v[0].col || !(v[i].z == v[0].z)) return tideTrim::kKept;
        X[i] = v[i].x;
        Y[i] = v[i].y;
        m.U[i] = double(v[i].tx) * w;
        m.V[i] = double(v[i].ty) * h;
    }
    const double* U = m.U;
    const double* V = m.V;
    // NaN or infinite positions fail these too.
    if (!near0(X[0] + X[2] - X[1] - X[3]) || !near0(Y[0] + Y[2] - Y[1] - Y[3]) ||
        !near0(U[0] + U[2] - U[1] - U[3]) || !near0(V[0] + V[2] - V[1] - V[3]))
        return tideTrim::kKept;
    // The texture rectangle's sides run along the quad's: side 0-1 along u
    // and 0-3 along v, or the other way round.
    const double du1 = U[1] - U[0], dv1 = V[1] - V[0], du3 = U[3] - U[0], dv3 = V[3] - V[0];
    if (near0(dv1) && near0(du3) && !near0(du1) && !near0(dv3))
        m.sAlongU = true;
    else if (near0(du1) && near0(dv3) && !near0(dv1) && !near0(du3))
        m.sAlongU = false;
    else
        return tideTrim::kKept;
    m.u0 = std::min({U[0], U[1], U[2], U[3]});
    m.u1 = std::max({U[0], U[1], U[2], U[3]});
    m.v0 = std::min({V[0], V[1], V[2], V[3]});
    m.v1 = std::max({V[0], V[1], V[2], V[3]});
    const double area = std::fabs((X[1] - X[0]) * (Y[3] - Y[0]) - (Y[1] - Y[0]) * (X[3] - X[0]));
    double st[4]; // s0, s1, t0, t1
    if (!coveredPart(m, 0, 1, map, cache, &st[0], &st[1], &st[2], &st[3])) {
        *saved += area;
        return tideTrim::kDropped;
    }
    const double kept = (st[1] - st[0]) * (st[3] - st[2]);
    const bool trim = kept <= 1 - costs.minShare;
    const double drawn = trim ? area * kept : area;
    *saved += area - drawn;
    const tideVertex o[4] = {v[0], v[1], v[2], v[3]};
    if (trim) {
        v[0] = pointAt(o, st[0], st[2]);
        v[1] = pointAt(o, st[1], st[2]);
        v[2] = pointAt(o, st[1], st[3]);
        v[3] = pointAt(o, st[0], st[3]);
    }
    if (drawn > costs.bandPixels &&
        cutIntoBands(o, m, map, cache, caches.bands, st, area, drawn, costs.bandPixels, bands))
        return tideTrim::kBanded;
    return trim ? tideTrim::kTrimmed : tideTrim::kKept;
}
