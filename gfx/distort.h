// tideDistortionMesh: a texture rectangle drawn through a grid of movable
// nodes, one quad per cell.
#pragma once

#include "engine/tide.h"

// What a displacement is measured from.
#define DISP_NODE 0    // the node's rest position
#define DISP_TOPLEFT 1 // the mesh's top-left corner
#define DISP_CENTER 2  // the mesh's centre

class tideDistortionMesh {
public:
    tideDistortionMesh(int cols, int rows);
    tideDistortionMesh(const tideDistortionMesh& dm);
    ~tideDistortionMesh();
    tideDistortionMesh& operator=(const tideDistortionMesh& dm);

    void Render(float x, float y);
    // Every node back to rest with this color and depth.
    void Clear(DWORD col = 0xFFFFFFFF, float z = 0.5f);

    void SetTexture(HTEXTURE tex) { quad.tex = tex; }
    void SetTextureRect(float x, float y, float w, float h);
    void SetBlendMode(int blend) { quad.blend = blend; }
    // Nodes outside the grid are ignored; getters then return 0 or leave
    // their outputs untouched.
    void SetZ(int col, int row, float z);
    void SetColor(int col, int row, DWORD color);
    void SetDisplacement(int col, int row, float dx, float dy, int ref);

    HTEXTURE GetTexture() const { return quad.tex; }
    void GetTextureRect(float* x, float* y, float* w, float* h) const {
        *x = tx; *y = ty; *w = width; *h = height;
    }
    int GetBlendMode() const { return quad.blend; }
    float GetZ(int col, int row) const;
    DWORD GetColor(int col, int row) const;
    void GetDisplacement(int col, int row, float* dx, float* dy, int ref) const;
    int GetRows() const { return nRows; }
    int GetCols() const { return nCols; }

    tideVertex* disp_array;
    int nRows, nCols;
    float cellw, cellh;
    float tx, ty, width, height;
    tideQuad quad;

protected:
    tideVertex* Node(int col, int row) const; // null outside the grid
    // Where a displacement of kind `ref` is measured from; false for an unknown kind.
    bool Origin(int col, int row, int ref, float* ox, float* oy) const;
    void CopyFrom(const tideDistortionMesh& dm);

    static Tide* tide;
};
