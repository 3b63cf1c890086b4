// A headless engine per test, with shortcuts to the recorded quads.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/test_support.h"

class GfxTest : public ::testing::Test {
protected:
    HeadlessEngine eng;
    Tide* tide = eng.tide;

    const std::vector<tideQuad>& Quads() const { return eng.hl->Quads(); }
    // Forgets the quads recorded so far.
    void NewScene() {
        tide->Gfx_BeginScene();
        tide->Gfx_EndScene();
    }
};

// Asserts a vertex's position.
#define EXPECT_POS(vtx, px, py)       \
    do {                              \
        EXPECT_FLOAT_EQ((vtx).x, px); \
        EXPECT_FLOAT_EQ((vtx).y, py); \
    } while (0)

// Asserts a vertex's texture coordinates.
#define EXPECT_UV(vtx, u, v)           \
    do {                               \
        EXPECT_FLOAT_EQ((vtx).tx, u);  \
        EXPECT_FLOAT_EQ((vtx).ty, v);  \
    } while (0)
