#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/DrawMode.h"
#include "framework/graphics/Matrix3.h"
#include "framework/graphics/Point.h"
#include "framework/graphics/Rect.h"

#include <string>

namespace Zelk {

class AnimInfo;

// The abstract image: size, sprite-sheet layout, animation description and
// the drawing operations Graphics calls after it has translated and clipped
// the coordinates. The base versions draw nothing (outlines and spans become
// fills).
class Image {
public:
    Image();
    // Size, layout and a deep copy of the animation; no path, not drawn.
    Image(const Image& other);
    Image& operator=(const Image&) = delete;
    virtual ~Image();

    // Only surface images draw polygons; false means nothing was drawn.
    virtual bool FillPolygon(const Point* vertices, int numVertices, const Rect* clip, const Color& color,
                             int drawMode, int tx, int ty);
    virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
    // Outline covering (width + 1) x (height + 1) pixels, by four fills.
    virtual void DrawRect(const Rect& rect, const Color& color, int drawMode);
    virtual void ClearRect(const Rect& rect);
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
    virtual void DrawAntiAliasedLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
    // One FillRect per span, in order.
    virtual void FillSpans(const Span* spans, int count, const Color& color, int drawMode);
    virtual void FillCoverageSpans(const Span* spans, int count, const Color& color, int drawMode,
                                   const uint8_t* coverage, int coverX, int coverY, int coverWidth, int coverHeight);
    virtual void Blit(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
    virtual void BlitFloat(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                           int drawMode);
    virtual void BlitRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                             int drawMode, double angle, float centerX, float centerY);
    virtual void BlitStretched(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                               const Color& color, int drawMode, bool fastStretch);
    virtual void BlitMatrix(Image* src, float x, float y, const Matrix3& matrix, const Rect& clip, const Color& color,
                            int drawMode, const Rect& srcRect, bool smooth);
    virtual void BlitTriangles(Image* src, const TriVertex (*vertices)[3], int numTriangles, const Rect& clip,
                               const Color& color, int drawMode, float tx, float ty, bool smooth);
    virtual void BlitMirrored(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
    virtual void BlitStretchedMirrored(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                       const Color& color, int drawMode, bool fastStretch);

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    // Rows, columns and a deep copy of the other image's animation.
    void CopyLayoutFrom(const Image* other);

    bool mDrawn = false;
    std::string mFilePath;
    int mWidth = 0;
    int mHeight = 0;
    int mNumRows = 1;
    int mNumCols = 1;
    AnimInfo* mAnimInfo = nullptr;
};

} // namespace Zelk
