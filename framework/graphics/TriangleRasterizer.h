#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Matrix3.h"
#include "framework/graphics/Point.h"
#include "framework/graphics/Rect.h"

#include <cstdint>

namespace Zelk {

class MemoryImage;

// Destination pixel format codes of the triangle rasteriser.
enum : int {
    TRIFORMAT_8888 = 0x8888,
    TRIFORMAT_0888 = 0x0888,
    TRIFORMAT_0565 = 0x0565,
    TRIFORMAT_0555 = 0x0555,
};

// A clipped polygon corner in fixed point: position 16.16, texture 16.16,
// colour channels 8.16.
struct FixedVertex {
    int32_t x, y, u, v;
    int32_t a, r, g, b;
};

// What a triangle drawer samples from.
struct TextureInfo {
    const uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int size = 0;
    int widthShift = 0; // 16 - floor(log2(width))
    int32_t maxU = 0;   // (width - 1) x 65536
    int32_t maxV = 0;
};

// Draws one clipped triangle into the destination words.
typedef void (*TriangleDrawer)(const FixedVertex* v0, const FixedVertex* v1, const FixedVertex* v2, void* dest,
                               int pitch, const TextureInfo* texture, uint32_t color);

// The drawer table, indexed by the code TriangleDrawerCode gives. This system
// supplies no drawers: every entry is empty and such triangles are not drawn.
extern TriangleDrawer gTriangleDrawers[128];

// 16 with a source image, 8 when that source has alpha or transparency or
// smoothing is on, 4 with vertex colours, 2 for a colour other than opaque
// white, 1 when smoothing; plus 32 for 0x0888, 96 for 0x0555, 64 for 0x0565.
int TriangleDrawerCode(bool hasSource, bool sourceHasAlpha, bool smooth, bool vertexColors, bool modulated,
                       int formatCode);

// Clips the triangle strip against the clip rectangle's pixel edges, splits
// each clipped polygon into a fan and hands the triangles to the drawer table.
// Returns the number of triangles handed to a drawer (drawn or not).
int RasterizeTriangles(const TriVertex* strip, int count, MemoryImage* source, const Color& color, const Rect& clip,
                       void* dest, int pitch, int formatCode, bool smooth, bool vertexColors);

// The matrix blit of the source rectangle (centred on the origin, turned by
// the matrix, moved to (x, y)) into destination words of the given format,
// pitch bytes per row, clipped to `clip`.
void RasterizeMatrixBlit(MemoryImage* src, float x, float y, const Matrix3& matrix, const Rect& clip,
                         const Color& color, const Rect& srcRect, bool smooth, void* dest, int pitch, int formatCode);
// Textured triangles moved by (tx, ty) into destination words of the format.
void RasterizeTriangleBlit(MemoryImage* src, const TriVertex (*vertices)[3], int numTriangles, const Rect& clip,
                           const Color& color, float tx, float ty, bool smooth, void* dest, int pitch, int formatCode);

} // namespace Zelk
