#include "framework/graphics/D3DVertexList.h"

#include <algorithm>

namespace Zelk {

D3DVertexList::D3DVertexList(const D3DVertexList& other)
{
    *this = other;
}

D3DVertexList& D3DVertexList::operator=(const D3DVertexList& other)
{
    if (this == &other)
        return *this;
    clear();
    for (size_t i = 0; i < other.size(); ++i)
        push_back(other[i]);
    return *this;
}

D3DVertexList::~D3DVertexList()
{
    delete[] mHeap;
}

void D3DVertexList::push_back(const plat::D3DTLVertex& v)
{
    if (mSize == mCapacity) {
        const size_t capacity = mCapacity * 2;
        plat::D3DTLVertex* grown = new plat::D3DTLVertex[capacity];
        std::copy(data(), data() + mSize, grown);
        delete[] mHeap;
        mHeap = grown;
        mCapacity = capacity;
    }
    data()[mSize++] = v;
}

namespace {

float Component(const plat::D3DTLVertex& v, ClipComponent c)
{
    switch (c) {
    case CLIP_X: return v.sx;
    case CLIP_Y: return v.sy;
    case CLIP_Z: return v.sz;
    case CLIP_U: return v.tu;
    default: return v.tv;
    }
}

plat::D3DTLVertex Intersect(const plat::D3DTLVertex& a, const plat::D3DTLVertex& b, ClipComponent c, float bound)
{
    const float t = (bound - Component(a, c)) / (Component(b, c) - Component(a, c));
    plat::D3DTLVertex r = a; // z, rhw and specular stay a's
    r.sx = a.sx + (b.sx - a.sx) * t;
    r.sy = a.sy + (b.sy - a.sy) * t;
    r.tu = a.tu + (b.tu - a.tu) * t;
    r.tv = a.tv + (b.tv - a.tv) * t;
    if (a.color != b.color) {
        uint32_t color = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const float ca = float((a.color >> shift) & 0xFF), cb = float((b.color >> shift) & 0xFF);
            color |= (uint32_t(int(ca + (cb - ca) * t)) & 0xFF) << shift;
        }
        r.color = color;
    }
    return r;
}

} // namespace

void ClipPolygon(ClipComponent component, float bound, bool keepAbove, const D3DVertexList& in,
                 D3DVertexList& out)
{
    out.clear();
    const size_t n = in.size();
    if (n < 2)
        return;
    auto inside = [&](const plat::D3DTLVertex& v) {
        const float value = Component(v, component);
        return keepAbove ? value >= bound : value < bound;
    };
    // Edges (last, first), then (i, i + 1).
    for (size_t k = 0; k < n; ++k) {
        const plat::D3DTLVertex& a = in[k == 0 ? n - 1 : k - 1];
        const plat::D3DTLVertex& b = in[k];
        const bool aIn = inside(a), bIn = inside(b);
        if (aIn && bIn) {
            out.push_back(b);
        } else if (aIn) {
            out.push_back(Intersect(a, b, component, bound));
        } else if (bIn) {
            out.push_back(Intersect(a, b, component, bound));
            out.push_back(b);
        }
    }
}

} // namespace Zelk
