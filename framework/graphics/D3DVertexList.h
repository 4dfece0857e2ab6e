#pragma once
// The renderer's vertex lists and its polygon clipper.
#include "platform/d3d/Direct3D.h"

#include <cstddef>

namespace Zelk {

// A growable array of vertices that keeps up to 100 of them without touching
// the heap; beyond that it moves to the heap and doubles when full.
class D3DVertexList {
public:
    D3DVertexList() = default;
    D3DVertexList(const D3DVertexList& other);
    D3DVertexList& operator=(const D3DVertexList& other);
    ~D3DVertexList();

    void push_back(const plat::D3DTLVertex& v);
    void clear() { mSize = 0; }
    size_t size() const { return mSize; }
    bool OnHeap() const { return mHeap != nullptr; }
    plat::D3DTLVertex* data() { return mHeap ? mHeap : mInline; }
    const plat::D3DTLVertex* data() const { return mHeap ? mHeap : mInline; }
    plat::D3DTLVertex& operator[](size_t i) { return data()[i]; }
    const plat::D3DTLVertex& operator[](size_t i) const { return data()[i]; }

private:
    static constexpr size_t kInline = 100;
    plat::D3DTLVertex mInline[kInline];
    plat::D3DTLVertex* mHeap = nullptr;
    size_t mSize = 0;
    size_t mCapacity = kInline;
};

// The vertex component a clipping plane cuts on.
enum ClipComponent { CLIP_X, CLIP_Y, CLIP_Z, CLIP_U, CLIP_V };

// Sutherland-Hodgman against one axis-parallel plane: keeps component >= bound
// (keepAbove) or component < bound. Intersections interpolate x, y, u and v,
// and each colour channel unless both colours are equal; z, rhw and specular
// come from the edge's first vertex. out is emptied first.
void ClipPolygon(ClipComponent component, float bound, bool keepAbove, const D3DVertexList& in,
                 D3DVertexList& out);

} // namespace Zelk
