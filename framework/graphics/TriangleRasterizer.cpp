#include "framework/graphics/TriangleRasterizer.h"

#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace Zelk {

TriangleDrawer gTriangleDrawers[128] = {};

int TriangleDrawerCode(bool hasSource, bool sourceHasAlpha, bool smooth, bool vertexColors, bool modulated,
                       int formatCode)
{
    int code = 0;
    if (hasSource) {
        code |= 16;
        if (sourceHasAlpha || smooth)
            code |= 8;
    }
    if (vertexColors)
        code |= 4;
    if (modulated)
        code |= 2;
    if (smooth)
        code |= 1;
    if (formatCode == TRIFORMAT_0888)
        code += 32;
    else if (formatCode == TRIFORMAT_0555)
        code += 96;
    else if (formatCode == TRIFORMAT_0565)
        code += 64;
    return code;
}

namespace {

const int kPoolSize = 51;

uint32_t LerpColor(uint32_t a, uint32_t b, double t)
{
    uint32_t out = 0;
    for (int k = 0; k < 4; ++k) {
        double ca = (a >> (8 * k)) & 0xFF, cb = (b >> (8 * k)) & 0xFF;
        out |= uint32_t(int(ca + (cb - ca) * t) & 0xFF) << (8 * k);
    }
    return out;
}

TriVertex Lerp(const TriVertex& a, const TriVertex& b, double t)
{
    TriVertex r;
    r.mX = float(a.mX + (b.mX - a.mX) * t);
    r.mY = float(a.mY + (b.mY - a.mY) * t);
    r.mU = float(a.mU + (b.mU - a.mU) * t);
    r.mV = float(a.mV + (b.mV - a.mV) * t);
    r.mColor = LerpColor(a.mColor, b.mColor, t);
    return r;
}

// One Sutherland-Hodgman pass against an edge; new vertices come from the
// pool. False when the pool is exhausted.
template <typename Inside, typename Cross>
bool ClipEdge(std::vector<const TriVertex*>& poly, std::vector<TriVertex>& pool, Inside inside, Cross cross)
{
    std::vector<const TriVertex*> out;
    size_t n = poly.size();
    for (size_t i = 0; i < n; ++i) {
        const TriVertex* cur = poly[i];
        const TriVertex* prev = poly[(i + n - 1) % n];
        bool curIn = inside(*cur), prevIn = inside(*prev);
        if (curIn != prevIn) {
            if (pool.size() >= size_t(kPoolSize))
                return false;
            pool.push_back(Lerp(*prev, *cur, cross(*prev, *cur)));
            out.push_back(&pool.back());
        }
        if (curIn)
            out.push_back(cur);
    }
    poly.swap(out);
    return true;
}

FixedVertex ToFixed(const TriVertex& v, const TextureInfo* tex, bool vertexColors)
{
    FixedVertex f{};
    f.x = int32_t(v.mX * 65536.0);
    f.y = int32_t(v.mY * 65536.0);
    if (tex) {
        f.u = int32_t(double(v.mU) * tex->width * 65536.0);
        f.v = int32_t(double(v.mV) * tex->height * 65536.0);
    }
    if (vertexColors) {
        f.a = int32_t((v.mColor >> 24) & 0xFF) << 16;
        f.r = int32_t((v.mColor >> 16) & 0xFF) << 16;
        f.g = int32_t((v.mColor >> 8) & 0xFF) << 16;
        f.b = int32_t(v.mColor & 0xFF) << 16;
    }
    return f;
}

} // namespace

int RasterizeTriangles(const TriVertex* strip, int count, MemoryImage* source, const Color& color, const Rect& clip,
                       void* dest, int pitch, int formatCode, bool smooth, bool vertexColors)
{
    TextureInfo texture;
    TextureInfo* tex = nullptr;
    bool sourceHasAlpha = false;
    if (source) {
        texture.bits = source->GetBits();
        texture.width = source->mWidth;
        texture.height = source->mHeight;
        texture.size = source->mWidth * source->mHeight;
        texture.widthShift = 16 - (source->mWidth > 0 ? 31 - __builtin_clz(unsigned(source->mWidth)) : 0);
        texture.maxU = (source->mWidth - 1) * 65536;
        texture.maxV = (source->mHeight - 1) * 65536;
        tex = &texture;
        sourceHasAlpha = source->mHasAlpha || source->mHasTransparency;
    }
    int code = TriangleDrawerCode(source != nullptr, sourceHasAlpha, smooth, vertexColors, color != Color::White,
                                  formatCode);
    TriangleDrawer drawer = gTriangleDrawers[code];

    double left = clip.mX, right = clip.mX + clip.mWidth - 1;
    double top = clip.mY, bottom = clip.mY + clip.mHeight - 1;
    int handed = 0;
    std::vector<TriVertex> pool;
    pool.reserve(kPoolSize);
    for (int i = 0; i + 2 < count; ++i) {
        const TriVertex* a = &strip[i];
        const TriVertex* b = &strip[i + 1];
        const TriVertex* c = &strip[i + 2];
        if (i & 1)
            std::swap(b, c);
        pool.clear();
        std::vector<const TriVertex*> poly = {a, b, c};
        bool ok = ClipEdge(poly, pool, [&](const TriVertex& v) { return v.mX >= left; },
                           [&](const TriVertex& p, const TriVertex& q) { return (left - p.mX) / (q.mX - p.mX); }) &&
                  ClipEdge(poly, pool, [&](const TriVertex& v) { return v.mX <= right; },
                           [&](const TriVertex& p, const TriVertex& q) { return (right - p.mX) / (q.mX - p.mX); }) &&
                  ClipEdge(poly, pool, [&](const TriVertex& v) { return v.mY >= top; },
                           [&](const TriVertex& p, const TriVertex& q) { return (top - p.mY) / (q.mY - p.mY); }) &&
                  ClipEdge(poly, pool, [&](const TriVertex& v) { return v.mY <= bottom; },
                           [&](const TriVertex& p, const TriVertex& q) { return (bottom - p.mY) / (q.mY - p.mY); });
        if (!ok || poly.size() < 3)
            continue;
        std::vector<FixedVertex> fixed;
        for (const TriVertex* v : poly)
            fixed.push_back(ToFixed(*v, tex, vertexColors));
        for (size_t k = 1; k + 1 < fixed.size(); ++k) {
            ++handed;
            if (drawer)
                drawer(&fixed[0], &fixed[k], &fixed[k + 1], dest, pitch, tex, color.ToInt());
        }
    }
    return handed;
}

} // namespace Zelk
