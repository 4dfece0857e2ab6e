#include "framework/graphics/Image.h"

#include "framework/graphics/AnimInfo.h"

namespace Zelk {

Image::Image() = default;

Image::Image(const Image& other)
    : mWidth(other.mWidth), mHeight(other.mHeight), mNumRows(other.mNumRows), mNumCols(other.mNumCols),
      mAnimInfo(other.mAnimInfo ? new AnimInfo(*other.mAnimInfo) : nullptr)
{
}

Image::~Image()
{
    delete mAnimInfo;
}

void Image::CopyLayoutFrom(const Image* other)
{
    mNumRows = other->mNumRows;
    mNumCols = other->mNumCols;
    AnimInfo* copy = other->mAnimInfo ? new AnimInfo(*other->mAnimInfo) : nullptr;
    delete mAnimInfo;
    mAnimInfo = copy;
}

bool Image::FillPolygon(const Point*, int, const Rect*, const Color&, int, int, int)
{
    return false;
}

void Image::FillRect(const Rect&, const Color&, int) {}

void Image::DrawRect(const Rect& r, const Color& color, int drawMode)
{
    Rect edges[4];
    OutlineEdges(r.mX, r.mY, r.mWidth, r.mHeight, edges);
    for (const Rect& edge : edges)
        FillRect(edge, color, drawMode);
}

void Image::ClearRect(const Rect&) {}
void Image::DrawLine(double, double, double, double, const Color&, int) {}
void Image::DrawAntiAliasedLine(double, double, double, double, const Color&, int) {}

void Image::FillSpans(const Span* spans, int count, const Color& color, int drawMode)
{
    for (int i = 0; i < count; ++i)
        FillRect(Rect(spans[i].mX, spans[i].mY, spans[i].mWidth, 1), color, drawMode);
}

void Image::FillCoverageSpans(const Span*, int, const Color&, int, const uint8_t*, int, int, int, int) {}
void Image::Blit(Image*, int, int, const Rect&, const Color&, int) {}
void Image::BlitFloat(Image*, float, float, const Rect&, const Rect&, const Color&, int) {}
void Image::BlitRotated(Image*, float, float, const Rect&, const Rect&, const Color&, int, double, float, float) {}
void Image::BlitStretched(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}
void Image::BlitMatrix(Image*, float, float, const Matrix3&, const Rect&, const Color&, int, const Rect&, bool) {}
void Image::BlitTriangles(Image*, const TriVertex (*)[3], int, const Rect&, const Color&, int, float, float, bool) {}
void Image::BlitMirrored(Image*, int, int, const Rect&, const Color&, int) {}
void Image::BlitStretchedMirrored(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}

} // namespace Zelk
