// Matrix and triangle blits of memory images, through the triangle rasteriser.
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/TriangleRasterizer.h"

namespace Zelk {

namespace {

int DestFormatCode(const MemoryImage* image)
{
    return image->mAlphaKindForced && !image->mHasAlpha && !image->mHasTransparency ? TRIFORMAT_0888
                                                                                     : TRIFORMAT_8888;
}

} // namespace

void RasterizeMatrixBlit(MemoryImage* src, float x, float y, const Matrix3& matrix, const Rect& clip,
                         const Color& color, const Rect& srcRect, bool smooth, void* dest, int pitch, int formatCode)
{
    float w = float(srcRect.mWidth), h = float(srcRect.mHeight);
    float sw = src->mWidth > 0 ? float(src->mWidth) : 1.0f, sh = src->mHeight > 0 ? float(src->mHeight) : 1.0f;
    const float corners[4][4] = {
        {-w / 2, -h / 2, srcRect.mX / sw, srcRect.mY / sh},
        {w / 2, -h / 2, (srcRect.mX + srcRect.mWidth) / sw, srcRect.mY / sh},
        {-w / 2, h / 2, srcRect.mX / sw, (srcRect.mY + srcRect.mHeight) / sh},
        {w / 2, h / 2, (srcRect.mX + srcRect.mWidth) / sw, (srcRect.mY + srcRect.mHeight) / sh},
    };
    TriVertex quad[4];
    for (int i = 0; i < 4; ++i) {
        float in[3] = {corners[i][0], corners[i][1], 1.0f}, out[3];
        matrix.TransformVector(in, out);
        quad[i].mX = out[0] + x - 0.5f;
        quad[i].mY = out[1] + y - 0.5f;
        quad[i].mU = corners[i][2];
        quad[i].mV = corners[i][3];
        quad[i].mColor = 0xFFFFFFFF;
    }
    RasterizeTriangles(quad, 4, src, color, clip, dest, pitch, formatCode, smooth, false);
}

void RasterizeTriangleBlit(MemoryImage* src, const TriVertex (*vertices)[3], int numTriangles, const Rect& clip,
                           const Color& color, float tx, float ty, bool smooth, void* dest, int pitch, int formatCode)
{
    for (int t = 0; t < numTriangles; ++t) {
        TriVertex tri[3];
        bool vertexColors = false;
        for (int k = 0; k < 3; ++k) {
            tri[k] = vertices[t][k];
            tri[k].mX += tx;
            tri[k].mY += ty;
            vertexColors = vertexColors || tri[k].mColor != 0;
        }
        RasterizeTriangles(tri, 3, src, color, clip, dest, pitch, formatCode, smooth, vertexColors);
    }
}

void MemoryImage::BlitMatrix(Image* image, float x, float y, const Matrix3& matrix, const Rect& clip,
                             const Color& color, int, const Rect& srcRect, bool smooth)
{
    MemoryImage* src = BlitSource(image);
    uint32_t* dst = src ? GetBits() : nullptr;
    if (!dst)
        return;
    RasterizeMatrixBlit(src, x, y, matrix, clip.Intersection(Rect(0, 0, mWidth, mHeight)), color, srcRect, smooth,
                        dst, mWidth * 4, DestFormatCode(this));
    MarkBitsChanged();
}

void MemoryImage::BlitTriangles(Image* image, const TriVertex (*vertices)[3], int numTriangles, const Rect& clip,
                                const Color& color, int, float tx, float ty, bool smooth)
{
    MemoryImage* src = BlitSource(image);
    uint32_t* dst = src ? GetBits() : nullptr;
    if (!dst)
        return;
    RasterizeTriangleBlit(src, vertices, numTriangles, clip.Intersection(Rect(0, 0, mWidth, mHeight)), color, tx, ty,
                          smooth, dst, mWidth * 4, DestFormatCode(this));
    MarkBitsChanged();
}

} // namespace Zelk
