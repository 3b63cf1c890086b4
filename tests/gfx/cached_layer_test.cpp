// When a cached layer patches its picture and when it draws it whole again.
// (That a patch gives the same pixels is checked on the real renderer.)
#include "gfx/cached_layer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/gfx/gfx_fixture.h"

namespace {

tideQuad Square(float x, float y, float w = 32, DWORD col = 0xFFFFFFFF) {
    tideQuad q{};
    const float xs[4] = {x, x + w, x + w, x}, ys[4] = {y, y, y + w, y + w};
    for (int i = 0; i < 4; ++i) q.v[i] = tideVertex{xs[i], ys[i], 0.5f, col, 0, 0};
    q.blend = BLEND_DEFAULT;
    return q;
}

class CachedLayerTest : public GfxTest {};

}  // namespace

TEST_F(CachedLayerTest, PatchesOnlyQuadsChangedInPlaceOverASmallPart) {
    struct Case {
        const char* what;
        std::function<void(std::vector<tideQuad>&)> change;
        bool whole;  // else patched
    };
    const Case cases[] = {
        {"one quad's colour", [](auto& q) { q[1].v[0].col = 0xFF00FF00; }, false},
        {"one quad moved", [](auto& q) { q[2] = Square(300, 300); }, false},
        {"two quads far apart", [](auto& q) { q[0].v[0].col = q[3].v[0].col = 0; }, false},
        {"a quad added", [](auto& q) { q.push_back(Square(5, 5)); }, true},
        {"a quad removed", [](auto& q) { q.pop_back(); }, true},
        {"a third of the picture", [](auto& q) { q[1] = Square(0, 0, 200); }, true},
        {"a quad thrown far away", [](auto& q) { q[1] = Square(1e9f, 0); }, true},
        {"a quad's corner not a number", [](auto& q) { q[1].v[2].x = std::nanf(""); }, true},
        {"more quads than are worth patching",
         [](auto& q) {
             for (size_t i = 4; i < q.size(); ++i) q[i].v[0].col = 0;
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tideCachedLayer layer(320, 240);
        std::vector<tideQuad> quads{Square(0, 0), Square(100, 0), Square(0, 100), Square(100, 100)};
        for (int i = 0; i < 40; ++i) quads.push_back(Square(float(i * 4), 200, 2));
        const auto prepare = [&] {
            return layer.Prepare([&] {
                for (const tideQuad& q : quads) tide->Gfx_RenderQuad(&q);
            });
        };
        ASSERT_TRUE(prepare());
        c.change(quads);
        ASSERT_TRUE(prepare());
        EXPECT_EQ(layer.Redraws(), c.whole ? 2 : 1);
        EXPECT_EQ(layer.Patches(), c.whole ? 0 : 1);
        EXPECT_EQ(layer.Quads().size(), quads.size());
        ASSERT_TRUE(prepare());  // unchanged: nothing drawn
        EXPECT_EQ(layer.Redraws() + layer.Patches(), 2);
    }
}
