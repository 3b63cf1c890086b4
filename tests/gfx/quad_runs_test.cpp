// Runs of a kind merged only past quads they share no pixel with.
#include "gfx/quad_runs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A quad named by its texture's letter, over [x, x + w) by [y, y + w),
// optionally turned by 45 degrees about its centre.
tideQuad Square(char tex, float x, float y, float w = 64, bool turned = false, int blend = BLEND_DEFAULT) {
    tideQuad q{};
    const float h = w / 2, cx = x + h, cy = y + h;
    const float xs[4] = {-h, h, h, -h}, ys[4] = {-h, -h, h, h};
    for (int i = 0; i < 4; ++i) {
        float dx = turned ? (xs[i] - ys[i]) * 0.7071f : xs[i], dy = turned ? (xs[i] + ys[i]) * 0.7071f : ys[i];
        q.v[i] = tideVertex{cx + dx, cy + dy, 0.5f, 0xFFFFFFFF, 0, 0};
    }
    q.tex = static_cast<HTEXTURE>(tex);
    q.blend = blend;
    return q;
}

std::string Order(const std::vector<tideQuad>& quads) {
    std::string s;
    for (const tideQuad& q : quads) s += static_cast<char>(q.tex);
    return s;
}

}  // namespace

TEST(QuadRuns, MovesAQuadBackOnlyPastQuadsItDoesNotMeet) {
    struct Case {
        const char* what;
        std::vector<tideQuad> quads;
        const char* order;
    };
    const Case cases[] = {
        {"apart", {Square('a', 0, 0), Square('b', 100, 0), Square('a', 200, 0), Square('b', 300, 0)}, "aabb"},
        {"over the one between", {Square('a', 0, 0), Square('b', 100, 0), Square('a', 130, 0)}, "aba"},
        {"edges touching", {Square('a', 0, 0), Square('b', 64, 0), Square('a', 128, 0)}, "aba"},
        {"a turned quad's corner", {Square('a', 0, 0), Square('b', 100, 0, 64, true), Square('a', 150, 0)}, "aba"},
        {"past a run it misses", {Square('a', 0, 0), Square('b', 100, 0), Square('c', 300, 0), Square('b', 150, 0)}, "abbc"},
        {"not past one it meets", {Square('a', 0, 0), Square('b', 100, 0), Square('c', 200, 0), Square('b', 220, 0)}, "abcb"},
        {"the last run only", {Square('a', 0, 0), Square('b', 0, 100), Square('a', 0, 110), Square('c', 300, 0),
                               Square('a', 400, 0)}, "abaac"},
        {"another blend", {Square('a', 0, 0), Square('b', 100, 0), Square('a', 200, 0, 64, false, BLEND_COLORADD)}, "aba"},
    };
    for (const Case& c : cases) {
        std::vector<tideQuad> q = c.quads;
        tideGroupRuns(q);
        EXPECT_EQ(Order(q), c.order) << c.what;
    }
    // Quads of a kind keep their own order.
    std::vector<tideQuad> q = {Square('a', 0, 0), Square('b', 100, 0), Square('a', 200, 0), Square('a', 300, 0)};
    tideGroupRuns(q);
    EXPECT_EQ(q[1].v[0].x, 200);
    EXPECT_EQ(q[2].v[0].x, 300);
}
