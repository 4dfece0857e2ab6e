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

void MemoryImage::BlitMatrix(Image* image, float x, float y, const Matrix3& matrix, const Rect& clip,
                             const Color& color, int, const Rect& srcRect, bool smooth)
{
    MemoryImage* src = BlitSource(image);
    uint32_t* dst = src ? GetBits() : nullptr;
    if (!dst)
        return;
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
    RasterizeTriangles(quad, 4, src, color, clip.Intersection(Rect(0, 0, mWidth, mHeight)), dst, mWidth * 4,
                       DestFormatCode(this), smooth, false);
    MarkBitsChanged();
}

void MemoryImage::BlitTriangles(Image* image, const TriVertex (*vertices)[3], int numTriangles, const Rect& clip,
                                const Color& color, int, float tx, float ty, bool smooth)
{
    MemoryImage* src = BlitSource(image);
    uint32_t* dst = src ? GetBits() : nullptr;
    if (!dst)
        return;
    Rect dclip = clip.Intersection(Rect(0, 0, mWidth, mHeight));
    for (int t = 0; t < numTriangles; ++t) {
        TriVertex tri[3];
        bool vertexColors = false;
        for (int k = 0; k < 3; ++k) {
            tri[k] = vertices[t][k];
            tri[k].mX += tx;
            tri[k].mY += ty;
            vertexColors = vertexColors || tri[k].mColor != 0;
        }
        RasterizeTriangles(tri, 3, src, color, dclip, dst, mWidth * 4, DestFormatCode(this), smooth, vertexColors);
    }
    MarkBitsChanged();
}

} // namespace Zelk
