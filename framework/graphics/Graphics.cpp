#include "framework/graphics/Graphics.h"

#include "framework/app/StringUtil.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/Display3DTarget.h"
#include "framework/graphics/Image.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>

namespace Zelk {

bool (*gIsDisplay3DTarget)(const Image*) = nullptr;

Image* Graphics::EmptyImage()
{
    static Image empty;
    return &empty;
}

Graphics::Graphics(Image* destImage)
{
    mDestImage = destImage ? destImage : EmptyImage();
    mClipRect = Rect(0, 0, mDestImage->mWidth, mDestImage->mHeight);
    mIs3D = IsDisplay3DTarget(destImage);
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other) {}

Graphics::~Graphics() = default;

Graphics* Graphics::CreateCopy()
{
    return new Graphics(*this);
}

void Graphics::PushState()
{
    mStateStack.push_back(static_cast<const GraphicsState&>(*this));
}

void Graphics::PopState()
{
    if (mStateStack.empty())
        return;
    static_cast<GraphicsState&>(*this) = mStateStack.back();
    mStateStack.pop_back();
}

void Graphics::Translate(int dx, int dy)
{
    mTransX += float(dx);
    mTransY += float(dy);
}

void Graphics::ClipRect(int x, int y, int w, int h)
{
    mClipRect = mClipRect.Intersection(Rect(DestX(x), DestY(y), w, h));
}

void Graphics::FillRect(int x, int y, int w, int h)
{
    if (mColor.mAlpha == 0)
        return;
    Rect r = Rect(DestX(x), DestY(y), w, h).Intersection(mClipRect);
    mDestImage->FillRect(r, mColor, mDrawMode);
}

void Graphics::DrawRect(int x, int y, int w, int h)
{
    if (mColor.mAlpha == 0)
        return;
    int64_t dx = DestX(x), dy = DestY(y);
    const Rect& c = mClipRect;
    bool inside = dx >= c.mX && dy >= c.mY && dx + w + 1 <= int64_t(c.mX) + c.mWidth &&
                  dy + h + 1 <= int64_t(c.mY) + c.mHeight;
    if (inside) {
        mDestImage->DrawRect(Rect(int(dx), int(dy), w, h), mColor, mDrawMode);
        return;
    }
    Rect edges[4];
    OutlineEdges(x, y, w, h, edges);
    for (const Rect& edge : edges)
        FillRect(edge);
}

void Graphics::DrawString(const std::wstring& text, int x, int y)
{
    if (mFont)
        mFont->DrawString(this, x, y, text, mColor, mClipRect);
}

void Graphics::DrawImage(Image* image, int x, int y)
{
    if (!image)
        return;
    int dx = DestX(x), dy = DestY(y);
    Rect c = Rect(dx, dy, image->mWidth, image->mHeight).Intersection(mClipRect);
    if (c.mWidth >= 1 && c.mHeight >= 1)
        mDestImage->Blit(image, c.mX, c.mY, Rect(c.mX - dx, c.mY - dy, c.mWidth, c.mHeight), ImageColor(),
                         mDrawMode);
}

bool Graphics::SourceInside(const Image* image, const Rect& src) const
{
    return src.mX >= 0 && src.mY >= 0 && int64_t(src.mX) + src.mWidth <= image->mWidth &&
           int64_t(src.mY) + src.mHeight <= image->mHeight;
}

void Graphics::DrawImageRegion(Image* image, int x, int y, const Rect& src)
{
    if (!image || !SourceInside(image, src))
        return;
    int dx = DestX(x), dy = DestY(y);
    Rect c = Rect(dx, dy, src.mWidth, src.mHeight).Intersection(mClipRect);
    if (c.mWidth >= 1 && c.mHeight >= 1)
        mDestImage->Blit(image, c.mX, c.mY, Rect(src.mX + c.mX - dx, src.mY + c.mY - dy, c.mWidth, c.mHeight),
                         ImageColor(), mDrawMode);
}

namespace {

// A source rectangle from data that reaches outside its image is drawn as
// nothing; say so once.
void ReportBadSource(const Image* image, const Rect& src)
{
    static std::atomic<bool> reported{false};
    if (!reported.exchange(true))
        DebugPrint("Scaled draw skipped: source (%d, %d, %d, %d) outside a %d x %d image\n", src.mX, src.mY,
                   src.mWidth, src.mHeight, image->mWidth, image->mHeight);
}

} // namespace

void Graphics::DrawImageScaled(Image* image, int x, int y, int w, int h)
{
    if (!image)
        return;
    mDestImage->BlitStretched(image, Rect(DestX(x), DestY(y), w, h), Rect(0, 0, image->mWidth, image->mHeight),
                              mClipRect, ImageColor(), mDrawMode, mNearestStretch);
}

void Graphics::DrawImageRegionScaled(Image* image, const Rect& dest, const Rect& src)
{
    DrawImageRegionScaledMirror(image, dest, src, false);
}

void Graphics::DrawImageRegionScaledMirror(Image* image, const Rect& dest, const Rect& src, bool mirror)
{
    if (!image)
        return;
    if (!SourceInside(image, src)) {
        ReportBadSource(image, src);
        return;
    }
    Rect d(DestX(dest.mX), DestY(dest.mY), dest.mWidth, dest.mHeight);
    if (mirror)
        mDestImage->BlitStretchedMirrored(image, d, src, mClipRect, ImageColor(), mDrawMode, mNearestStretch);
    else
        mDestImage->BlitStretched(image, d, src, mClipRect, ImageColor(), mDrawMode, mNearestStretch);
}

namespace {

// The tiles first .. last - 1 of a row of count tiles of the given size that
// starts at base and may show between the local coordinates lo and hi.
struct TileSpan {
    int64_t first, last;
};

TileSpan VisibleTiles(int64_t base, int64_t size, int64_t count, double lo, double hi)
{
    if (count <= 0)
        return TileSpan{0, 0};
    // A pixel of margin on each side covers the rounding of the translation.
    double first = std::floor((lo - 1 - double(base)) / double(size));
    double last = std::floor((hi + 1 - double(base)) / double(size)) + 1;
    TileSpan span;
    span.first = std::max<int64_t>(0, int64_t(std::clamp(first, 0.0, double(count))));
    span.last = std::min<int64_t>(count, int64_t(std::clamp(last, 0.0, double(count))));
    return span;
}

int Saturated(int64_t v)
{
    return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

} // namespace

void Graphics::DrawNineSlice(const Rect& src, const Rect& dest, Image* image)
{
    if (!image || src.mWidth < 1 || src.mHeight < 1)
        return;
    // Sums of positions and sizes are made in 64 bits, and only the tiles that
    // meet the clip rectangle are drawn, so a box of any size costs what it
    // shows.
    const int64_t cw = src.mWidth / 3, ch = src.mHeight / 3;
    const int64_t mw = src.mWidth - 2 * cw, mh = src.mHeight - 2 * ch;
    const int64_t dx = dest.mX, dy = dest.mY, dw = dest.mWidth, dh = dest.mHeight;
    const int64_t sx = src.mX, sy = src.mY;
    auto piece = [image](Graphics& g, int64_t x, int64_t y, int64_t px, int64_t py, int64_t pw, int64_t ph) {
        g.DrawImageRegion(image, Saturated(x), Saturated(y), Rect(int(px), int(py), int(pw), int(ph)));
    };

    piece(*this, dx, dy, sx, sy, cw, ch);
    piece(*this, dx + dw - cw, dy, sx + cw + mw, sy, cw, ch);
    piece(*this, dx, dy + dh - ch, sx, sy + ch + mh, cw, ch);
    piece(*this, dx + dw - cw, dy + dh - ch, sx + cw + mw, sy + ch + mh, cw, ch);

    const int64_t across = (dw - 2 * cw + mw - 1) / mw;
    const int64_t down = (dh - 2 * ch + mh - 1) / mh;
    // The clip of g in this Graphics' own coordinates.
    auto columns = [&](const Graphics& g) {
        double lo = double(g.mClipRect.mX) - g.mTransX;
        return VisibleTiles(dx + cw, mw, across, lo, lo + g.mClipRect.mWidth);
    };
    auto rows = [&](const Graphics& g) {
        double lo = double(g.mClipRect.mY) - g.mTransY;
        return VisibleTiles(dy + ch, mh, down, lo, lo + g.mClipRect.mHeight);
    };
    {
        Graphics g(*this);
        g.ClipRect(Saturated(dx + cw), Saturated(dy), Saturated(dw - 2 * cw), Saturated(dh));
        TileSpan span = columns(g);
        for (int64_t k = span.first; k < span.last; ++k) {
            piece(g, dx + cw + k * mw, dy, sx + cw, sy, mw, ch);
            piece(g, dx + cw + k * mw, dy + dh - ch, sx + cw, sy + ch + mh, mw, ch);
        }
    }
    {
        Graphics g(*this);
        g.ClipRect(Saturated(dx), Saturated(dy + ch), Saturated(dw), Saturated(dh - 2 * ch));
        TileSpan span = rows(g);
        for (int64_t k = span.first; k < span.last; ++k) {
            piece(g, dx, dy + ch + k * mh, sx, sy + ch, cw, mh);
            piece(g, dx + dw - cw, dy + ch + k * mh, sx + cw + mw, sy + ch, cw, mh);
        }
    }
    {
        Graphics g(*this);
        g.ClipRect(Saturated(dx + cw), Saturated(dy + ch), Saturated(dw - 2 * cw), Saturated(dh - 2 * ch));
        TileSpan cols = columns(g), rws = rows(g);
        for (int64_t i = cols.first; i < cols.last; ++i)
            for (int64_t j = rws.first; j < rws.last; ++j)
                piece(g, dx + cw + i * mw, dy + ch + j * mh, sx + cw, sy + ch, mw, mh);
    }
}

void Graphics::DrawNineSliceImage(const Rect& dest, Image* image)
{
    if (image)
        DrawNineSlice(Rect(0, 0, image->mWidth, image->mHeight), dest, image);
}

} // namespace Zelk
