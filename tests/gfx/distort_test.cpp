#include "gfx/distort.h"
#include "tests/gfx/gfx_fixture.h"

class MeshTest : public GfxTest {
protected:
    // Sets a new texture of the given size and lays the mesh over all of it.
    HTEXTURE Cover(tideDistortionMesh& m, int w, int h) {
        HTEXTURE tex = tide->Texture_Create(w, h);
        m.SetTexture(tex);
        m.SetTextureRect(0, 0, float(w), float(h));
        return tex;
    }
};

TEST_F(MeshTest, NewMeshDefaults) {
    tideDistortionMesh m(4, 3);
    EXPECT_EQ(m.GetCols(), 4);
    EXPECT_EQ(m.GetRows(), 3);
    EXPECT_EQ(m.GetTexture(), 0u);
    EXPECT_EQ(m.GetBlendMode(), 6);
    EXPECT_EQ(m.GetColor(3, 2), 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(m.GetZ(0, 0), 0.5f);
    float dx = -1, dy = -1;
    m.GetDisplacement(3, 2, &dx, &dy, DISP_TOPLEFT);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}

TEST_F(MeshTest, RestLayoutAndTextureCoordinates) {
    tideDistortionMesh m(16, 16);
    Cover(m, 1024, 768);
    EXPECT_FLOAT_EQ(m.cellw, 1024.0f / 15.0f);
    EXPECT_FLOAT_EQ(m.cellh, 51.2f);
    float x, y;
    m.GetDisplacement(15, 15, &x, &y, DISP_TOPLEFT);
    EXPECT_FLOAT_EQ(x, 1024);
    EXPECT_FLOAT_EQ(y, 768);
    EXPECT_FLOAT_EQ(m.disp_array[15 * 16 + 15].tx, 1);
    EXPECT_FLOAT_EQ(m.disp_array[15 * 16 + 15].ty, 1);
    EXPECT_FLOAT_EQ(m.disp_array[0].tx, 0);
    EXPECT_FLOAT_EQ(m.disp_array[0].ty, 0);

    float rx, ry, rw, rh;
    m.GetTextureRect(&rx, &ry, &rw, &rh);
    EXPECT_EQ(rw, 1024);
    EXPECT_EQ(rh, 768);

    m.Render(0, 0);
    EXPECT_EQ(Quads().size(), 225u);
}

TEST_F(MeshTest, TextureCoordinatesOfASubRectangle) {
    HTEXTURE tex = tide->Texture_Create(200, 100);
    tideDistortionMesh m(3, 2);
    m.SetTexture(tex);
    m.SetTextureRect(50, 20, 100, 60);
    const tideVertex& n = m.disp_array[1 * 3 + 2]; // node (2, 1)
    EXPECT_FLOAT_EQ(n.tx, 0.75f);
    EXPECT_FLOAT_EQ(n.ty, 0.8f);
    EXPECT_FLOAT_EQ(n.x, 100);
    EXPECT_FLOAT_EQ(n.y, 60);

    // Without a texture the rectangle's own size normalises.
    tideDistortionMesh u(3, 2);
    u.SetTextureRect(50, 20, 100, 60);
    EXPECT_FLOAT_EQ(u.disp_array[0].tx, 0.5f);
    EXPECT_FLOAT_EQ(u.disp_array[5].ty, 80.0f / 60.0f);
}

TEST_F(MeshTest, DisplacementReferencesRoundTrip) {
    tideDistortionMesh m(16, 16);
    m.SetTextureRect(0, 0, 1024, 768);
    m.SetDisplacement(3, 4, 2, -1, DISP_NODE);
    float dx, dy;
    m.GetDisplacement(3, 4, &dx, &dy, DISP_NODE);
    EXPECT_FLOAT_EQ(dx, 2);
    EXPECT_FLOAT_EQ(dy, -1);
    m.GetDisplacement(3, 4, &dx, &dy, DISP_TOPLEFT);
    EXPECT_FLOAT_EQ(dx, 3 * m.cellw + 2);
    EXPECT_FLOAT_EQ(dy, 4 * m.cellh - 1);
    m.GetDisplacement(3, 4, &dx, &dy, DISP_CENTER);
    EXPECT_NEAR(dx, 3 * m.cellw + 2 - 512, 1e-3f);
    EXPECT_NEAR(dy, 4 * m.cellh - 1 - 384, 1e-3f);

    m.SetDisplacement(0, 0, 10, 20, DISP_CENTER);
    m.GetDisplacement(0, 0, &dx, &dy, DISP_TOPLEFT);
    EXPECT_NEAR(dx, 522, 1e-3f);
    EXPECT_NEAR(dy, 404, 1e-3f);

    // An unknown reference stores from the top-left and reads nothing.
    m.SetDisplacement(1, 1, 7, 8, 99);
    dx = dy = -5;
    m.GetDisplacement(1, 1, &dx, &dy, 99);
    EXPECT_EQ(dx, -5);
    m.GetDisplacement(1, 1, &dx, &dy, DISP_TOPLEFT);
    EXPECT_FLOAT_EQ(dx, 7);
    EXPECT_FLOAT_EQ(dy, 8);
}

TEST_F(MeshTest, NodesOutsideTheGridAreIgnored) {
    tideDistortionMesh m(4, 3);
    m.SetTextureRect(0, 0, 30, 20);
    tideDistortionMesh before(m);
    m.SetDisplacement(4, 0, 1, 1, DISP_NODE);
    m.SetDisplacement(0, 3, 1, 1, DISP_NODE);
    m.SetDisplacement(-1, 0, 1, 1, DISP_NODE);
    m.SetColor(0, -1, 0x11223344);
    m.SetZ(4, 2, 0.1f);
    for (int i = 0; i < 12; i++) {
        EXPECT_EQ(m.disp_array[i].x, before.disp_array[i].x);
        EXPECT_EQ(m.disp_array[i].y, before.disp_array[i].y);
        EXPECT_EQ(m.disp_array[i].col, before.disp_array[i].col);
        EXPECT_EQ(m.disp_array[i].z, before.disp_array[i].z);
    }
    EXPECT_EQ(m.GetColor(4, 0), 0u);
    EXPECT_EQ(m.GetZ(0, 3), 0.0f);
    float dx = 9, dy = 9;
    m.GetDisplacement(0, 3, &dx, &dy, DISP_TOPLEFT);
    EXPECT_EQ(dx, 9);
    EXPECT_EQ(dy, 9);
}

TEST_F(MeshTest, ClearRestoresRestPositionsOnly) {
    tideDistortionMesh m(3, 3);
    Cover(m, 64, 64);
    m.SetDisplacement(1, 1, 5, 5, DISP_NODE);
    m.SetDisplacement(2, 0, -3, 4, DISP_NODE);
    m.Clear(0xFF000000, 0.25f);
    for (int r = 0; r < 3; r++) {
        for (int c = 0; c < 3; c++) {
            const tideVertex& n = m.disp_array[r * 3 + c];
            EXPECT_FLOAT_EQ(n.x, 32.0f * float(c));
            EXPECT_FLOAT_EQ(n.y, 32.0f * float(r));
            EXPECT_FLOAT_EQ(n.tx, 0.5f * float(c));
            EXPECT_FLOAT_EQ(n.ty, 0.5f * float(r));
            EXPECT_EQ(n.col, 0xFF000000u);
            EXPECT_FLOAT_EQ(n.z, 0.25f);
        }
    }
}

TEST_F(MeshTest, RenderDrawsCellsInRowOrderFromTheirNodes) {
    tideDistortionMesh m(3, 3);
    HTEXTURE tex = Cover(m, 64, 64);
    m.SetBlendMode(7);
    m.SetColor(2, 1, 0xFF00FF00);
    m.SetZ(1, 1, 0.75f);
    m.SetDisplacement(1, 1, 3, -2, DISP_NODE);
    m.Render(100, 50);

    ASSERT_EQ(Quads().size(), 4u);
    for (const tideQuad& q : Quads()) {
        EXPECT_EQ(q.tex, tex);
        EXPECT_EQ(q.blend, 7);
    }
    // Cell (1, 0): nodes (1,0) (2,0) (2,1) (1,1).
    const tideQuad& q = Quads()[1];
    EXPECT_POS(q.v[0], 132, 50);
    EXPECT_POS(q.v[1], 164, 50);
    EXPECT_POS(q.v[2], 164, 82);
    EXPECT_POS(q.v[3], 135, 80);
    EXPECT_EQ(q.v[2].col, 0xFF00FF00u);
    EXPECT_FLOAT_EQ(q.v[3].z, 0.75f);
    EXPECT_UV(q.v[2], 1.0f, 0.5f);
    EXPECT_UV(q.v[3], 0.5f, 0.5f);
    // Cell (0, 1) comes third and shares the displaced node as its top-right.
    EXPECT_POS(Quads()[2].v[1], 135, 80);
    EXPECT_POS(Quads()[2].v[3], 100, 114);
}

TEST_F(MeshTest, CopiesAndAssignmentsAreIndependent) {
    tideDistortionMesh m(3, 3);
    HTEXTURE tex = Cover(m, 64, 64);
    m.SetDisplacement(1, 1, 4, 4, DISP_NODE);

    tideDistortionMesh c(m);
    m.Render(0, 0);
    c.Render(0, 0);
    ASSERT_EQ(Quads().size(), 8u);
    for (int i = 0; i < 4; i++)
        for (int k = 0; k < 4; k++) {
            EXPECT_EQ(Quads()[i].v[k].x, Quads()[i + 4].v[k].x);
            EXPECT_EQ(Quads()[i].v[k].ty, Quads()[i + 4].v[k].ty);
        }
    EXPECT_EQ(Quads()[4].tex, tex);

    c.SetDisplacement(1, 1, 0, 0, DISP_NODE);
    c.SetColor(0, 0, 0);
    float dx, dy;
    m.GetDisplacement(1, 1, &dx, &dy, DISP_NODE);
    EXPECT_FLOAT_EQ(dx, 4);
    EXPECT_EQ(m.GetColor(0, 0), 0xFFFFFFFFu);

    tideDistortionMesh a(2, 2);
    a = m;
    a = a; // self-assignment keeps the nodes
    EXPECT_EQ(a.GetCols(), 3);
    a.GetDisplacement(1, 1, &dx, &dy, DISP_NODE);
    EXPECT_FLOAT_EQ(dx, 4);
    a.SetDisplacement(1, 1, 9, 9, DISP_NODE);
    m.GetDisplacement(1, 1, &dx, &dy, DISP_NODE);
    EXPECT_FLOAT_EQ(dx, 4);
}

TEST_F(MeshTest, DegenerateGridsDrawNothing) {
    tideDistortionMesh line(1, 5);
    line.SetTextureRect(0, 0, 100, 100);
    line.Clear(0xFF000000, 0.5f);
    line.Render(0, 0);
    tideDistortionMesh none(0, 0);
    none.SetTextureRect(0, 0, 10, 10);
    none.Render(0, 0);
    tideDistortionMesh neg(-3, 2);
    neg.Clear();
    neg.Render(0, 0);
    EXPECT_TRUE(Quads().empty());
    EXPECT_EQ(line.GetColor(0, 4), 0xFF000000u);

    tideDistortionMesh huge(100000, 100000);
    EXPECT_TRUE(eng.LogHas("too large"));
    huge.Render(0, 0);
    EXPECT_TRUE(Quads().empty());
}
