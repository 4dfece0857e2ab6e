// The renderer's drawing operations: textured blits piece by piece, matrix
// blits clipped to a rectangle, textured triangles split over pieces, fills,
// lines and polygons.
#include "framework/graphics/D3DInterface.h"

#include "framework/graphics/D3DVertexList.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/TextureData.h"

#include <algorithm>
#include <cmath>

namespace Zelk {

namespace {

using Vertex = plat::D3DTLVertex;

bool Draw(plat::D3DDevice* device, uint32_t type, const plat::D3DTLVertex* vertices, size_t count,
          const char* context)
{
    return !CheckD3DResult(device->DrawPrimitive(type, plat::D3DFVF_TLVERTEX, vertices, uint32_t(count), 0), context);
}

void SetTexture(plat::D3DDevice* device, plat::DDSurface* texture, const char* context)
{
    CheckD3DResult(device->SetTexture(0, texture), context);
}

// Cuts the polygon to the clip rectangle and draws what is left as a fan with
// the texture set before.
void ClipAndDrawPolygon(plat::D3DDevice* device, const D3DVertexList& polygon, const Rect& clip)
{
    D3DVertexList a = polygon, b;
    ClipPolygon(CLIP_X, float(clip.mX), true, a, b);
    ClipPolygon(CLIP_Y, float(clip.mY), true, b, a);
    ClipPolygon(CLIP_X, float(clip.mX + clip.mWidth), false, a, b);
    ClipPolygon(CLIP_Y, float(clip.mY + clip.mHeight), false, b, a);
    if (a.size() >= 3)
        Draw(device, plat::D3DPT_TRIANGLEFAN, a.data(), a.size(), "DrawPrimitive (Tri) 2");
}

bool InsideClip(const plat::D3DTLVertex& v, const Rect& clip)
{
    return v.sx >= float(clip.mX) && v.sx < float(clip.mX + clip.mWidth) && v.sy >= float(clip.mY) &&
           v.sy < float(clip.mY + clip.mHeight);
}

// Calls part(sx, sy, w, h, surface, u1, v1, u2, v2, dx, dy) for each piece of
// the source rectangle, row by row of pieces; dx and dy are the part's offset
// from the rectangle's top-left corner.
template <typename Part> void ForEachPiece(TextureData* data, const Rect& src, Part part)
{
    int sy = src.mY, dy = 0;
    while (dy < src.mHeight) {
        int sx = src.mX, dx = 0, rowHeight = 0;
        while (dx < src.mWidth) {
            int w = src.mWidth - dx, h = src.mHeight - dy;
            float u1, v1, u2, v2;
            plat::DDSurface* surface = data->GetPiece(sx, sy, w, h, u1, v1, u2, v2);
            if (!surface || w <= 0 || h <= 0)
                return;
            part(w, h, surface, u1, v1, u2, v2, dx, dy);
            sx += w;
            dx += w;
            rowHeight = h;
        }
        sy += rowHeight;
        dy += rowHeight;
    }
}

} // namespace

TextureData* D3DInterface::PrepareSource(Image* source, const Rect& srcRect, int drawMode, bool linear)
{
    MemoryImage* image = dynamic_cast<MemoryImage*>(source);
    // A source rectangle outside the image would look up pieces that do not
    // exist: such a blit draws nothing.
    if (!image || srcRect.mWidth <= 0 || srcRect.mHeight <= 0 || srcRect.mX < 0 || srcRect.mY < 0 ||
        int64_t(srcRect.mX) + srcRect.mWidth > image->mWidth || int64_t(srcRect.mY) + srcRect.mHeight > image->mHeight)
        return nullptr;
    if (!BeginDraw() || !PrepareTextures(image))
        return nullptr;
    image->mDrawn = true;
    SetBlendMode(drawMode);
    SetLinearFilter(mD3DDevice, linear);
    return static_cast<TextureData*>(image->mTextureData);
}

void D3DInterface::Blt(Image* image, float x, float y, const Rect& srcRect, const Color& color, int drawMode,
                       bool linear)
{
    TextureData* data = PrepareSource(image, srcRect, drawMode, linear);
    if (!data)
        return;
    const uint32_t packed = color.ToInt();
    ForEachPiece(data, srcRect, [&](int w, int h, plat::DDSurface* surface, float u1, float v1, float u2, float v2,
                                    int dx, int dy) {
        const float left = x + float(dx) - 0.5f, top = y + float(dy) - 0.5f;
        const plat::D3DTLVertex v[4] = {
            Vertex(left, top, packed, u1, v1),
            Vertex(left, top + float(h), packed, u1, v2),
            Vertex(left + float(w), top, packed, u2, v1),
            Vertex(left + float(w), top + float(h), packed, u2, v2),
        };
        SetTexture(mD3DDevice, surface, "SetTexture gTexture");
        Draw(mD3DDevice, plat::D3DPT_TRIANGLESTRIP, v, 4, "DrawPrimitive (Tri) 1");
    });
}

void D3DInterface::BltTransformed(Image* image, const Rect* clip, const Color& color, int drawMode,
                                  const Rect& srcRect, const Matrix3& matrix, bool linear, float x, float y,
                                  bool center)
{
    TextureData* data = PrepareSource(image, srcRect, drawMode, linear);
    if (!data)
        return;
    const uint32_t packed = color.ToInt();
    const float originX = center ? -float(srcRect.mWidth) / 2.0f : 0.0f;
    const float originY = center ? -float(srcRect.mHeight) / 2.0f : 0.0f;
    const float bias = center ? 0.0f : 0.5f;
    ForEachPiece(data, srcRect, [&](int w, int h, plat::DDSurface* surface, float u1, float v1, float u2, float v2,
                                    int dx, int dy) {
        const float lx = originX + float(dx), ly = originY + float(dy);
        auto corner = [&](float px, float py, float u, float v) {
            FPoint p;
            p.mX = px;
            p.mY = py;
            const FPoint t = matrix.TransformPoint(p);
            return Vertex(t.mX + x - bias, t.mY + y - bias, packed, u, v);
        };
        const plat::D3DTLVertex topLeft = corner(lx, ly, u1, v1);
        const plat::D3DTLVertex bottomLeft = corner(lx, ly + float(h), u1, v2);
        const plat::D3DTLVertex topRight = corner(lx + float(w), ly, u2, v1);
        const plat::D3DTLVertex bottomRight = corner(lx + float(w), ly + float(h), u2, v2);
        // The piece's texture serves the strip and the clipped fan alike.
        SetTexture(mD3DDevice, surface, "SetTexture gTexture");
        if (!clip || (InsideClip(topLeft, *clip) && InsideClip(bottomLeft, *clip) && InsideClip(topRight, *clip) &&
                      InsideClip(bottomRight, *clip))) {
            const plat::D3DTLVertex v[4] = {topLeft, bottomLeft, topRight, bottomRight};
            Draw(mD3DDevice, plat::D3DPT_TRIANGLESTRIP, v, 4, "DrawPrimitive (Tri) 3");
        } else {
            D3DVertexList polygon;
            polygon.push_back(topLeft);
            polygon.push_back(bottomLeft);
            polygon.push_back(bottomRight);
            polygon.push_back(topRight);
            ClipAndDrawPolygon(mD3DDevice, polygon, *clip);
        }
    });
}

void D3DInterface::BltTranslated(Image* image, float x, float y, const Rect& srcRect, const Rect& clip,
                                 const Color& color, int drawMode)
{
    Matrix3 m;
    m.Translate(x, y);
    BltTransformed(image, &clip, color, drawMode, srcRect, m, true, 0.0f, 0.0f, false);
}

void D3DInterface::BltMirrored(Image* image, float x, float y, const Rect& srcRect, const Color& color,
                               int drawMode, bool linear)
{
    Matrix3 m;
    m.Translate(-float(srcRect.mWidth), 0.0f);
    m.Scale(-1.0f, 1.0f);
    m.Translate(x, y);
    BltTransformed(image, nullptr, color, drawMode, srcRect, m, linear, 0.0f, 0.0f, false);
}

void D3DInterface::BltStretched(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                const Color& color, int drawMode, bool nearest, bool mirror)
{
    if (srcRect.mWidth <= 0 || srcRect.mHeight <= 0)
        return;
    const float sx = float(destRect.mWidth) / float(srcRect.mWidth);
    const float sy = float(destRect.mHeight) / float(srcRect.mHeight);
    Matrix3 m;
    if (mirror)
        m.Translate(-float(srcRect.mWidth), 0.0f);
    m.Scale(mirror ? -sx : sx, sy);
    m.Translate(float(destRect.mX), float(destRect.mY));
    BltTransformed(image, &clip, color, drawMode, srcRect, m, !nearest, 0.0f, 0.0f, false);
}

void D3DInterface::BltRotated(Image* image, float x, float y, const Rect& clip, const Color& color,
                              int drawMode, double angle, float centerX, float centerY, const Rect& srcRect)
{
    Matrix3 m;
    m.Translate(-centerX, -centerY);
    m.Rotate(float(angle));
    m.Translate(x + centerX, y + centerY);
    BltTransformed(image, &clip, color, drawMode, srcRect, m, true, 0.0f, 0.0f, false);
}

void D3DInterface::BltTriangles(const TriVertex (*vertices)[3], int numTriangles, const Color& color,
                                int drawMode, Image* image, float tx, float ty, bool linear)
{
    if (!image || numTriangles <= 0 || image->mWidth <= 0 || image->mHeight <= 0)
        return;
    TextureData* data = PrepareSource(image, Rect(0, 0, image->mWidth, image->mHeight), drawMode, linear);
    if (!data)
        return;
    const uint32_t packed = color.ToInt();
    auto vertex = [&](const TriVertex& t) {
        return Vertex(t.mX + tx, t.mY + ty, t.mColor ? t.mColor : packed, t.mU * data->mMaxTotalU,
                      t.mV * data->mMaxTotalV);
    };

    if (data->mMaxTotalU <= 1.0f && data->mMaxTotalV <= 1.0f) {
        SetTexture(mD3DDevice, data->mTextures[0].mTexture, "SetTexture gTexture");
        constexpr int kBatch = 100;
        plat::D3DTLVertex batch[kBatch * 3];
        for (int first = 0; first < numTriangles; first += kBatch) {
            const int n = std::min(kBatch, numTriangles - first);
            for (int i = 0; i < n; ++i)
                for (int k = 0; k < 3; ++k)
                    batch[i * 3 + k] = vertex(vertices[first + i][k]);
            Draw(mD3DDevice, plat::D3DPT_TRIANGLELIST, batch, size_t(n) * 3, "DrawPrimitive (TriList)");
        }
        return;
    }

    // Each triangle is cut into the parts that lie on each piece it touches.
    const TexturePiece& firstPiece = data->mTextures[0];
    for (int t = 0; t < numTriangles; ++t) {
        plat::D3DTLVertex corners[3];
        float minU = 0, maxU = 0, minV = 0, maxV = 0;
        for (int k = 0; k < 3; ++k) {
            corners[k] = vertex(vertices[t][k]);
            if (k == 0 || corners[k].tu < minU)
                minU = corners[k].tu;
            if (k == 0 || corners[k].tu > maxU)
                maxU = corners[k].tu;
            if (k == 0 || corners[k].tv < minV)
                minV = corners[k].tv;
            if (k == 0 || corners[k].tv > maxV)
                maxV = corners[k].tv;
        }
        const int firstCol = std::max(int(std::floor(minU)), 0);
        const int lastCol = std::min(int(std::ceil(maxU)) - 1, data->mTexColumns - 1);
        const int firstRow = std::max(int(std::floor(minV)), 0);
        const int lastRow = std::min(int(std::ceil(maxV)) - 1, data->mTexRows - 1);
        for (int row = firstRow; row <= lastRow; ++row) {
            for (int col = firstCol; col <= lastCol; ++col) {
                const TexturePiece& piece = data->mTextures[size_t(row) * size_t(data->mTexColumns) + size_t(col)];
                const float scaleU =
                    col == data->mTexColumns - 1 ? float(firstPiece.mWidth) / float(piece.mWidth) : 1.0f;
                const float scaleV =
                    row == data->mTexRows - 1 ? float(firstPiece.mHeight) / float(piece.mHeight) : 1.0f;
                D3DVertexList a, b;
                for (const plat::D3DTLVertex& c : corners) {
                    plat::D3DTLVertex local = c;
                    local.tu = (c.tu - float(col)) * scaleU;
                    local.tv = (c.tv - float(row)) * scaleV;
                    a.push_back(local);
                }
                ClipPolygon(CLIP_U, 0.0f, true, a, b);
                ClipPolygon(CLIP_V, 0.0f, true, b, a);
                ClipPolygon(CLIP_U, 1.0f, false, a, b);
                ClipPolygon(CLIP_V, 1.0f, false, b, a);
                if (a.size() < 3)
                    continue;
                SetTexture(mD3DDevice, piece.mTexture, "SetTexture gTexture");
                Draw(mD3DDevice, plat::D3DPT_TRIANGLEFAN, a.data(), a.size(), "DrawPrimitive (Tri) 4");
            }
        }
    }
}

void D3DInterface::FillRect(const Rect& rect, const Color& color, int drawMode)
{
    if (!BeginDraw())
        return;
    SetBlendMode(drawMode);
    const uint32_t packed = color.ToInt();
    const float left = float(rect.mX) - 0.5f, top = float(rect.mY) - 0.5f;
    const float right = float(rect.mX + rect.mWidth) - 0.5f, bottom = float(rect.mY + rect.mHeight) - 0.5f;
    const plat::D3DTLVertex v[4] = {Vertex(left, top, packed), Vertex(left, bottom, packed),
                                    Vertex(right, top, packed), Vertex(right, bottom, packed)};
    SetTexture(mD3DDevice, nullptr, "SetTexture NULL");
    Draw(mD3DDevice, plat::D3DPT_TRIANGLESTRIP, v, 4, "DrawPrimitive (Rect)");
}

void D3DInterface::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (!BeginDraw())
        return;
    SetBlendMode(drawMode);
    const uint32_t packed = color.ToInt();
    // The short last segment covers the end pixel, which a strip leaves out.
    const plat::D3DTLVertex v[3] = {Vertex(float(x1), float(y1), packed), Vertex(float(x2), float(y2), packed),
                                    Vertex(float(x2 + 0.5), float(y2 + 0.5), packed)};
    SetTexture(mD3DDevice, nullptr, "SetTexture NULL");
    Draw(mD3DDevice, plat::D3DPT_LINESTRIP, v, 3, "DrawPrimitive (Line)");
}

void D3DInterface::FillPolygon(const Point* vertices, int numVertices, const Rect* clip, const Color& color,
                               int drawMode, int tx, int ty)
{
    if (!vertices || numVertices < 3 || !BeginDraw())
        return;
    SetBlendMode(drawMode);
    SetTexture(mD3DDevice, nullptr, "SetTexture NULL");
    const uint32_t packed = color.ToInt();
    D3DVertexList polygon;
    for (int i = 0; i < numVertices; ++i)
        polygon.push_back(Vertex(float(vertices[i].mX + tx), float(vertices[i].mY + ty), packed));
    if (!clip)
        Draw(mD3DDevice, plat::D3DPT_TRIANGLEFAN, polygon.data(), polygon.size(), "DrawPrimitive (FillPoly)");
    else
        ClipAndDrawPolygon(mD3DDevice, polygon, *clip);
}

} // namespace Zelk
