#include "gfx/distort.h"

#include <algorithm>

Tide* tideDistortionMesh::tide = nullptr;

// Larger grids than this are refused rather than allocated.
static const long long kMaxNodes = 1 << 20;

static int NodeCount(int cols, int rows) { return cols > 0 && rows > 0 ? cols * rows : 0; }

tideDistortionMesh::tideDistortionMesh(int cols, int rows)
    : disp_array(nullptr), nRows(rows), nCols(cols), cellw(0), cellh(0), tx(0), ty(0), width(0),
      height(0), quad() {
    tide = tideCreate(TIDE_VERSION);
    quad.tex = 0;
    quad.blend = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_ZWRITE;
    if ((long long)cols * rows > kMaxNodes) {
        tide->System_Log("Distortion mesh %ix%i is too large.", cols, rows);
        nCols = nRows = 0;
    }

    int n = NodeCount(nCols, nRows);
    disp_array = new tideVertex[n];
    for (int i = 0; i < n; i++) disp_array[i] = tideVertex{0, 0, 0.5f, 0xFFFFFFFF, 0, 0};
}

tideDistortionMesh::tideDistortionMesh(const tideDistortionMesh& dm) : disp_array(nullptr) {
    tide = tideCreate(TIDE_VERSION);
    CopyFrom(dm);
}

tideDistortionMesh::~tideDistortionMesh() {
    delete[] disp_array;
    tide->Release();
}

tideDistortionMesh& tideDistortionMesh::operator=(const tideDistortionMesh& dm) {
    if (this != &dm) CopyFrom(dm);
    return *this;
}

void tideDistortionMesh::CopyFrom(const tideDistortionMesh& dm) {
    nRows = dm.nRows;
    nCols = dm.nCols;
    cellw = dm.cellw;
    cellh = dm.cellh;
    tx = dm.tx;
    ty = dm.ty;
    width = dm.width;
    height = dm.height;
    quad = dm.quad;

    int n = NodeCount(nCols, nRows);
    delete[] disp_array;
    disp_array = new tideVertex[n];
    std::copy(dm.disp_array, dm.disp_array + n, disp_array);
}

tideVertex* tideDistortionMesh::Node(int col, int row) const {
    if (col < 0 || col >= nCols || row < 0 || row >= nRows) return nullptr;
    return &disp_array[row * nCols + col];
}

void tideDistortionMesh::SetTextureRect(float x, float y, float w, float h) {
    tx = x;
    ty = y;
    width = w;
    height = h;
    // Without two nodes on each axis there are no cells to lay out.
    if (nCols < 2 || nRows < 2) return;

    float tw = w, th = h;
    if (quad.tex) {
        tw = float(tide->Texture_GetWidth(quad.tex, false));
        th = float(tide->Texture_GetHeight(quad.tex, false));
    }
    cellw = w / float(nCols - 1);
    cellh = h / float(nRows - 1);

    for (int j = 0; j < nRows; j++) {
        for (int i = 0; i < nCols; i++) {
            tideVertex& v = disp_array[j * nCols + i];
            v.tx = (x + float(i) * cellw) / tw;
            v.ty = (y + float(j) * cellh) / th;
            v.x = float(i) * cellw;
            v.y = float(j) * cellh;
        }
    }
}

void tideDistortionMesh::Clear(DWORD col, float z) {
    for (int j = 0; j < nRows; j++) {
        for (int i = 0; i < nCols; i++) {
            tideVertex& v = disp_array[j * nCols + i];
            v.x = float(i) * cellw;
            v.y = float(j) * cellh;
            v.col = col;
            v.z = z;
        }
    }
}

void tideDistortionMesh::SetZ(int col, int row, float z) {
    if (tideVertex* v = Node(col, row)) v->z = z;
}

void tideDistortionMesh::SetColor(int col, int row, DWORD color) {
    if (tideVertex* v = Node(col, row)) v->col = color;
}

float tideDistortionMesh::GetZ(int col, int row) const {
    const tideVertex* v = Node(col, row);
    return v ? v->z : 0.0f;
}

DWORD tideDistortionMesh::GetColor(int col, int row) const {
    const tideVertex* v = Node(col, row);
    return v ? v->col : 0;
}

bool tideDistortionMesh::Origin(int col, int row, int ref, float* ox, float* oy) const {
    switch (ref) {
    case DISP_NODE:
        *ox = float(col) * cellw;
        *oy = float(row) * cellh;
        return true;
    case DISP_CENTER:
        *ox = float(nCols - 1) * cellw / 2.0f;
        *oy = float(nRows - 1) * cellh / 2.0f;
        return true;
    case DISP_TOPLEFT:
        *ox = *oy = 0.0f;
        return true;
    default: return false;
    }
}

void tideDistortionMesh::SetDisplacement(int col, int row, float dx, float dy, int ref) {
    tideVertex* v = Node(col, row);
    if (!v) return;
    float ox = 0, oy = 0;
    Origin(col, row, ref, &ox, &oy); // any other reference counts from the top-left
    v->x = dx + ox;
    v->y = dy + oy;
}

void tideDistortionMesh::GetDisplacement(int col, int row, float* dx, float* dy, int ref) const {
    const tideVertex* v = Node(col, row);
    float ox, oy;
    if (!v || !Origin(col, row, ref, &ox, &oy)) return;
    *dx = v->x - ox;
    *dy = v->y - oy;
}

void tideDistortionMesh::Render(float x, float y) {
    static const int kCorner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}}; // col, row offsets
    for (int j = 0; j < nRows - 1; j++) {
        for (int i = 0; i < nCols - 1; i++) {
            for (int k = 0; k < 4; k++) {
                const tideVertex& n = disp_array[(j + kCorner[k][1]) * nCols + i + kCorner[k][0]];
                tideVertex& v = quad.v[k];
                v = n;
                v.x = n.x + x;
                v.y = n.y + y;
            }
            tide->Gfx_RenderQuad(&quad);
        }
    }
}
